#!/usr/bin/env bash
# Fails when a C++ file of ours is not formatted as .clang-format says; prints the files and how to
# mend them. Generated tables (*.inc) are left as their generator writes them.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed" >&2; exit 1; }
bad=()
while IFS= read -r file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
    printf 'check-format: not formatted: %s\n' "${bad[@]}" >&2
    echo "check-format: run clang-format -i on them" >&2
    exit 1
fi
