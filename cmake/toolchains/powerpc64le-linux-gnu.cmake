# SPDX-License-Identifier: MIT
# Cross build for Debian ppc64el (64-bit POWER, little-endian); the tests run under qemu-ppc64le.
set(BRELIX_TRIPLET powerpc64le-linux-gnu)
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(BRELIX_QEMU_ARCH ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
