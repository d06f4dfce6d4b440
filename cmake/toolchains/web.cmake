# WebAssembly with Debian's emscripten. The build needs NODE_PATH=/usr/share/nodejs
# (the optimiser loads Debian's acorn through it); the presets set it. Programs
# built here run under node: command-line tools and tests reach the host's
# files and standard streams directly (NODERAWFS), byte for byte, and node's
# own fetch is switched off because the generated loader would prefer it to
# reading the module from disk.
set(CMAKE_CROSSCOMPILING_EMULATOR "/usr/bin/node;--no-experimental-fetch"
    CACHE STRING "Runs the built programs")
# Emscripten's platform file calls the processor "x86" unless told otherwise,
# for old projects' sake; the project's checks for x87 code generation must
# not take it for one.
set(EMSCRIPTEN_SYSTEM_PROCESSOR wasm32)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# C++ exceptions are how every failure travels; emscripten turns them off
# unless asked at both steps.
set(CMAKE_CXX_FLAGS_INIT
    "-fexceptions -include ${CMAKE_CURRENT_LIST_DIR}/emscripten-compat.h")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions -sALLOW_MEMORY_GROWTH=1")

include(${CMAKE_CURRENT_LIST_DIR}/host-headers.cmake)
