#!/bin/bash
# Start-up of the calculator beside xcalc (Debian's x11-apps, with xfonts-base),
# in one X session, runs alternating: the time from process start until its
# window is mapped, and the peak resident memory (VmHWM) once it is up.
# Prints the medians and the ratios normcalc / xcalc.
#   bench/startup_bench.sh build/bench/ui/normcalc [runs, at least 10]
#
# No window manager runs: the window is mapped as soon as the program maps
# it, with nothing between, and the map is seen as the MapNotify on the root
# window. Goals: mapped no later than xcalc (ratio <= 1.0), peak memory at
# most 32 MB.
set -euo pipefail
program=$(realpath "$1")
runs=${2:-10}
[ "$runs" -ge 10 ] || { echo "at least 10 runs" >&2; exit 2; }
peer=$(command -v xcalc) || { echo "xcalc is missing (x11-apps)" >&2; exit 2; }
. "$(dirname "$0")/../tests/ui/xsession.sh"
xs_start nowm

# xev reports every change among the root window's children, one line each.
coproc watch { exec stdbuf -oL xev -root -event substructure; }
watcher=$watch_PID   # bash unsets watch_PID once the coprocess has ended
sleep 0.5   # xev selects its events before the first program starts

# Discards what the watcher reported about the previous program.
drain() {
  local line
  while IFS= read -r -t 0.3 line <&"${watch[0]}"; do :; done
}

# Starts a program, waits for its first MapNotify and prints
# "<milliseconds to map> <peak resident kB>".
measure() {
  local line start mapped
  drain
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 &
  local pid=$!
  # The read timeout guards against a hung X server only.
  while IFS= read -r -t 30 line <&"${watch[0]}"; do
    [[ $line == MapNotify* ]] && break
  done
  mapped=$EPOCHREALTIME
  [[ $line == MapNotify* ]] || { kill "$pid"; xs_fail "no window from $1"; }
  sleep 0.5   # the first paint, whose memory belongs to the start-up
  local peak
  peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$(( (${mapped/./} - ${start/./}) / 1000 )) $peak"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$xs_dir/normcalc" ; : >"$xs_dir/xcalc"
for ((run = 1; run <= runs; ++run)); do
  measure "$program" >>"$xs_dir/normcalc"
  measure "$peer" >>"$xs_dir/xcalc"
done

kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true

ours_ms=$(cut -d' ' -f1 "$xs_dir/normcalc" | median)
peer_ms=$(cut -d' ' -f1 "$xs_dir/xcalc" | median)
ours_kb=$(cut -d' ' -f2 "$xs_dir/normcalc" | median)
peer_kb=$(cut -d' ' -f2 "$xs_dir/xcalc" | median)
echo "runs: $runs each, alternating, Xvfb $DISPLAY without a window manager"
echo "normcalc runs (ms kB): $(tr '\n' ';' <"$xs_dir/normcalc")"
echo "xcalc    runs (ms kB): $(tr '\n' ';' <"$xs_dir/xcalc")"
awk -v om="$ours_ms" -v pm="$peer_ms" -v ok="$ours_kb" -v pk="$peer_kb" 'BEGIN {
  printf "time to mapped window, median: normcalc %.0f ms, xcalc %.0f ms, ratio %.2f (goal <= 1.0)\n", om, pm, om / pm
  printf "peak resident memory, median:  normcalc %.1f MB, xcalc %.1f MB, ratio %.2f (goal: normcalc <= 32 MB)\n", ok / 1024, pk / 1024, ok / pk
}'
