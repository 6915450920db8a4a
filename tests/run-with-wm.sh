#!/usr/bin/env bash
# Runs a test on a private X display with a small window manager, for checks that need real
# window activation.
set -euo pipefail
if [ -z "${VANTELA_UNDER_XVFB:-}" ]; then
    export VANTELA_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 && break
    sleep 0.1
done
# The manager announces itself a moment before it manages new windows.
sleep 1
QT_QPA_PLATFORM=xcb timeout 90 "$@"
