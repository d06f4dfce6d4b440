#!/bin/sh
# The long fuzzing campaign: every libFuzzer target towards a goal of
# executions (10^8 by default), at the lowest priority, one target per core,
# in slices so that it can stop at any time and go on later where it stopped.
#
#   tools/fuzz-campaign.sh run      build, then fuzz until every target has
#                                   reached the goal or the deadline passes
#   tools/fuzz-campaign.sh status   executions, exec/s, cov and ft per target
#   tools/fuzz-campaign.sh merge    add what the runs learnt to fuzz/corpus/
#
# Settings (environment):
#   CAMPAIGN_TARGETS  targets to run (default: all of them)
#   CAMPAIGN_JOBS     fuzzers at a time (default 2: keep a shared machine usable)
#   CAMPAIGN_GOAL     executions per target (default 100000000)
#   CAMPAIGN_SLICE    seconds per slice of one target (default 1200)
#   CAMPAIGN_UNTIL    stop by this time, any date(1) form ("14:35", "+2 hours");
#                     a slice running then is interrupted and still counted
#
# The state lives in build/fuzz-campaign/<target>/: the corpus the runs grew,
# the executions so far, one log per slice, and any failing input under
# artifacts/. A slice cut short with the whole campaign (the machine stopped)
# writes no final figures; the next run counts it from its last status line,
# which libFuzzer writes at every new input and pulse, so the count is a
# lower bound. A target with a failing input stops there; the others go on.
# A lane whose own targets are done helps with another that is still open, so
# the last target left gets every core; the lanes then share its corpus, as
# libFuzzer's own parallel jobs do, and take turns with its running total.
# "merge" adds to fuzz/corpus/<target> only the inputs that reach coverage
# the committed corpus lacks (libFuzzer's -merge=1), so the repository stays
# small and CI's 20-second runs start from what the long runs reached.
# To stop early, end the run (or set CAMPAIGN_UNTIL); do not pause a fuzzer
# with SIGSTOP: its per-input alarm runs on the wall clock and reports the
# pause as a timeout of whatever input it was on.
set -eu
cd "$(dirname "$0")/.."

all_targets="read_number write_number extended lookup lookup_equivalence execute cli_lines cli_command_line"
targets=${CAMPAIGN_TARGETS:-$all_targets}
jobs=${CAMPAIGN_JOBS:-2}
goal=${CAMPAIGN_GOAL:-100000000}
slice=${CAMPAIGN_SLICE:-1200}
state=build/fuzz-campaign
fuzzers=build/fuzz/fuzz

if [ -n "${CAMPAIGN_UNTIL:-}" ]; then
  deadline=$(date -d "$CAMPAIGN_UNTIL" +%s)
else
  deadline=
fi

executions() { cat "$state/$1/executions" 2>/dev/null || echo 0; }

dictionary() {
  if [ -f "fuzz/$1.dict" ]; then echo "-dict=fuzz/$1.dict"; fi
}

# The failing inputs a target has saved. An input that only ran slowly is kept
# (slow-unit-*) but is no failure: at the lowest priority on a shared machine
# any input can wait seconds for the CPU.
failures() {
  ls "$state/$1/artifacts/" 2>/dev/null | grep -v '^slow-unit-' || true
}

# Whether target still has work: under the goal, and no failing input found.
open_target() {
  [ "$(executions "$1")" -lt "$goal" ] && [ -z "$(failures "$1")" ]
}

# Runs a command with target's state locked, since two lanes can share it.
locked() {
  lock=$state/$1/lock
  shift
  (
    flock 9
    "$@"
  ) 9>"$lock"
}

# Names target's next slice log and creates it, so that no other lane takes it.
new_log() {
  logs=$state/$1/logs
  name=$logs/slice-$(printf %04d "$(ls "$logs" | wc -l)").log
  : >"$name"
  echo "$name"
}

# Adds the executions of the slice that wrote log to target's total and
# removes the slice's running mark. Call it locked.
count_slice() {
  dir=$state/$1
  done_now=$(sed -n 's/^stat::number_of_executed_units: *//p' "$2" | tail -n 1)
  if [ -z "$done_now" ]; then
    done_now=$(grep -E '^#[0-9]+' "$2" | tail -n 1 | sed 's/^#\([0-9]*\).*/\1/')
  fi
  # The mark goes first: a stop between the two lines then loses the slice
  # rather than counting it twice, and the totals stay lower bounds.
  rm -f "$3"
  # Replaced whole, since another lane may read it without the lock.
  echo $(($(executions "$1") + ${done_now:-0})) >"$dir/executions.new"
  mv "$dir/executions.new" "$dir/executions"
  grep -E '^#[0-9]+' "$2" | tail -n 1 >"$dir/last-status" || true
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$2" | tail -n 1)
  [ -n "$rate" ] || rate=$(sed -n 's/.* exec\/s: \([0-9]*\).*/\1/p' "$dir/last-status")
  echo "$rate" >"$dir/exec-per-sec"
}

# The slices a stopped campaign left uncounted, counted: one running mark per
# lane that was fuzzing the target.
recover() {
  for target in $targets; do
    for running in "$state/$target"/running*; do
      [ -f "$running" ] || continue
      locked "$target" count_slice "$target" "$(cat "$running")" "$running"
      echo "fuzz_$target: an interrupted slice counted; $(executions "$target") executions"
    done
  done
}

# One slice of target on lane: run, then add its executions to the running
# total. Fails once the deadline has passed.
run_slice() {
  target=$1
  lane_id=$2
  seconds=$slice
  if [ -n "$deadline" ]; then
    left=$((deadline - $(date +%s)))
    [ "$left" -gt 0 ] || return 1
    [ "$left" -lt "$seconds" ] && seconds=$left
  fi
  dir=$state/$target
  mkdir -p "$dir/corpus" "$dir/artifacts" "$dir/logs"
  # Another lane on the same target may have just reached the goal, and
  # libFuzzer takes -runs=0 or less to mean no limit at all.
  runs=$((goal - $(executions "$target")))
  [ "$runs" -gt 0 ] || return 0
  log=$(locked "$target" new_log "$target")
  running=$dir/running.$lane_id
  status=0
  echo "$log" >"$running"
  # Without the allocation stacks in reports, the targets that build a parser
  # for every input run twice as fast; rerun a failing input by hand to see them.
  # shellcheck disable=SC2046
  ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0} nice -n 19 "$fuzzers/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -runs="$runs" \
    -artifact_prefix="$dir/artifacts/" $(dictionary "$target") \
    "$dir/corpus" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  locked "$target" count_slice "$target" "$log" "$running"
  if [ "$status" -ne 0 ] && [ -n "$(failures "$target")" ]; then
    echo "fuzz_$target FAILED; see $log and $dir/artifacts/" >&2
  fi
  echo "fuzz_$target: $(executions "$target") executions; $(cat "$dir/last-status")"
}

# The given targets that are still open, a line each.
open_targets() {
  for target; do
    if open_target "$target"; then echo "$target"; fi
  done
}

# One lane per core: its open targets in turn, a slice each; once none of them
# is open, a slice at a time of the first target that still is.
lane() {
  lane_id=$1
  lane_targets=$2
  while :; do
    # shellcheck disable=SC2086
    work=$(open_targets $lane_targets)
    # shellcheck disable=SC2086
    [ -n "$work" ] || work=$(open_targets $targets | head -n 1)
    [ -n "$work" ] || return 0
    for target in $work; do
      # Another lane may have closed it meanwhile, with a failing input.
      open_target "$target" || continue
      run_slice "$target" "$lane_id" || return 0
    done
  done
}

report() {
  printf '%-20s %12s %9s %6s %6s %s\n' target executions exec/s cov ft found
  for target in $targets; do
    dir=$state/$target
    last=$(cat "$dir/last-status" 2>/dev/null || true)
    cov=$(echo "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    found=$(failures "$target" | wc -l)
    printf '%-20s %12s %9s %6s %6s %s\n' "$target" "$(executions "$target")" \
      "$(cat "$dir/exec-per-sec" 2>/dev/null || echo -)" "${cov:--}" "${ft:--}" "$found"
  done
}

case ${1:-run} in
  run)
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j"$jobs"
    recover
    i=0
    pids=
    while [ "$i" -lt "$jobs" ]; do
      lane_targets=
      j=0
      for target in $targets; do
        [ $((j % jobs)) -eq "$i" ] && lane_targets="$lane_targets $target"
        j=$((j + 1))
      done
      lane "$i" "$lane_targets" &
      pids="$pids $!"
      i=$((i + 1))
    done
    # shellcheck disable=SC2086
    wait $pids
    report
    ;;
  status)
    report
    ;;
  merge)
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j"$jobs"
    for target in $targets; do
      [ -d "$state/$target/corpus" ] || continue
      mkdir -p "fuzz/corpus/$target"
      before=$(ls "fuzz/corpus/$target" | wc -l)
      nice -n 19 "$fuzzers/fuzz_$target" -merge=1 "fuzz/corpus/$target" "$state/$target/corpus" \
        >"$state/$target/merge.log" 2>&1
      echo "fuzz/corpus/$target: $before -> $(ls "fuzz/corpus/$target" | wc -l) inputs"
    done
    ;;
  *)
    sed -n '2,26p' "$0" >&2
    exit 2
    ;;
esac
