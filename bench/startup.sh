#!/usr/bin/env bash
# Time from process start to the main window shown on an X display, for Vantela and for a minimal
# Qt program in the same run. Prints the medians and their ratio. Needs $DISPLAY and xdotool.
set -euo pipefail
build=${1:?usage: startup.sh BUILD_DIR}
runs=${RUNS:-31}

time_to_window() { # program dir title
    local program=$1 dir=$2 title=$3 start end pid
    start=$(date +%s%N)
    (cd "$dir" && exec "$program") >/dev/null 2>&1 &
    pid=$!
    # xdotool's own --sync polls only twice a second; asking in a tight loop is far finer.
    until xdotool search --onlyvisible --name "^${title}" >/dev/null 2>&1; do :; done
    end=$(date +%s%N)
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    echo $(( (end - start) / 1000 ))
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

vantela=(); minimal=()
for _ in $(seq "$runs"); do
    vantela+=("$(time_to_window ./vantela "$build/app" Vantela)")
    minimal+=("$(time_to_window "$build/bench/bench_minimal" . Minimal)")
done
v=$(printf '%s\n' "${vantela[@]}" | median)
m=$(printf '%s\n' "${minimal[@]}" | median)
awk -v v="$v" -v m="$m" 'BEGIN {
    printf "start-up to main window: vantela %.1f ms, minimal Qt %.1f ms, ratio %.2f (target <= 1.15)\n",
           v / 1000, m / 1000, v / m }'
