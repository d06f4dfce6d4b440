#!/bin/sh
# The calculator's web page: builds build/web/site/ and drives it in headless
# Chromium (tests/web/page_test.py), opened from disk and from a server on
# 127.0.0.1. Expected answers come from the x86-64 normcalc-cli of the asan
# build, built here when it is missing. The core's own tests under node, and
# normcalc-cli's bytes there, are in tools/cross-test.sh (preset wasm).
set -eu
cd "$(dirname "$0")/.."

start=$(date +%s)
cmake --preset web >/dev/null
cmake --build --preset web
built=$(date +%s)
site_bytes=$(du -cb build/web/site/* | tail -n 1 | cut -f 1)
echo "web: build/web/site/ holds $site_bytes bytes (index.html $(wc -c <build/web/site/index.html))"
# The page is meant to load at once on a slow line: under 300 KB, font and
# licence included.
if [ "$site_bytes" -ge 300000 ]; then
  echo "web: the site has grown past 300 KB" >&2
  exit 1
fi

if [ ! -x build/asan/cli/normcalc-cli ]; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan --target normcalc-cli
fi

/usr/bin/python3 tests/web/page_test.py --site build/web/site --cli build/asan/cli/normcalc-cli
tested=$(date +%s)
echo "web: build $((built - start)) s, browser tests $((tested - built)) s"
