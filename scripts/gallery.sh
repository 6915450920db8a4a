#!/usr/bin/env bash
# Draws the README's pictures of every topic window, both languages side by side, into
# docs/windows/. Usage: scripts/gallery.sh [BUILD_DIR] (default build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target gallery >/dev/null
QT_QPA_PLATFORM=offscreen QT_QPA_FONTDIR=/usr/share/fonts/truetype "$build/tests/gallery" "$root/docs/windows"
