# SPDX-License-Identifier: MIT
# Cross build for Debian i386 (32-bit x86); the tests run under qemu-i386.
set(BRELIX_TRIPLET i686-linux-gnu)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRELIX_QEMU_ARCH i386)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
