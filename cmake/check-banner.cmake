# SPDX-License-Identifier: MIT
# Checks that the banner in SOURCE names VERSION, the project's version.
file(STRINGS ${SOURCE} banner REGEX "Brelix [0-9]" LIMIT_COUNT 1)
if(NOT banner MATCHES "Brelix ([0-9][0-9.]*[0-9])")
  message(FATAL_ERROR "no banner in ${SOURCE}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the banner says Brelix ${CMAKE_MATCH_1}, the project is at ${VERSION}")
endif()
