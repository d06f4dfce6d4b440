#!/bin/sh
# normcalc-cli under valgrind's memcheck over the edge-case inputs: every
# command, texts from the command line and lines from standard input, the
# failing lines (overflow, NaN, unparsable VALUE) among them. Any memory error
# or definite leak fails the run. The tool is built without sanitizers, in
# build/valgrind, with only what it needs.
#   tools/valgrind-cli.sh
set -eu
cd "$(dirname "$0")/.."

build=build/valgrind
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORMCALC_BUILD_UI=OFF \
  -DNORMCALC_BUILD_TESTS=OFF -DNORMCALC_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target normcalc-cli

# The reader's edge cases are the seeds of its fuzz target, one text a file.
lines=$build/edge-lines
: >"$lines"
for file in fuzz/corpus/read_number/*; do
  tr '\n' ' ' <"$file" >>"$lines"
  echo >>"$lines"
done
printf '%s\n' 0.475 0.25 0.5 1 0.0018 -2 0.000001 0x7FF8000000000000 0xFFF0000000000000 \
  0x0000000000000001 0x7FEFFFFFFFFFFFFF nan 1e999 0x12 >>"$lines"

memcheck() {
  # 99 marks a valgrind finding; the tool's own status (1 when a line failed,
  # as the overflow and NaN lines do) is not the question here.
  status=0
  valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
    "$build/cli/normcalc-cli" "$@" >/dev/null 2>"$build/valgrind.log" <"$lines" || status=$?
  if [ "$status" -eq 99 ] || grep -q '^==[0-9]*==' "$build/valgrind.log"; then
    cat "$build/valgrind.log" >&2
    echo "valgrind found a problem in: normcalc-cli $*" >&2
    exit 1
  fi
}

for command in x2p p2x cdf sf two-sided ppf read write; do
  memcheck "$command"
done
for command in x2p p2x cdf ppf write; do
  memcheck "$command" --decimal-mark ,
done
memcheck x2p --strict
memcheck sf --field 2 --delimiter " " --append --header
memcheck table --digits 4
memcheck table --format csv --decimal-mark ,
memcheck table --format markdown
memcheck x2p -- 1 +NAN 2e4932 -INF "" abc
memcheck p2x -- 0.475 2e4932 -NAN
memcheck write -- 0x7FF8000000000000 1e999 -0
memcheck --help
memcheck --version
memcheck --no-such-option
memcheck x2p --decimal-mark 5
echo "valgrind: normcalc-cli clean on $(wc -l <"$lines") edge-case lines x 15 runs and 10 other runs"
