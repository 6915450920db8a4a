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

measure() { # folder title program [arguments...]
    local folder=$1 took
    shift
    took=$(cd "$folder" && "$watch" "$@") || { echo "startup.sh: $2 showed no window" >&2; exit 1; }
    echo "$took"
}

vantela=(); minimal=(); text=()
for _ in $(seq "$runs"); do
    vantela+=("$(measure "$build/app" Vantela ./vantela)")
    minimal+=("$(measure . Minimal "$build/bench/bench_minimal")")
    text+=("$(measure . "Minimal text" "$build/bench/bench_minimal" --text)")
done
v=$(printf '%s\n' "${vantela[@]}" | median)
m=$(printf '%s\n' "${minimal[@]}" | median)
t=$(printf '%s\n' "${text[@]}" | median)
# The same minimal program with one line of text shows how much of the difference any window
# with text pays: the font configuration and database, a font file and its glyphs.
awk -v v="$v" -v m="$m" -v t="$t" 'BEGIN {
    printf "start-up to main window: vantela %.1f ms, minimal Qt %.1f ms, ratio %.2f (target <= 1.15); ", v / 1000, m / 1000, v / m
    printf "minimal Qt with a line of text %.1f ms, ratio %.2f\n", t / 1000, t / m }'
