#!/usr/bin/env bash
# Start-up to a mapped window as on a desktop: its own Xvfb with openbox and a D-Bus session,
# the program against a bare window, in PAIRS alternating pairs.
#   bench/mapped.sh BENCH_MAPPED PROGRAM BARE_WINDOW [PAIRS]
set -euo pipefail
[[ "${1:-}" == --inside ]] || exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- "$0" --inside "$@"
shift
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm' EXIT
# The window manager ready before the first program starts.
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.1
done
"$1" "${4:-31}" "$2" "$3"
