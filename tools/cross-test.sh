#!/bin/sh
# Builds the core, normcalc-cli and their tests for other platforms, runs the
# tests there (ctest), and checks that normcalc-cli prints the same bytes on
# each platform as on this x86-64 machine for the same 4 x 20000 input lines
# (and cdf and ppf on two of them, and the z-table).
#   tools/cross-test.sh                       i686, aarch64, Windows and WebAssembly
#   tools/cross-test.sh linux-aarch64 ...     the named presets only
# i686 runs natively (under qemu-i386 on a kernel without 32-bit support);
# aarch64 runs under qemu-aarch64-static, Windows under
# wine64 and WebAssembly under node (see cmake/toolchains/). The reference
# output comes from the asan build of normcalc-cli, built here when it is missing.
set -eu
cd "$(dirname "$0")/.."

presets=${*:-"linux-i686 linux-aarch64 windows-x64 wasm"}
lines=20000
wineserver=/usr/lib/wine/wineserver

seconds() { date +%s; }

# The same input for every platform: numbers of every size and shape for the
# two conversions and the reader, and bit patterns for write.
inputs=build/cross-inputs
mkdir -p "$inputs"
awk -v n="$lines" 'BEGIN {
  srand(20240601)
  for (i = 0; i < n; i++) {
    r = rand()
    if (r < 0.6) printf "%.*f\n", 1 + int(rand() * 17), rand() * 4.2 - 0.1
    else if (r < 0.8) printf "%.*e\n", int(rand() * 19), rand() * 10, int(rand() * 40) - 30
    else printf "%d.%de%d\n", int(rand() * 100), int(rand() * 1e9), int(rand() * 12) - 8
  }
}' >"$inputs/x2p"
awk -v n="$lines" 'BEGIN {
  srand(20240602)
  for (i = 0; i < n; i++) printf "%.*f\n", 1 + int(rand() * 17), rand() * 0.52 - 0.01
}' >"$inputs/p2x"
awk -v n="$lines" 'BEGIN {
  srand(20240603)
  for (i = 0; i < n; i++) {
    r = rand()
    if (r < 0.5) printf "%.*e\n", int(rand() * 25), rand() * 10, int(rand() * 660) - 340
    else if (r < 0.8) printf "%d%d%de%d\n", int(rand() * 1e9), int(rand() * 1e9), int(rand() * 1e9), int(rand() * 9900) - 4950
    else printf "0.%d%d\n", int(rand() * 1e9), int(rand() * 1e9)
  }
}' >"$inputs/read"
awk -v n="$lines" 'BEGIN {
  srand(20240604)
  for (i = 0; i < n; i++) printf "0x%04X%04X%04X%04X\n", int(rand() * 65536), int(rand() * 65536), int(rand() * 65536), int(rand() * 65536)
}' >"$inputs/write"

if [ ! -x build/asan/cli/normcalc-cli ]; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan --target normcalc-cli
fi
for command in x2p p2x read write; do
  build/asan/cli/normcalc-cli "$command" <"$inputs/$command" >"$inputs/$command.x86-64" || true
done
# The statistics conventions on the same numbers, and the printed z-table.
build/asan/cli/normcalc-cli cdf <"$inputs/x2p" >"$inputs/cdf.x86-64" || true
build/asan/cli/normcalc-cli ppf <"$inputs/p2x" >"$inputs/ppf.x86-64" || true
build/asan/cli/normcalc-cli table --format csv >"$inputs/table.x86-64"

failed=""
for preset in $presets; do
  start=$(seconds)
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  built=$(seconds)

  cli=build/$preset/cli/normcalc-cli
  emulator=""
  case $preset in
    linux-aarch64) emulator=/usr/bin/qemu-aarch64-static ;;
    linux-i686)
      # As the toolchain decides: natively where the kernel runs 32-bit
      # programs, under qemu-i386 where it does not.
      "$cli" --version >/dev/null 2>&1 || emulator=/usr/bin/qemu-i386-static
      ;;
    wasm)
      cli=$cli.js
      emulator="/usr/bin/node --no-experimental-fetch"
      ;;
    windows-x64)
      cli=$cli.exe
      emulator=/usr/lib/wine/wine64
      # One persistent wine server for the whole run, so that each test
      # program does not pay wine's start-up; stopped again at the end.
      WINEPREFIX=$PWD/build/windows-x64/wineprefix
      WINEDEBUG=-all
      export WINEPREFIX WINEDEBUG
      mkdir -p "$WINEPREFIX"
      "$wineserver" -p
      trap '"$wineserver" -k 2>/dev/null || true' EXIT
      /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
      ;;
  esac

  status=0
  # Under an emulator (wine, seen in a full run) a test program now and then
  # fails to start at all: it ends at once with no output. The tests are
  # deterministic, so a second and third attempt forgive only that; a real
  # failure fails every time.
  repeat=""
  [ -n "$emulator" ] && repeat="--repeat until-pass:3"
  # shellcheck disable=SC2086
  ctest --preset "$preset" -j "$(nproc)" $repeat || status=1
  tested=$(seconds)

  for command in x2p p2x read write; do
    $emulator "$cli" "$command" <"$inputs/$command" >"$inputs/$command.$preset" || true
    if ! cmp -s "$inputs/$command.x86-64" "$inputs/$command.$preset"; then
      echo "$preset: normcalc-cli $command prints other bytes than on x86-64:" >&2
      diff "$inputs/$command.x86-64" "$inputs/$command.$preset" | head -n 10 >&2
      status=1
    fi
  done
  $emulator "$cli" cdf <"$inputs/x2p" >"$inputs/cdf.$preset" || true
  $emulator "$cli" ppf <"$inputs/p2x" >"$inputs/ppf.$preset" || true
  $emulator "$cli" table --format csv >"$inputs/table.$preset" || true
  for output in cdf ppf table; do
    if ! cmp -s "$inputs/$output.x86-64" "$inputs/$output.$preset"; then
      echo "$preset: normcalc-cli $output prints other bytes than on x86-64:" >&2
      diff "$inputs/$output.x86-64" "$inputs/$output.$preset" | head -n 10 >&2
      status=1
    fi
  done
  compared=$(seconds)

  if [ "$preset" = windows-x64 ]; then
    "$wineserver" -k 2>/dev/null || true
    trap - EXIT
  fi
  echo "$preset: build $((built - start)) s, ctest $((tested - built)) s," \
       "same-bytes check $((compared - tested)) s"
  [ "$status" -eq 0 ] || failed="$failed $preset"
done

if [ -n "$failed" ]; then
  echo "cross-test failed on:$failed" >&2
  exit 1
fi
echo "cross-test passed on: $presets"
