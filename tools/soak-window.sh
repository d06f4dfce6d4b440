#!/bin/sh
# The window soak (tests/soak/window_soak.cpp): 10^4 EXECUTE clicks on the real
# window with random texts, error boxes closed, every box checked, resident
# memory printed at 10^3 and 10^4 clicks. Built without sanitizers (their
# quarantine would hide a flat memory curve), run on Qt's offscreen platform
# and then on a real X server under Xvfb.
#   tools/soak-window.sh [clicks]
set -eu
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target window_soak
soak=build/default/tests/soak/window_soak
export LC_ALL=C
log=build/default/tests/soak/window_soak.log
for platform in offscreen xcb; do
  echo "$platform:"
  status=0
  if [ "$platform" = xcb ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a "$soak" "$@" >"$log" 2>&1 || status=$?
  else
    QT_QPA_PLATFORM=offscreen "$soak" "$@" >"$log" 2>&1 || status=$?
  fi
  grep -v -e 'propagateSizeHints' -e XDG_RUNTIME_DIR "$log" || true
  [ "$status" -eq 0 ] || { echo "window soak failed on $platform" >&2; exit 1; }
done
