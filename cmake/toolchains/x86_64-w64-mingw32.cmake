# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, as g++-mingw-w64-x86-64-posix installs it); the tests run under
# wine. long double is x87 extended precision there, as on x86 Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRELIX_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRELIX_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRELIX_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRELIX_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRELIX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 keeps its loader out of the PATH, in /usr/lib/wine. Only
# the tests need it; windows/CMakeLists.txt refuses to build them without.
find_program(BRELIX_WINE wine64 PATHS /usr/lib/wine)
if(BRELIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BRELIX_WINE})
endif()
