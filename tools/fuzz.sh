#!/bin/sh
# Builds the libFuzzer targets (fuzz preset, clang) and runs each one for a
# bounded time, starting from the seed corpus in fuzz/corpus/<target>.
#   tools/fuzz.sh [seconds-per-target]      default 20, what CI runs
#   FUZZ_TARGETS="read_number lookup" tools/fuzz.sh 900   a long run of some
# Inputs found along the way go to build/fuzz/corpus/<target> (kept between
# runs); a failing input is saved as build/fuzz/artifacts/<target>-crash-*
# and the script stops with the fuzzer's report. tools/fuzz-campaign.sh runs
# the long campaign and merges what it learns into fuzz/corpus/.
set -eu
cd "$(dirname "$0")/.."

seconds=${1:-20}
targets=${FUZZ_TARGETS:-"read_number write_number extended lookup lookup_equivalence execute cli_lines cli_command_line"}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/artifacts build/fuzz/logs
for target in $targets; do
  corpus=build/fuzz/corpus/$target
  log=build/fuzz/logs/$target.log
  mkdir -p "$corpus"
  dict=
  if [ -f "fuzz/$target.dict" ]; then dict="-dict=fuzz/$target.dict"; fi
  echo "fuzz_$target: ${seconds}s"
  if ! nice -n 19 "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" \
      -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$target-" $dict \
      "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz_$target failed; input saved under build/fuzz/artifacts/" >&2
    exit 1
  fi
  # The last status line carries the coverage (cov: edges, ft: features).
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E 'stat::number_of_executed_units' "$log"
done
