#!/bin/bash
# The calculator as a user runs it: the built program in an X session (Xvfb
# with openbox managing the windows), driven from the keyboard and the mouse,
# closed in each of the ways a user closes it. Every close must end the
# process with exit code 0.
#   run_as_user_test.sh path/to/normcalc
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$0")/xsession.sh"
xs_start

started_pid=""
start() {
  "$@" 2>>"$xs_dir/program.log" &
  started_pid=$!
  window=$(xs_window Form1)
  xdotool windowactivate --sync "$window" >/dev/null
}

expect_exit_zero() {
  xs_wait_exit "$started_pid"
  [ "$xs_code" -eq 0 ] || { cat "$xs_dir/program.log" >&2; xs_fail "$1: exit code $xs_code"; }
  echo "ok: $1 ends the program with exit code 0"
}

# The text of the focused edit box, through the clipboard.
clipboard_filled() {
  [ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]
}
focused_text() {
  xdotool key ctrl+a ctrl+c
  xs_wait_for "the clipboard" clipboard_filled
  xclip -o -selection clipboard
}

no_error_box() {
  ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

# --- From the keyboard: P->X on 0.475, read X, close with EXIT ----------------
start "$program"
xdotool key Tab Down Tab Tab          # MODE: P->X, then past Edit1 into Edit2
xdotool type --delay 20 0.475
xdotool key Tab space                 # EXECUTE
xdotool key shift+Tab shift+Tab       # back to Edit1
x=$(focused_text)
[ "$x" = "1.95997183815153" ] || xs_fail "X for P = 0.475 reads '$x'"
no_error_box normcalc || xs_fail "an error box opened"
echo "ok: P = 0.475 gives X = $x"
xdotool key Tab Tab Return            # Enter on EXECUTE repeats it
kill -0 "$started_pid" || xs_fail "the program ended on Enter at EXECUTE"
xdotool key Tab Return                # Tab wraps to EXIT; Enter on it
expect_exit_zero "EXIT"

# --- An error box, and the window usable afterwards ---------------------------
start "$program"
xdotool key Tab Tab
xdotool type --delay 20 2e4932
xdotool key Tab Tab space
box=$(xs_window normcalc)
xdotool windowactivate --sync "$box" >/dev/null
xdotool key Return                    # OK
xs_wait_for "the error box to close" no_error_box normcalc
kill -0 "$started_pid" || xs_fail "the program ended after the error box"
echo "ok: the error box for 2e4932 opens and closes, the program goes on"
xdotool windowactivate --sync "$window" >/dev/null
xdotool key alt+F4
expect_exit_zero "Alt+F4"

# --- The close box of the title bar -------------------------------------------
start "$program"
inner=$(xwininfo -id "$window")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$inner")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$inner")
width=$(sed -n 's/^ *Width: *//p' <<<"$inner")
read -r -a extents <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
right=$((x + width + extents[1]))   # extents: left, right, top, bottom
top=$((y - extents[2]))
# openbox puts the close box last at the right of the caption bar.
xdotool mousemove $((right - 11)) $((top + extents[2] / 2)) click 1
expect_exit_zero "the close box"

# --- The window menu's Close (openbox: Alt+Space, then C) -------------------
start "$program"
xdotool key alt+space c
expect_exit_zero "the window menu's Close"

# --- Close from outside, as a taskbar asks (_NET_CLOSE_WINDOW) ---------------
start "$program"
wmctrl -i -c "$window"
expect_exit_zero "a taskbar's Close"

# --- A copy named CALC.EXE: the title "Calc", the caption still "Form1" -------
cp "$program" "$xs_dir/CALC.EXE"
start "$xs_dir/CALC.EXE"
xprop -id "$window" WM_CLASS | grep -q '"Calc"' || xs_fail "WM_CLASS: $(xprop -id "$window" WM_CLASS)"
[ "$(xdotool getwindowname "$window")" = "Form1" ] || xs_fail "the caption is not Form1"
echo "ok: CALC.EXE is titled Calc with the caption Form1"
xdotool key Return                    # Enter right after start-up: EXIT
expect_exit_zero "Enter at start-up"
