#!/bin/sh
# Proves the Debian package on a machine that has nothing else: builds it from
# a Release build, checks the installed files with their validators, installs
# the .deb with apt-get into a clean Debian 12 root (debootstrap, minbase),
# runs normcalc-cli there, and starts the installed calculator under Xvfb in
# that root until its window "Form1" is mapped.
#
#   sh tools/test-package.sh        as root (debootstrap, mount, chroot)
#
# The clean root is made once and kept as build/dist-cache/bookworm-minbase.tar;
# each run unpacks a fresh copy. Delete the tarball to make a new root.
set -eu
cd "$(dirname "$0")/.."
top=$PWD
started=$(date +%s)

build=$top/build/dist
cache=$top/build/dist-cache
suite=bookworm
mirror=http://deb.debian.org/debian
tarball=$cache/$suite-minbase.tar
expected_p="0.341344279839592"  # P for X = 1

say() { printf '== %s (%ss)\n' "$1" "$(($(date +%s) - started))"; }

# Unmounts whatever is mounted below a root, deepest first, then deletes it.
# --one-file-system keeps rm out of a mount that would not go away.
remove_root() {
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null || true)" = "$1" ] && kill "$pid" 2>/dev/null || true
  done
  awk -v root="$1" 'index($2, root "/") == 1 { print $2 }' /proc/mounts | sort -r |
    while read -r point; do umount "$point" || umount -l "$point"; done
  rm -rf --one-file-system "$1"
}

say "Release build and package"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DNORMCALC_BUILD_TESTS=OFF -DNORMCALC_BUILD_BENCH=OFF
cmake --build "$build" -j 2
rm -f "$build"/normcalc_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/normcalc_*.deb)
version=$(sed -n 's/^project(normcalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
case "$deb" in
  */normcalc_"$version"_"$(dpkg --print-architecture)".deb) ;;
  *) echo "package file $deb does not name version $version" >&2; exit 1 ;;
esac
dpkg-deb -f "$deb" Package Version Depends

say "Installed files and their validators"
stage=$build/stage
rm -rf "$stage"
cmake --install "$build" --prefix "$stage"
(cd "$stage" && find . -type f | sort)
desktop-file-validate "$stage"/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$stage"
for page in "$stage"/share/man/man1/*.1.gz; do sh dist/check_manual_page.sh "$page"; done

say "Clean root"
if [ ! -f "$tarball" ]; then
  mkdir -p "$cache"
  remove_root "$cache/root.new"
  debootstrap --variant=minbase "$suite" "$cache/root.new" "$mirror"
  tar -C "$cache/root.new" -cf "$tarball.part" .
  remove_root "$cache/root.new"
  mv "$tarball.part" "$tarball"
fi
root=$(realpath "$(mktemp -d "$top/build/dist-root.XXXXXX")")
trap 'remove_root "$root"' EXIT
trap 'exit 1' INT TERM
tar -C "$root" -xf "$tarball"
# debootstrap made the device nodes the root needs; only /proc comes from outside.
mount -t proc proc "$root/proc"
cat > "$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
EOF
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }
in_root dpkg-query -W -f '${Package}\n' > "$build/clean-root-packages.txt"
echo "clean root: $(wc -l < "$build/clean-root-packages.txt") packages" \
  "(list in build/dist/clean-root-packages.txt)"

say "apt-get install of the package alone"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
# Without recommends: the package's Depends alone must make it work.
in_root sh -c 'cd /tmp && apt-get install -y -q --no-install-recommends ./normcalc_*.deb'
in_root dpkg-query -W -f '${Package}\n' | sort > "$build/package-root-packages.txt"
sort "$build/clean-root-packages.txt" |
  comm -13 - "$build/package-root-packages.txt" > "$build/package-pulled-packages.txt"
echo "the package pulled in $(wc -l < "$build/package-pulled-packages.txt") packages" \
  "(list in build/dist/package-pulled-packages.txt)"
in_root dpkg-query -W fonts-ipafont-gothic

say "normcalc-cli in the root"
p=$(in_root normcalc-cli x2p 1)
[ "$p" = "$expected_p" ] || { echo "normcalc-cli x2p 1 gave '$p', not $expected_p" >&2; exit 1; }
echo "normcalc-cli x2p 1 -> $p"
shown=$(in_root normcalc-cli --version)
[ "$shown" = "normcalc-cli $version" ] || { echo "--version gave '$shown'" >&2; exit 1; }

say "normcalc in the root under Xvfb"
# Only now, after the package has proved its own dependencies: an X server and
# a tool to find the window, for this test alone.
in_root apt-get install -y -q --no-install-recommends xvfb xdotool
cat > "$root/tmp/window-check.sh" <<'EOF'
set -eu
# -displayfd: the server picks a free display and writes its number once it
# accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/display 2>/tmp/xvfb.log &
xvfb=$!
app=""
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
tries=0
until [ -s /tmp/display ]; do
  tries=$((tries + 1)); [ $tries -le 100 ] || { cat /tmp/xvfb.log; exit 1; }
  sleep 0.1
done
DISPLAY=:$(cat /tmp/display); export DISPLAY
# The window must carry the class the desktop entry names, or a desktop
# cannot tie the running window to its entry and icon.
class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/io.github.normcalc.NormCalc.desktop)
normcalc >/tmp/normcalc.log 2>&1 &
app=$!
tries=0
until window=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null); do
  kill -0 $app 2>/dev/null || { echo "normcalc ended:"; cat /tmp/normcalc.log; exit 1; }
  tries=$((tries + 1)); [ $tries -le 300 ] || { echo "no window Form1"; exit 1; }
  sleep 0.1
done
xdotool search --class "^$class\$" | grep -qx "$window" ||
  { echo "window Form1 is not of class '$class'"; exit 1; }
echo "window Form1 of class $class mapped: $(xdotool getwindowgeometry "$window" | tr -s '\n ' ' ')"
# The focus starts on EXIT, so Enter ends the program, with status 0.
xdotool windowfocus --sync "$window" key Return
tries=0
while kill -0 $app 2>/dev/null; do
  tries=$((tries + 1)); [ $tries -le 100 ] || { echo "Enter did not close normcalc"; exit 1; }
  sleep 0.1
done
status=0
wait $app || status=$?
app=""
[ $status -eq 0 ] || { echo "normcalc ended with status $status"; cat /tmp/normcalc.log; exit 1; }
echo "Enter on EXIT closed normcalc with status 0"
EOF
# A network namespace of its own keeps this X server's abstract socket apart
# from any other X server on the machine, which a client would otherwise reach.
unshare --net chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  sh /tmp/window-check.sh

say "package test passed"
