#!/usr/bin/env bash
# Times tarnwk-scan, single-threaded and with read-ahead, against the floor
# walkers, bfs and fd on a generated tree, warm and cold (see README.md beside
# this script). Exits non-zero only when the scanners disagree or something
# fails; a missed target is reported, not fatal.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
runs=10
cold_runs=0
work=${TARNWK_BENCH_DIR:-${TMPDIR:-/tmp}/tarnwick-bench}
build=$root/build-bench
floor_c=""
regenerate=0

usage() {
    cat <<EOF
Usage: bench/run.sh [--runs N] [--cold N] [--floor-c BINARY] [--dir FOLDER] [--build FOLDER] [--regenerate]

  --runs N          warm rounds, each running every command once, after 2 warm-up
                    rounds (default $runs, at least 5)
  --cold N          also N cold rounds: the page cache is dropped before every run
                    (needs root)
  --floor-c BINARY  a built floor.c ("gcc -O2 -o floor floor.c"), timed as "floor scan"
  --dir FOLDER      where the tree and definitions go (default \${TMPDIR:-/tmp}/tarnwick-bench,
                    or \$TARNWK_BENCH_DIR); reused when present
  --build FOLDER    the Release build folder (default build-bench in the repository)
  --regenerate      write the tree and definitions again even if present
EOF
}

while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=${2:?--runs needs a number}; shift 2 ;;
        --cold) cold_runs=${2:?--cold needs a number}; shift 2 ;;
        --floor-c) floor_c=${2:?--floor-c needs a program}; shift 2 ;;
        --dir) work=${2:?--dir needs a folder}; shift 2 ;;
        --build) build=${2:?--build needs a folder}; shift 2 ;;
        --regenerate) regenerate=1; shift ;;
        -h|--help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
[ "$runs" -ge 5 ] 2>/dev/null || { echo "run.sh: --runs must be 5 or more" >&2; exit 2; }
if [ "$cold_runs" -gt 0 ] && [ "$(id -u)" -ne 0 ]; then
    echo "run.sh: --cold drops the page cache and needs root" >&2; exit 2
fi
mkdir -p "$work"
work=$(cd "$work" && pwd)
case $work/ in "$root"/*) echo "run.sh: keep the tree out of the repository" >&2; exit 2 ;; esac

# --- tools -------------------------------------------------------------------
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt_ready=0
need() {  # command package
    command -v "$1" >/dev/null && return
    if [ $apt_ready -eq 0 ]; then $sudo apt-get update -qq && apt_ready=1; fi
    echo "run.sh: installing $2" >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$2" >/dev/null
}
need cmake cmake
need ninja ninja-build
need g++ g++
need python3 python3
need bfs bfs
need fdfind fd-find
[ -x /usr/bin/time ] || need /usr/bin/time time

# --- build: only what is timed, no tests, no desktop program -------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DTARNWK_TESTS=OFF -DTARNWK_DESKTOP=OFF >/dev/null
fi
cmake --build "$build" --target tarnwk-scan floor_walker >/dev/null
scan=$build/bin/tarnwk-scan
floor=$build/bin/floor_walker

# --- inputs: generated once, again when make_tree.py changes ------------------
stamp=$(sha256sum "$here/make_tree.py" | cut -d' ' -f1)
if [ $regenerate -eq 1 ] || [ "$(cat "$work/stamp" 2>/dev/null)" != "$stamp" ]; then
    rm -f "$work/stamp"
    python3 "$here/make_tree.py" "$work"
    echo "$stamp" >"$work/stamp"
fi
tree=$work/tree
defs=$work/defs-32000.dat
tail -n +2 "$defs" | cut -d'|' -f1 >"$work/names-32000.txt"
one_name=$(head -n 1 "$work/planted.txt" | xargs basename)

names=("tarnwk-scan --threads 1" "tarnwk-scan" "floor_walker" "bfs, one name" "fd, one name")
commands=(
    "$(printf '%q ' "$scan" --threads 1 --definitions "$defs" "$tree")"
    "$(printf '%q ' "$scan" --definitions "$defs" "$tree")"
    "$(printf '%q ' "$floor" "$defs" "$tree")"
    "$(printf '%q ' bfs "$tree" -type f -name "$one_name")"
    "$(printf '%q ' fdfind --unrestricted --type f --glob "$one_name" "$tree")"
)
if [ -n "$floor_c" ]; then
    names+=("floor.c")
    commands+=("$(printf '%q ' "$floor_c" scan "$tree" "$work/names-32000.txt")")
fi

# --- outputs must agree --------------------------------------------------------
out=$work/out
mkdir -p "$out"
"$scan" --threads 1 --definitions "$defs" "$tree" >"$out/scan-1.txt" 2>"$out/scan-1.err" || [ $? -eq 1 ]
"$scan" --definitions "$defs" "$tree" >"$out/scan.txt" 2>"$out/scan.err" || [ $? -eq 1 ]
"$floor" "$defs" "$tree" >"$out/floor.txt" 2>"$out/floor.err" || [ $? -eq 1 ]
normal() { sed 's/ > .*$//' "$1" | tr '[:upper:]' '[:lower:]' | LC_ALL=C sort; }
sed "s|^|$tree/|" "$work/planted.txt" | tr '[:upper:]' '[:lower:]' | LC_ALL=C sort >"$out/expected.txt"
agree=1
if ! cmp -s "$out/scan-1.txt" "$out/scan.txt"; then
    echo "DISAGREE: read-ahead and the single thread print different findings" >&2; agree=0
fi
for result in scan floor; do
    if ! normal "$out/$result.txt" | cmp -s - "$out/expected.txt"; then
        echo "DISAGREE: $result did not find exactly the planted files" >&2; agree=0
    fi
done
examined() { grep -o '[0-9]* files examined' "$1" | cut -d' ' -f1; }
for result in scan-1 scan; do
    if [ "$(examined "$out/$result.err")" != "$(examined "$out/floor.err")" ]; then
        echo "DISAGREE: $result and the floor walker examine different numbers of files" >&2; agree=0
    fi
done

# --- timing --------------------------------------------------------------------
# In rounds, each command once per round, so load from elsewhere on the
# machine falls on all alike. Milliseconds of wall time.
time_rounds() {  # label rounds cold
    local label=$1 rounds=$2 cold=$3
    for round in $(seq -1 "$rounds"); do  # rounds -1 and 0 warm up (warm only)
        [ "$cold" -eq 1 ] && [ "$round" -le 0 ] && continue
        for i in "${!names[@]}"; do
            [ "$cold" -eq 1 ] && { sync; echo 3 >/proc/sys/vm/drop_caches; }
            start=$(date +%s%N)
            eval "${commands[$i]}" >/dev/null 2>&1 || true
            ms=$(( ($(date +%s%N) - start) / 1000000 ))
            [ "$round" -gt 0 ] && printf '%s\t%s\t%s\n' "$label" "${names[$i]}" "$ms" >>"$out/runs.tsv"
        done
    done
}
: >"$out/runs.tsv"
load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "run.sh: $runs warm rounds" >&2
time_rounds warm "$runs" 0
if [ "$cold_runs" -gt 0 ]; then
    echo "run.sh: $cold_runs cold rounds" >&2
    time_rounds cold "$cold_runs" 1
fi

/usr/bin/time -v "$scan" --definitions "$defs" "$tree" >/dev/null 2>"$out/rss.txt" || true
rss_kib=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/rss.txt")

# --- report (also kept in $out/report.txt) -----------------------------------------
{
echo
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), Linux $(uname -r)"
echo "Load average before timing: $load"
echo "Tree: $(examined "$out/floor.err") files examined, $(wc -l <"$out/expected.txt") planted, 32,000 definitions"
echo
python3 - "$out/runs.tsv" "$rss_kib" <<'EOF'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    cache, name, ms = line.rstrip("\n").split("\t")
    runs.setdefault((cache, name), []).append(int(ms) / 1000)
median = {key: statistics.median(values) for key, values in runs.items()}
print(f"  {'seconds':<26} {'warm':>8} {'cold':>8}")
for name in dict.fromkeys(name for _, name in runs):
    cells = [f"{median[(c, name)]:8.3f}" if (c, name) in median else f"{'-':>8}" for c in ("warm", "cold")]
    print(f"  {name:<26} {cells[0]} {cells[1]}")
print()
def ratio(cache, a, b, target=None, below=True):
    if (cache, a) not in median or (cache, b) not in median:
        return
    r = median[(cache, a)] / median[(cache, b)]
    verdict = "" if target is None else ("PASS" if (r <= target if below else r >= target) else "MISS")
    bound = "" if target is None else f"target {'<=' if below else '>='} {target:.2f}"
    print(f"  {cache + ': ' + a + ' / ' + b:<58} {r:6.2f}x  {bound:<16} {verdict}")
ratio("warm", "tarnwk-scan --threads 1", "floor.c", 1.10)
ratio("warm", "tarnwk-scan", "floor.c", 0.80)
ratio("warm", "tarnwk-scan --threads 1", "floor_walker")
ratio("warm", "floor_walker", "floor.c")
ratio("warm", "tarnwk-scan", "bfs, one name")
ratio("warm", "tarnwk-scan", "fd, one name")
ratio("cold", "tarnwk-scan", "tarnwk-scan --threads 1", 1.00)
ratio("cold", "tarnwk-scan", "floor.c")
mib = int(sys.argv[2] or 0) / 1024
print(f"  {'peak RSS, tarnwk-scan with read-ahead':<58} {mib:6.1f} MiB target < 64 MiB  {'PASS' if mib < 64 else 'MISS'}")
EOF
} | tee "$out/report.txt"
echo
if [ $agree -eq 1 ]; then
    echo "Outputs agree: read-ahead prints what the single thread prints, and both find the planted files."
else
    echo "Outputs DISAGREE: see $out" >&2
    exit 1
fi
