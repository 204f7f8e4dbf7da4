# SPDX-License-Identifier: MIT
# Boost for a cross build: the target has no Boost, but the headers used are
# the same on every architecture, so the build machine's serve. Its
# /usr/include also holds its own libc's headers, which would shadow the
# target's, so the compiler gets a folder holding nothing but a link to boost/.
find_path(BRELIX_BOOST_HOST_INCLUDE boost/multiprecision/cpp_bin_float.hpp NO_CMAKE_FIND_ROOT_PATH)
if(BRELIX_BOOST_HOST_INCLUDE)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/hostboost)
  file(CREATE_LINK ${BRELIX_BOOST_HOST_INCLUDE}/boost ${CMAKE_BINARY_DIR}/hostboost/boost SYMBOLIC)
  set(BRELIX_BOOST_INCLUDE ${CMAKE_BINARY_DIR}/hostboost)
endif()
