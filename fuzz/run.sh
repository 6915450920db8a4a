#!/bin/sh
# Builds the RTF reader's fuzz target with clang and fuzzes it for a while (default 60 s).
# Usage: fuzz/run.sh [seconds]. New inputs that reach new paths go to build-fuzz/corpus, so the
# committed seed corpus stays as it is; crashes are written to build-fuzz/.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
mkdir -p "$build/corpus"
cd "$build"
./fuzz_rtf -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/fuzz/rtf.dict" corpus "$root/fuzz/corpus"
