#!/usr/bin/env bash
# The virtual oscilloscope's display frames over a sweep of every control (99th percentile against
# its target), what explaining its screen costs over the same sweep, and its processor use at rest.
# Usage: bench/instrument.sh BUILD_DIR. Uses $DISPLAY when there is one, else the offscreen platform.
set -euo pipefail
build=$(cd "${1:?usage: instrument.sh BUILD_DIR}" && pwd)
program="$build/bench/instrument_bench"
[ -x "$program" ] || { echo "instrument.sh: $program not built" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
cd "$build/app"
"$program"
