#!/bin/bash
# Takes the Windows window's screenshot: normcalc.exe under wine, Xvfb and
# openbox, after EXECUTE on X = 1.96 (the Qt window's screenshot shows the same).
#   tests/win32/screenshot.sh build/windows/win32/normcalc.exe docs/screenshot-windows.png
set -euo pipefail
program=$(realpath "$1")
output=$(realpath -m "$2")
root=$(realpath "$(dirname "$0")/../..")
. "$root/tests/ui/xsession.sh"
. "$root/tests/win32/wine_session.sh"
ws_start "$root/build/windows/wineprefix"

"$wine" "$program" &
pid=$!
window=$(xs_window Form1)
xs_screenshot_after_execute "$window" "$output" 1
xs_wait_exit "$pid"
echo "wrote $output"
