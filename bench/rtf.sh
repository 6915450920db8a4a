#!/usr/bin/env bash
# Reading throughput of the RTF reader on a large file, whole process against whole process:
# our rtfdump --html against unrtf --html and pandoc -f rtf -t html on the same file.
# Usage: bench/rtf.sh BUILD_DIR [MEGABYTES]. Builds nothing; BUILD_DIR must hold tools/rtfdump.
set -euo pipefail
build=${1:?usage: rtf.sh BUILD_DIR [MEGABYTES]}
megabytes=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
rtfdump="$(cd "$build" && pwd)/tools/rtfdump"
[ -x "$rtfdump" ] || { echo "rtf.sh: $rtfdump not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
big="$work/large.rtf"
python3 "$here/makertf.py" "$here/../tests/data/rtf/castellano-libreoffice.rtf" "$big" "$megabytes"
size=$(stat -c %s "$big")
# unrtf writes the pictures it finds into the current folder: let it write them into the scratch one.
cd "$work"

# Best of several runs of a whole command, in seconds; output is thrown away.
best_of() {
    local runs=$1; shift
    local best=""
    for _ in $(seq "$runs"); do
        local t0 t1
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        t1=$(date +%s%N)
        local ms=$(( (t1 - t0) / 1000000 ))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

# Check first that every reader reads the whole file to the end.
"$rtfdump" --text "$big" | tail -n 2 | grep -q "Fin del texto" \
    || { echo "rtf.sh: rtfdump did not read the file to its end" >&2; exit 1; }

ours=$(best_of 5 "$rtfdump" --html "$big")
line="RTF reading, $(( size / 1024 )) KiB: rtfdump --html ${ours} ms"
if command -v unrtf >/dev/null; then
    unrtf_ms=$(best_of 3 unrtf --html "$big")
    line+="; unrtf --html ${unrtf_ms} ms"
fi
if command -v pandoc >/dev/null; then
    pandoc_ms=$(best_of 3 pandoc -f rtf -t html "$big")
    line+="; pandoc -f rtf -t html ${pandoc_ms} ms"
fi
echo "$line"
ours=$(( ours > 0 ? ours : 1 ))
if [ -n "${unrtf_ms:-}" ]; then
    ratio=$(awk -v a="$unrtf_ms" -v b="$ours" 'BEGIN { printf "%.1f", a / b }')
    verdict=$(awk -v r="$ratio" 'BEGIN { print (r >= 5 ? "meets" : "MISSES") }')
    echo "  rtfdump is ${ratio}x faster than unrtf (target 5x: $verdict)"
fi
if [ -n "${pandoc_ms:-}" ]; then
    echo "  rtfdump is $(awk -v a="$pandoc_ms" -v b="$ours" 'BEGIN { printf "%.1f", a / b }')x faster than pandoc"
fi
