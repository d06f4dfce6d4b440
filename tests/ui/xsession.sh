# Helpers for running a program in a private X session: Xvfb on a free display
# with openbox managing the windows. Source this file from bash; call
# xs_start first and xs_stop (or let the EXIT trap do it) last.
#
# Every wait is bounded by xs_wait_limit tenths of a second, a guard against a
# hung X server rather than a limit on the program's speed.
#
# xs_dpi (default 96) is the screen's density: the server's own and the
# Xft.dpi resource, which is what desktops set and what Qt scales by.

xs_wait_limit=${xs_wait_limit:-300}
xs_dpi=${xs_dpi:-96}
xs_xvfb_pid=""
xs_wm_pid=""
xs_bus_pid=""
xs_dir=""

xs_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls a command every tenth of a second until it succeeds.
xs_wait_for() {
  local what=$1
  shift
  local tries=0
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt "$xs_wait_limit" ]; then
      [ -n "$xs_dir" ] && tail -n 5 "$xs_dir"/*.log >&2
      xs_fail "gave up waiting for $what"
    fi
    sleep 0.1
  done
}

# Starts Xvfb (and openbox unless the first argument is "nowm") and exports
# DISPLAY for everything started afterwards.
xs_start() {
  xs_dir=$(mktemp -d)
  trap xs_stop EXIT
  # -displayfd: the server picks a free display number and writes it to fd 3.
  # -noreset: the server would otherwise reset when its last client leaves
  # (the first probe below), refusing connections for a moment.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -dpi "$xs_dpi" -noreset \
    3>"$xs_dir/display" 2>"$xs_dir/xvfb.log" &
  xs_xvfb_pid=$!
  xs_wait_for "Xvfb to choose a display" test -s "$xs_dir/display"
  export DISPLAY=":$(head -n 1 "$xs_dir/display")"
  xs_wait_for "Xvfb on $DISPLAY" xdpyinfo
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$xs_dpi"
  if [ "${1:-}" != nowm ]; then
    openbox --sm-disable >"$xs_dir/openbox.log" 2>&1 &
    xs_wm_pid=$!
    xs_wait_for "openbox" xs_wm_ready
  fi
}

xs_wm_ready() {
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

# Starts a session bus for the programs started afterwards and turns Qt's
# accessibility on, so that the program appears on the accessibility bus as it
# does for a user running a screen reader. The bus starts the accessibility
# bus and its registry itself when the program first asks for them.
xs_start_accessibility() {
  local bus
  bus=$(dbus-launch --sh-syntax) || xs_fail "dbus-launch"
  eval "$bus"
  xs_bus_pid=$DBUS_SESSION_BUS_PID
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
}

xs_stop() {
  # Every step may find its process gone already; none of that is a failure.
  if [ -n "$xs_bus_pid" ]; then
    kill "$xs_bus_pid" 2>/dev/null || true
    unset DBUS_SESSION_BUS_ADDRESS DBUS_SESSION_BUS_PID QT_LINUX_ACCESSIBILITY_ALWAYS_ON \
      QT_ACCESSIBILITY
  fi
  if [ -n "$xs_wm_pid" ]; then kill "$xs_wm_pid" 2>/dev/null && wait "$xs_wm_pid" 2>/dev/null || true; fi
  if [ -n "$xs_xvfb_pid" ]; then kill "$xs_xvfb_pid" 2>/dev/null && wait "$xs_xvfb_pid" 2>/dev/null || true; fi
  if [ -n "$xs_dir" ]; then rm -rf "$xs_dir"; fi
  xs_wm_pid="" xs_xvfb_pid="" xs_bus_pid="" xs_dir=""
}

# Prints the id of the visible window whose name is exactly $1, waiting for it.
xs_window() {
  xs_wait_for "a window named '$1'" xdotool search --onlyvisible --name "^$1\$"
  xdotool search --onlyvisible --name "^$1\$" | head -n 1
}

# Waits for process $1, a child of this shell, to end and sets xs_code to its
# exit code.
xs_wait_exit() {
  local pid=$1 tries=0
  while kill -0 "$pid" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -le "$xs_wait_limit" ] || xs_fail "process $pid did not end"
    sleep 0.1
  done
  xs_code=0
  wait "$pid" || xs_code=$?
}

# The screenshot every window's documents show: in window $1 (focus on EXIT,
# X->P selected), types 1.96 into the X box and presses EXECUTE, waits $3
# seconds for the repaint, saves the window with its frame to $2, and presses
# EXIT.
xs_screenshot_after_execute() {
  local window=$1 output=$2 settle=$3 inner x y width height e
  xdotool windowactivate --sync "$window" >/dev/null
  xdotool key Tab Tab                   # past MODE (X->P) into Edit1
  xdotool type --delay 20 1.96
  xdotool key Tab Tab space             # EXECUTE
  sleep "$settle"

  inner=$(xwininfo -id "$window")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$inner")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$inner")
  width=$(sed -n 's/^ *Width: *//p' <<<"$inner")
  height=$(sed -n 's/^ *Height: *//p' <<<"$inner")
  read -r -a e <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
  import -window root \
    -crop "$((width + e[0] + e[1]))x$((height + e[2] + e[3]))+$((x - e[0]))+$((y - e[2]))" \
    +repage "$output"

  xdotool key Tab Return                # EXIT
}
