# SPDX-License-Identifier: MIT
# Cross build for Debian armhf (32-bit ARM, hard float); the tests run under qemu-arm.
set(BRELIX_TRIPLET arm-linux-gnueabihf)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(BRELIX_QEMU_ARCH arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
