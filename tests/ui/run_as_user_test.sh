#!/bin/bash
# The calculator as a user runs it: the built program in an X session (Xvfb
# with openbox managing the windows), driven from the keyboard and the mouse,
# closed in each of the ways a user closes it. Every close must end the
# process with exit code 0. Then the window at 96, 120 and 144 dpi, and the
# whole calculator by keyboard alone as a screen reader sees it (AT-SPI).
#   run_as_user_test.sh path/to/normcalc
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xsession.sh"
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

# --- The window at 96, 120 and 144 dpi -----------------------------------------
# The whole window scales with the screen, its outer size and place included
# (docs/high-dpi.md): on screen it covers what it covers at 96 dpi, scaled by
# dpi/96. Qt scales by the desktop's factor; with Qt's scaling turned off the
# window applies the same factor itself. Each row: dpi, what Qt is told, the
# outer frame's place and size. Rounding between Qt's units and the screen's
# allows 2 pixels.
frame_of() {  # x y width height of the window's frame, decorations included
  local inner x y width height e
  inner=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$inner")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$inner")
  width=$(sed -n 's/^ *Width: *//p' <<<"$inner")
  height=$(sed -n 's/^ *Height: *//p' <<<"$inner")
  read -r -a e <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
  echo "$((x - e[0])) $((y - e[2])) $((width + e[0] + e[1])) $((height + e[2] + e[3]))"
}
near() { [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ]; }
# Waits, as xs_wait_for does, until "${@:3}" holds for window $2, and on
# giving up says where its frame was first and last seen: on a loaded
# machine the window manager can take seconds to settle a new window.
wait_for_frame() {
  local what=$1 window=$2 first tries=0
  shift 2
  first=$(frame_of "$window")
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -le "$xs_wait_limit" ] ||
      xs_fail "gave up waiting for $what (x y width height first $first, last $(frame_of "$window"))"
    sleep 0.1
  done
}
# Whether window $1's frame is near x $2, y $3, width $4, height $5. The
# window manager frames a window a moment after it maps, and the program then
# fits its size to the frame, so callers wait for this rather than look once.
frame_is() {
  local fx fy fw fh
  read -r fx fy fw fh <<<"$(frame_of "$1")"
  near "$fx" "$2" && near "$fy" "$3" && near "$fw" "$4" && near "$fh" "$5"
}
probe() { /usr/bin/python3 "$here/atspi_probe.py" "$started_pid" "$@"; }

for row in "96 1 218 192 397 231" "120 1 273 240 496 289" "144 1 327 288 596 347" \
  "120 0 273 240 496 289"; do
  read -r dpi qt_scaling ex ey ew eh <<<"$row"
  xs_stop
  xs_dpi=$dpi xs_start
  xs_start_accessibility
  QT_ENABLE_HIGHDPI_SCALING=$qt_scaling start "$program"
  wait_for_frame "the frame at $ex,$ey ${ew}x$eh" "$window" frame_is "$window" "$ex" "$ey" "$ew" "$eh"
  echo "ok: at $dpi dpi (Qt scaling $qt_scaling) the frame is at $(frame_of "$window")"
  probe controls
  [ -n "${NORMCALC_SCREENSHOTS:-}" ] && import -window root "$NORMCALC_SCREENSHOTS/window-$dpi-$qt_scaling.png"
  xdotool key Return                  # EXIT
  expect_exit_zero "Enter at start-up at $dpi dpi"
done

# --- The whole calculator by keyboard alone, as a screen reader hears it ------
xs_stop
xs_start
xs_start_accessibility
start "$program"
probe focus "push button" EXIT
xdotool key Tab
probe focus "radio button" "X→P"
xdotool key Down
probe focus "radio button" "P→X"
xdotool key Up
probe focus "radio button" "X→P"
xdotool key Tab
probe focus text "X="
xdotool type --delay 20 1
xdotool key Tab
probe focus text "P="
xdotool key Tab
probe focus "push button" EXECUTE
xdotool key space
probe text "P=" 0.341344279839592

# Enter with Shift, Ctrl or Alt clicks neither button; the program runs on
# and the P box stays empty. A plain Enter, the keypad's too, clicks.
xdotool key shift+Tab ctrl+a BackSpace Tab
probe focus "push button" EXECUTE
xdotool key shift+Return ctrl+Return alt+Return shift+KP_Enter ctrl+KP_Enter alt+KP_Enter
xdotool key Tab                       # to EXIT: the keys before it have been handled
probe focus "push button" EXIT
xdotool key shift+Return ctrl+Return alt+Return shift+KP_Enter ctrl+KP_Enter alt+KP_Enter
xdotool key shift+Tab
probe focus "push button" EXECUTE
kill -0 "$started_pid" || xs_fail "Enter with a modifier on EXIT ended the program"
probe text "P=" ""
echo "ok: Shift, Ctrl and Alt with Return or the keypad's Enter click nothing"
xdotool key KP_Enter
probe text "P=" 0.341344279839592
echo "ok: the keypad's Enter clicks EXECUTE"

# Both error boxes, read out, closed from the keyboard; the focus returns.
centre_of_frame() {
  local fx fy fw fh
  read -r fx fy fw fh <<<"$(frame_of "$1")"
  echo "$((fx + fw / 2)) $((fy + fh / 2))"
}
centred() {  # window $1's frame centred on the 1024 x 768 screen
  local cx cy
  read -r cx cy <<<"$(centre_of_frame "$1")"
  near "$cx" 512 && near "$cy" 384
}
for row in "2e4932|浮動小数点数のオーバーフロー.|Return" "+NAN|不正な浮動小数点数演算命令.|Escape"; do
  IFS='|' read -r typed message close <<<"$row"
  xdotool key shift+Tab shift+Tab ctrl+a
  probe focus text "X="
  xdotool type --delay 20 "$typed"
  xdotool key Tab Tab
  probe focus "push button" EXECUTE
  xdotool key Return
  probe alert normcalc "$message"
  box=$(xs_window normcalc)
  wait_for_frame "the box's frame centred" "$box" centred "$box"
  echo "ok: the box's frame is centred on the screen ($(centre_of_frame "$box"))"
  xdotool key "$close"
  xs_wait_for "the error box to close" no_error_box normcalc
  probe focus "push button" EXECUTE
  probe text "P=" 0.341344279839592
done
xdotool key Tab
probe focus "push button" EXIT
xdotool key Return
expect_exit_zero "EXIT after both error boxes, by keyboard alone"

# --- An executable named .hidden: an empty title, so an empty caption ---------
cp "$program" "$xs_dir/.hidden"
start "$xs_dir/.hidden"
xdotool key Tab Tab
xdotool type --delay 20 +NAN
xdotool key Tab Tab Return
probe alert "" "不正な浮動小数点数演算命令."
box=$(xdotool getactivewindow)
# The window manager shows _NET_WM_NAME when there is one, else WM_NAME.
for property in WM_NAME _NET_WM_NAME; do
  xprop -id "$box" "$property" | grep -Eq '(= ("")?|not found\.)$' ||
    xs_fail "the box's title: $(xprop -id "$box" "$property")"
done
echo "ok: the box of the program named .hidden has an empty title"
xdotool key Return
probe focus "push button" EXECUTE
xdotool key Tab Return
expect_exit_zero "the program named .hidden"
