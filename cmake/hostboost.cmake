# SPDX-License-Identifier: MIT
# Boost for a cross build: the target has no Boost, but the headers used are
# the same on every architecture, so the build machine's serve. Its
# /usr/include also holds its own libc's headers, which would shadow the
# target's, so Boost is found in a folder holding nothing but a link to
# boost/. Emscripten's platform searches no system folders, so they are named.
find_path(BRELIX_BOOST_HOST_INCLUDE boost/version.hpp PATHS /usr/local/include /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(BRELIX_BOOST_HOST_INCLUDE)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/hostboost)
  file(CREATE_LINK ${BRELIX_BOOST_HOST_INCLUDE}/boost ${CMAKE_BINARY_DIR}/hostboost/boost SYMBOLIC)
  set(Boost_INCLUDE_DIR ${CMAKE_BINARY_DIR}/hostboost CACHE PATH "Boost's headers" FORCE)
  find_package(Boost)
endif()
