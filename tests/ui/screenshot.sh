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
xs_screenshot_after_execute "$window" "$output" 0.5
xs_wait_exit "$pid"
echo "wrote $output"
