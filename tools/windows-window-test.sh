#!/bin/bash
# The native Windows calculator as a user gets it, proved under wine on this
# machine:
#  1. cmake --preset windows builds normcalc.exe, its installer, its .zip and
#     the window driver (tests/win32/window_driver.cpp);
#  2. normcalc.exe needs no DLL beside it, the .zip holds it alone;
#  3. the driver runs normcalc.exe in an X session (Xvfb with openbox) and
#     drives it as a user would, over its table of cases, then starts it on
#     a screen of 120 pixels per inch, where the whole window must be the
#     96-dpi one scaled;
#  4. the window manager's close request (openbox, as a user's click on the
#     close box gives it) ends the program with exit code 0;
#  5. the installer installs silently, the program starts from Program Files,
#     and the uninstaller leaves nothing behind.
# One wine prefix (build/windows/wineprefix) and one wine server serve every
# step; the first run creates the prefix, which takes the longest.
#   tools/windows-window-test.sh            everything
#   tools/windows-window-test.sh keyboard   only the driver's named groups
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds() { date +%s; }
start=$(seconds)
cmake --preset windows >/dev/null
cmake --build --preset windows
built=$(seconds)

build=build/windows
exe=$build/win32/normcalc.exe
version=$(sed -n 's/^project(normcalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup=$build/win32/normcalc-$version-windows-x64-setup.exe
zip=$build/win32/normcalc-$version-windows-x64.zip

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# --- One executable: only the system's own DLLs are imported ----------------
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
for dll in $imports; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll) ;;
    *) fail "normcalc.exe imports $dll, which Windows does not bring" ;;
  esac
done
echo "ok: normcalc.exe imports only Windows' own DLLs: $(echo $imports)"
[ "$(unzip -Z1 "$zip")" = normcalc.exe ] || fail "$zip holds more or less than normcalc.exe"
cmp -s <(unzip -p "$zip" normcalc.exe) "$exe" || fail "$zip holds another normcalc.exe"
echo "ok: $(basename "$zip") holds normcalc.exe alone"

# --- The X session and wine --------------------------------------------------
. tests/ui/xsession.sh
. tests/win32/wine_session.sh
ws_start "$root/$build/wineprefix"
prepared=$(seconds)

# --- The driver --------------------------------------------------------------
# The screen's density, which the dpi120 step below sets for a moment; a run
# stopped during that step must not leave the next one at 120.
screen_dpi() {
  if [ "$1" = default ]; then
    "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  fi
}
screen_dpi default
scratch=$build/driver-scratch
rm -rf "$scratch" && mkdir -p "$scratch"
"$wine" "$build/tests/win32/window_driver.exe" "$(ws_windows_path "$exe")" \
  "$(ws_windows_path "$scratch")" "$@" || fail "the window driver found faults (lines FAIL above)"
driven=$(seconds)
[ $# -eq 0 ] || exit 0

# --- A denser screen -----------------------------------------------------------
# 120 pixels per inch (125 %), which wine reads as a program starts.
screen_dpi 120
dense=0
"$wine" "$build/tests/win32/window_driver.exe" "$(ws_windows_path "$exe")" \
  "$(ws_windows_path "$scratch")" dpi120 || dense=$?
screen_dpi default
[ "$dense" -eq 0 ] || fail "at 120 pixels per inch the window is not the 96-dpi one scaled"

# --- The window manager's close ----------------------------------------------
# Wine may make a window's X window afresh while it sets up, so it is named
# by its title rather than by an id found a moment earlier.
wm_close() {
  xs_window Form1 >/dev/null
  xs_wait_for "the window manager to take the close request" wmctrl -c Form1
}
"$wine" "$exe" &
program=$!
wm_close
xs_wait_exit "$program"
[ "$xs_code" -eq 0 ] || fail "closed by the window manager: exit code $xs_code"
echo "ok: closed by the window manager: exit code 0"

# --- Install, start from Program Files, uninstall -----------------------------
programs="$WINEPREFIX/drive_c/Program Files/normcalc"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/normcalc.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\normcalc'
"$wine" "$setup" /S || fail "the installer failed"
[ -f "$programs/normcalc.exe" ] || fail "the installer put no normcalc.exe into Program Files"
cmp -s "$programs/normcalc.exe" "$exe" || fail "the installed normcalc.exe is another file"
[ -f "$shortcut" ] || fail "the installer made no Start-menu entry"
"$wine" reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | grep -q "$version" ||
  fail "the installer registered no uninstall entry"
echo "ok: the installer puts normcalc.exe into Program Files, a Start-menu entry and an uninstall entry"
"$wine" "C:\\Program Files\\normcalc\\normcalc.exe" &
program=$!
wm_close
xs_wait_exit "$program"
[ "$xs_code" -eq 0 ] || fail "the installed program: exit code $xs_code"
echo "ok: the installed program opens its window and closes with exit code 0"
# The uninstaller copies itself away and returns at once; its copy then works.
"$wine" "C:\\Program Files\\normcalc\\uninstall.exe" /S
gone() {
  [ ! -e "$programs" ] && [ ! -e "$shortcut" ] &&
    ! "$wine" reg query "$uninstall_key" >/dev/null 2>&1
}
xs_wait_for "the uninstaller to remove everything" gone
echo "ok: the uninstaller leaves no file, folder, shortcut or registry key behind"
finished=$(seconds)

echo "windows window test: build $((built - start)) s, wine and X $((prepared - built)) s," \
  "driver $((driven - prepared)) s, close/install/uninstall $((finished - driven)) s"
