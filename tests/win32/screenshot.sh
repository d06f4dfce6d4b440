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
xdotool windowactivate --sync "$window" >/dev/null
xdotool key Tab Tab                   # past MODE (X->P) into Edit1
xdotool type --delay 20 1.96
xdotool key Tab Tab space             # EXECUTE
sleep 1                               # let the window repaint

inner=$(xwininfo -id "$window")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$inner")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$inner")
width=$(sed -n 's/^ *Width: *//p' <<<"$inner")
height=$(sed -n 's/^ *Height: *//p' <<<"$inner")
read -r -a e <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
import -window root -crop "$((width + e[0] + e[1]))x$((height + e[2] + e[3]))+$((x - e[0]))+$((y - e[2]))" \
  +repage "$output"

xdotool key Tab Return                # EXIT
xs_wait_exit "$pid"
echo "wrote $output"
