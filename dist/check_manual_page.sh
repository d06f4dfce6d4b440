#!/bin/sh
# Renders a manual page as man shows it on a terminal and fails on any warning
# from the formatter (an unknown request, a line it cannot set, a bad escape).
#   sh dist/check_manual_page.sh PAGE
set -eu
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { printf '%s: %s\n' "$1" "$warnings"; exit 1; }
