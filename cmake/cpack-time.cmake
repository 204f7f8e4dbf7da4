# SPDX-License-Identifier: MIT
# Read by cpack before it packs: the time stamp that makes packages
# reproducible, from the last commit or from the copy in a source tarball.
set(BRELIX_DATE_SOURCE_DIR ${CPACK_BRELIX_SOURCE_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/source-date.cmake)
# Only the source configuration copies whole folders; a tarball made with it
# carries the time stamp.
if(DEFINED CPACK_INSTALLED_DIRECTORIES AND DEFINED ENV{SOURCE_DATE_EPOCH})
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/source-date-epoch.cmake)
endif()
# CPack reads the package's Depends from dpkg-shlibdeps, and without it
# would quietly make a package that depends on nothing.
if(CPACK_GENERATOR STREQUAL "DEB")
  cmake_policy(SET CMP0109 NEW) # only an executable file will do
  find_program(shlibdeps dpkg-shlibdeps)
  if(NOT shlibdeps)
    message(FATAL_ERROR "dpkg-shlibdeps is missing, and the package would have no Depends: "
                        "apt-get install dpkg-dev")
  endif()
endif()
