#!/bin/sh
# Installs the Debian 12 packages that normcalc needs and that are not there yet.
#   tools/setup-debian.sh run    what building and starting the calculator needs
#   tools/setup-debian.sh test   that, and what the whole test suite needs
set -eu

run_packages="cmake g++ ninja-build pkg-config python3 qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  fonts-ipafont-gothic libgtest-dev libgmock-dev libbenchmark-dev libboost-dev
  libboost-math-dev libfast-float-dev libcli11-dev"
test_packages="xvfb xauth openbox xdotool x11-utils locales
  desktop-file-utils appstream man-db dpkg-dev debootstrap
  xclip wmctrl x11-apps xfonts-base imagemagick
  dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0"

# The fuzz targets, valgrind, and the cross builds with the emulators that run them.
test_packages="$test_packages clang libclang-rt-14-dev valgrind googletest g++-aarch64-linux-gnu
  qemu-user-static g++-mingw-w64-x86-64-posix wine64 lib32stdc++-12-dev lib32gcc-12-dev
  libc6-dev-i386"
# The native Windows window: its installer (makensis) and the check of its .zip.
test_packages="$test_packages nsis unzip"
# The web page: emscripten, the font subsetter, and the browser that tests it.
test_packages="$test_packages emscripten nodejs python3-fonttools python3-brotli chromium
  chromium-driver python3-selenium"

case "${1:-}" in
  run) wanted=$run_packages ;;
  test) wanted="$run_packages $test_packages" ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *" installed") ;;
    *) missing="$missing $package" ;;
  esac
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
