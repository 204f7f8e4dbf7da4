# SPDX-License-Identifier: MIT
# The web build: Debian's Emscripten toolchain, for a build machine whose
# /usr/bin/node may be newer than Debian's. The tests run on node itself,
# as Emscripten's toolchain sets it; emcmake would add a flag that newer
# node refuses. Emscripten's JavaScript tools, which run when it links, find
# Debian's modules for them only through NODE_PATH.
find_program(BRELIX_EMCC emcc)
if(NOT BRELIX_EMCC)
  message(FATAL_ERROR "emcc is missing: install emscripten")
endif()
get_filename_component(emscripten ${BRELIX_EMCC} REALPATH)
get_filename_component(emscripten ${emscripten} DIRECTORY)
include(${emscripten}/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
