# 64-bit Arm Linux with Debian's cross compiler. The programs are linked
# statically so that qemu-aarch64-static runs them without an Arm C library
# installed; there is no binfmt handler on the build machines, so CMake and
# ctest call the emulator explicitly.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static)

include(${CMAKE_CURRENT_LIST_DIR}/target-root.cmake)
normcalc_target_root(/usr/aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/host-headers.cmake)
