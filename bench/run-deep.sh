#!/usr/bin/env bash
# Walks a tree 100,000 levels deep (or LEVELS) with at most 1,024 open
# descriptors and prints the time and peak memory of the scan, which must
# find the one file at the bottom. Usage: bench/run-deep.sh [LEVELS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
levels=${1:-100000}
build=${TARNWK_BENCH_BUILD:-$root/build-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DTARNWK_TESTS=OFF -DTARNWK_DESKTOP=OFF >/dev/null
fi
cmake --build "$build" --target tarnwk-scan >/dev/null
python3 "$here/make_deep_tree.py" "$work/tree" "$levels"
printf 'Ver1.001\r\ngator.exe|Gator\r\n' >"$work/defs.dat"
status=0
(ulimit -n 1024 && /usr/bin/time -q -f 'peak RSS %M KiB, %e s' \
    "$build/bin/tarnwk-scan" --definitions "$work/defs.dat" "$work/tree" >"$work/found.txt") || status=$?
[ "$status" -eq 1 ] && grep -q '/gator.exe > Gator$' "$work/found.txt" ||
    { echo "run-deep.sh: the file at the bottom was not found (exit $status)" >&2; exit 1; }
echo "run-deep.sh: found at depth $levels"
