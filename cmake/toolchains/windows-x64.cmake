# 64-bit Windows with Debian's MinGW-w64 cross compiler, run under wine64.
# The -posix variant: the default win32 threads model has no std::mutex, which
# GoogleTest needs. Linking -static keeps the MinGW runtime DLLs out of wine's
# search path.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

include(${CMAKE_CURRENT_LIST_DIR}/target-root.cmake)
normcalc_target_root(/usr/x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/host-headers.cmake)
