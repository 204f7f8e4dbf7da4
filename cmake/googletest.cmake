# SPDX-License-Identifier: MIT
# GoogleTest for the tests: the one installed for the target, or else built
# here from the sources that Debian's libgtest-dev ships, which define
# GTest::gtest_main. That happens in a cross build, where only the build
# machine has one, and with libc++, since the installed one is built against
# libstdc++ and would not link.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("#include <ciso646>
#ifdef _LIBCPP_VERSION
#error libc++
#endif
int main() { return 0; }" BRELIX_LIBSTDCXX_LIKE)
if(BRELIX_LIBSTDCXX_LIKE)
  find_package(GTest QUIET)
endif()
if(NOT GTest_FOUND)
  set(BRELIX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built when the target has no GoogleTest")
  if(EXISTS ${BRELIX_GTEST_SOURCE}/CMakeLists.txt)
    set(BUILD_GMOCK OFF)
    set(INSTALL_GTEST OFF)
    add_subdirectory(${BRELIX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Its own flags only: our warnings are for our code. Unoptimised and
    # without debug information it builds in a third of the time, which six
    # cross builds pay each; the tests it runs take no longer.
    set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "-O0;-g0")
  endif()
endif()
# A build without GoogleTest, as a distributor's that leaves out test-only
# dependencies, still runs every test that needs none.
if(NOT TARGET GTest::gtest_main)
  message(WARNING "The unit tests are left out: there is no GoogleTest for the target and no sources in "
                  "${BRELIX_GTEST_SOURCE} (install libgtest-dev). The other tests still run.")
endif()
