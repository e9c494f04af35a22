#!/usr/bin/env bash
# Start-up to a mapped window as on a desktop: its own Xvfb with openbox and a D-Bus session,
# the program against each baseline, in PAIRS alternating pairs.
#   bench/mapped.sh BENCH_MAPPED PAIRS PROGRAM BASELINE...
set -euo pipefail
if [[ "${1:-}" != --inside ]]; then
    # The X server picks a free display itself: choosing one beforehand, as xvfb-run -a does,
    # races with the other tests' servers.
    display=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display" 2>/dev/null &
    server=$!
    trap 'kill $server; wait $server 2>/dev/null; rm -f "$display"' EXIT
    for _ in $(seq 100); do
        [[ $(wc -l <"$display") -ge 1 ]] && break
        sleep 0.1
    done
    DISPLAY=:$(head -n 1 "$display") dbus-run-session -- "$0" --inside "$@"
    exit
fi
shift
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm' EXIT
# The window manager ready before the first program starts. Openbox claims the screen
# (_NET_SUPPORTING_WM_CHECK) a while before it handles windows: one that asks to be mapped in
# between may never be, and the run fails. It names its theme (_OB_THEME) once it does.
for _ in $(seq 50); do
    xprop -root _OB_THEME 2>/dev/null | grep -q '^_OB_THEME(' && break
    sleep 0.1
done
"$@"
