#!/bin/bash
# Takes the README's screenshot: the calculator under Xvfb and openbox, with
# the Japanese face installed, after EXECUTE on X = 1.96.
#   tests/ui/screenshot.sh build/default/ui/normcalc docs/screenshot.png
set -euo pipefail
program=$(realpath "$1")
output=$(realpath -m "$2")
. "$(dirname "$0")/xsession.sh"
xs_start

"$program" &
pid=$!
window=$(xs_window Form1)
xdotool windowactivate --sync "$window" >/dev/null
xdotool key Tab Tab                   # past MODE (X->P) into Edit1
xdotool type --delay 20 1.96
xdotool key Tab Tab space             # EXECUTE
sleep 0.5                             # let the window repaint

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
