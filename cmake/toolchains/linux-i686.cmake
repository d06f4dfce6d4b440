# 32-bit x86 Linux with the host's multilib g++. Nothing asks for SSE, so double
# arithmetic runs on the x87 unit with its excess precision: the core must give
# the same bits regardless.
#
# Debian's g++-multilib conflicts with the aarch64 cross compiler, so the 32-bit
# libraries come from lib32stdc++-12-dev, lib32gcc-12-dev and libc6-dev-i386,
# and the C library's headers that g++-multilib would have linked into
# /usr/include/asm etc. are found after everything else in the x86-64 folder;
# they are the same for both word sizes.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -idirafter /usr/include/x86_64-linux-gnu")
set(CMAKE_CXX_FLAGS_INIT "-m32 -idirafter /usr/include/x86_64-linux-gnu")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")

# Some kernels are built without support for 32-bit programs. There the tests
# run under qemu-i386, whose x87 unit is emulated with its full 80-bit
# registers, so the excess precision the core must survive is still there.
set(normcalc_i686_probe "${CMAKE_BINARY_DIR}/CMakeFiles/i686-probe")
file(WRITE "${normcalc_i686_probe}.c" "int main(void) { return 0; }\n")
execute_process(COMMAND gcc -m32 "${normcalc_i686_probe}.c" -o "${normcalc_i686_probe}"
                RESULT_VARIABLE normcalc_i686_built OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND "${normcalc_i686_probe}" RESULT_VARIABLE normcalc_i686_ran
                OUTPUT_QUIET ERROR_QUIET)
if(normcalc_i686_built EQUAL 0 AND NOT normcalc_i686_ran EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-i386-static)
endif()
