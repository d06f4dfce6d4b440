#!/bin/sh
# The two ways into normcalc on a Debian 12 machine, as root:
#   tools/dev.sh run    install what is missing, build, start the calculator
#   tools/dev.sh test   install what is missing, build, run every test
set -eu
cd "$(dirname "$0")/.."

case "${1:-}" in
  run)
    sh tools/setup-debian.sh run
    cmake --preset default
    cmake --build --preset default --target normcalc normcalc-cli
    echo "Starting build/default/ui/normcalc; the command-line tool is" \
         "build/default/cli/normcalc-cli."
    exec build/default/ui/normcalc
    ;;
  test)
    sh tools/setup-debian.sh test
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan -j "$(nproc)"
    sh tools/fuzz.sh 20          # every libFuzzer target for 20 s
    sh tools/valgrind-cli.sh     # normcalc-cli under memcheck, edge cases
    sh tools/soak-window.sh      # 10^4 clicks on the window, memory at 10^3 and 10^4
    sh tools/cross-test.sh       # i686, aarch64 (qemu), Windows (wine), WebAssembly (node)
    bash tools/windows-window-test.sh  # normcalc.exe driven under wine, installer, .zip
    sh tools/web-test.sh         # the web page in headless Chromium
    sh tools/test-package.sh  # the .deb, installed and started in a clean Debian root
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
