#!/usr/bin/env bash
# Opening times of the behaviour-demonstration windows and the memory per further deflection
# window, against their targets. Usage: bench/windows.sh BUILD_DIR. Uses $DISPLAY when there is
# one (bench/run.sh provides a private one), else the offscreen platform.
set -euo pipefail
build=$(cd "${1:?usage: windows.sh BUILD_DIR}" && pwd)
program="$build/bench/windows_bench"
[ -x "$program" ] || { echo "windows.sh: $program not built" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
cd "$build/app"
"$program"
