# Helpers for running Windows programs under wine in a private X session.
# Source from bash after tests/ui/xsession.sh; call ws_start first. It starts
# the X session, one persistent wine server for the prefix given as $1 (made
# on first use, the slow part), and stops both again at exit.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

ws_start() {
  xs_start
  export WINEPREFIX=$1 WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  "$wineserver" -p
  trap ws_stop EXIT
  # No .NET or HTML engine is needed; without these overrides a new prefix
  # may stop to offer their download in a dialog nobody answers.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1 || true
  # Windows finds the face "ＭＳ Ｐゴシック" itself or a Japanese face of its
  # own; wine has neither and on its own picks a fixed-pitch one. The
  # proportional IPA P Gothic (fonts-ipafont-gothic) stands in, as it does
  # for the Qt window.
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' \
    /d IPAPGothic /f >/dev/null 2>&1
}

ws_stop() {
  "$wineserver" -k 2>/dev/null || true
  xs_stop
}

# A path of this machine as wine's Z: drive names it.
ws_windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
