#!/usr/bin/env bash
# The desktop program's scan against tarnwk-scan on the benchmark tree: the
# scan window (Qt, offscreen platform, counters live) must take at most 1.5
# times as long. Usage: bench/run-gui.sh [--runs N] [--dir FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=5
dir=${TARNWK_BENCH_DIR:-${TMPDIR:-/tmp}/tarnwick-bench}
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --dir) dir=$2; shift 2 ;;
        *) echo "usage: $0 [--runs N] [--dir FOLDER]" >&2; exit 2 ;;
    esac
done
build=$root/build-bench-gui
"$root/scripts/setup-packages"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWK_TESTS=OFF \
    -DTARNWK_DESKTOP=ON >/dev/null
cmake --build "$build" --target tarnwk-scan gui_scan >/dev/null
[ -d "$dir/tree" ] || python3 "$root/bench/make_tree.py" "$dir"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
time_cli() {
    local start end
    start=$(date +%s%N)
    "$build/bin/tarnwk-scan" --definitions "$dir/defs-10.dat" "$dir/tree" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}
time_gui() {
    HOME="$dir/tree" XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen \
        "$build/bin/gui_scan" "$dir/defs-10.dat" 2>/dev/null | tee -a "$config/gui.log" | cut -d' ' -f1
}

find "$dir/tree" >/dev/null  # warm the cache
time_cli >/dev/null; time_gui >/dev/null
cli=$(for _ in $(seq "$runs"); do time_cli; done | median)
gui=$(for _ in $(seq "$runs"); do time_gui; done | median)
ratio=$(awk -v g="$gui" -v c="$cli" 'BEGIN { printf "%.3f", g / c }')
printf 'tarnwk-scan      %.3f s (median of %d)\n' "$cli" "$runs"
printf 'scan window      %.3f s (median of %d)\n' "$gui" "$runs"
printf 'ratio            %.2f  target <= 1.5: %s\n' "$ratio" \
    "$(awk -v r="$ratio" 'BEGIN { print (r <= 1.5 ? "PASS" : "MISS") }')"
echo "last scan window: $(tail -n 1 "$config/gui.log")"
