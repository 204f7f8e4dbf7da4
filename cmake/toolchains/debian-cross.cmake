# SPDX-License-Identifier: MIT
# The part every cross toolchain shares: Debian's cross compiler for
# BRELIX_TRIPLET, the target's libraries under /usr/<triplet>, and qemu-user
# to run the programs built, so that ctest runs every test under emulation.
# Each <triplet>.cmake beside this file sets the names and includes it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${BRELIX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${BRELIX_TRIPLET}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${BRELIX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(BRELIX_QEMU qemu-${BRELIX_QEMU_ARCH})
if(NOT BRELIX_QEMU)
  message(FATAL_ERROR "qemu-${BRELIX_QEMU_ARCH} is missing: install qemu-user")
endif()
# -L points qemu at the target's dynamic loader and libraries.
set(CMAKE_CROSSCOMPILING_EMULATOR ${BRELIX_QEMU} -L /usr/${BRELIX_TRIPLET})

# cpack checks that dpkg-shlibdeps can see the target's libraries.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/../cross-depends.cmake)
