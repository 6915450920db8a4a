#!/usr/bin/env bash
# Runs a test as a screen reader's host would: on a private X display, with a session bus of its own on
# which the accessibility bus and its registry start on demand, and with Qt's AT-SPI bridge on.
set -euo pipefail
if [ -z "${VANTELA_UNDER_XVFB:-}" ]; then
    export VANTELA_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
timeout 90 "$@"
