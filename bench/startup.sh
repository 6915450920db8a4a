#!/usr/bin/env bash
# Time from process start to the main window shown on an X display, for Vantela and for a minimal
# Qt program in the same run, taken in turns. Prints the medians and their ratio. Needs $DISPLAY.
#
# bench_mapwatch starts each program and sleeps until the X server reports the window mapped, so
# measuring takes no processor time away from the program measured. (Asking `xdotool search` in a
# loop, as this script once did, kept a core and the X server busy and about doubled both times.)
set -euo pipefail
build=$(cd "${1:?usage: startup.sh BUILD_DIR}" && pwd)
runs=${RUNS:-31}
watch=$build/bench/bench_mapwatch

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure() { # title program [folder]
    local took
    took=$(cd "${3:-.}" && "$watch" "$1" "$2") || { echo "startup.sh: $2 showed no window" >&2; exit 1; }
    echo "$took"
}

vantela=(); minimal=()
for _ in $(seq "$runs"); do
    vantela+=("$(measure Vantela ./vantela "$build/app")")
    minimal+=("$(measure Minimal "$build/bench/bench_minimal")")
done
v=$(printf '%s\n' "${vantela[@]}" | median)
m=$(printf '%s\n' "${minimal[@]}" | median)
awk -v v="$v" -v m="$m" 'BEGIN {
    printf "start-up to main window: vantela %.1f ms, minimal Qt %.1f ms, ratio %.2f (target <= 1.15)\n",
           v / 1000, m / 1000, v / m }'
