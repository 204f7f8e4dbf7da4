# SPDX-License-Identifier: MIT
# The hardening flags of every build but the web one.

# Debian's hardening: what dpkg-buildflags adds to a package build, each
# flag an argument of its own, as build log checkers read them. A
# distributor who passes their own flags turns these off.
# _FORTIFY_SOURCE needs optimisation, and the fuzzer brings its own checks.
option(BRELIX_HARDENING "Add the project's own hardening flags; OFF leaves hardening to CXXFLAGS and LDFLAGS" ON)
if(BRELIX_HARDENING AND NOT BRELIX_FUZZ)
  foreach(target brelixcore brelix)
    target_compile_options(${target} PRIVATE -fstack-protector-strong)
    target_compile_definitions(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  endforeach()
  if(WIN32)
    # mingw-w64 keeps the stack protector and the checked functions of
    # _FORTIFY_SOURCE in libssp, which the compiler driver links in when it
    # links with the flag, wherever the core goes. ASLR and DEP
    # (DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT) are ld's defaults for PE
    # since binutils 2.36; .ci/windows checks that they are set.
    target_link_options(brelixcore INTERFACE -fstack-protector-strong)
  else()
    target_link_options(brelix PRIVATE -Wl,-z,relro -Wl,-z,now)
  endif()
endif()
