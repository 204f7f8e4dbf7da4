# SPDX-License-Identifier: MIT
# Cross build for Debian arm64 (64-bit ARM); the tests run under qemu-aarch64.
set(BRELIX_TRIPLET aarch64-linux-gnu)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(BRELIX_QEMU_ARCH aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
