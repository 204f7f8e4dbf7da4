# SPDX-License-Identifier: MIT
# Cross build for Debian riscv64 (64-bit RISC-V); the tests run under qemu-riscv64.
set(BRELIX_TRIPLET riscv64-linux-gnu)
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(BRELIX_QEMU_ARCH riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
