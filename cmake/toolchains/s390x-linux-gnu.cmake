# SPDX-License-Identifier: MIT
# Cross build for Debian s390x (64-bit IBM Z); the tests run under qemu-s390x.
set(BRELIX_TRIPLET s390x-linux-gnu)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(BRELIX_QEMU_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
