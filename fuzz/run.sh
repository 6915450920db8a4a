#!/bin/sh
# Builds the fuzz targets with clang and fuzzes the readers of outside files.
# Usage: fuzz/run.sh [seconds] [target...]   (default 60 s, fuzz_rtf, fuzz_cur, fuzz_lab and fuzz_circuit, one after
# the other). FUZZ_RUNS=N runs N inputs instead of a time limit. New inputs that reach new paths go
# to build-fuzz/corpus-<target>, so the committed seeds stay as they are; crashes are written to
# build-fuzz/.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-fuzz_rtf fuzz_cur fuzz_lab fuzz_circuit}
cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target $targets
python3 "$root/fuzz/make-cursor-seeds.py" "$build/seeds-cur"
cd "$build"
for target in $targets; do
    case $target in
        fuzz_rtf) seeds="$root/fuzz/corpus/rtf"; extra="-dict=$root/fuzz/rtf.dict -max_len=65536" ;;
        fuzz_cur) seeds="$build/seeds-cur"; extra="-max_len=16384" ;;
        fuzz_lab) seeds="$root/assets/labs"; extra="-dict=$root/fuzz/lab.dict -max_len=16384" ;;
        fuzz_circuit) seeds="$root/assets/circuits"; extra="-dict=$root/fuzz/circuit.dict -max_len=16384" ;;
    esac
    limit="-max_total_time=$seconds"
    [ -n "${FUZZ_RUNS:-}" ] && limit="-runs=$FUZZ_RUNS"
    mkdir -p "corpus-$target"
    "./$target" $limit $extra -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "corpus-$target" "$seeds"
done
