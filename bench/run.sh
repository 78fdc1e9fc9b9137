#!/usr/bin/env bash
# Times tarnwk-scan against the floor walker and GNU find on a generated tree
# (see README.md beside this script). Exits non-zero only when the scanners
# disagree or something fails; a missed target is reported, not fatal.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
runs=10
work=${TARNWK_BENCH_DIR:-${TMPDIR:-/tmp}/tarnwick-bench}
build=$root/build-bench
regenerate=0
use_hyperfine=1

usage() {
    cat <<EOF
Usage: bench/run.sh [--runs N] [--dir FOLDER] [--build FOLDER] [--regenerate] [--no-hyperfine]

  --runs N        timed rounds, each running every command once, after 3 warm-up
                  rounds (default $runs, at least 5)
  --dir FOLDER    where the tree and definitions go (default \${TMPDIR:-/tmp}/tarnwick-bench,
                  or \$TARNWK_BENCH_DIR); reused when present
  --build FOLDER  the Release build folder (default build-bench in the repository)
  --regenerate    write the tree and definitions again even if present
  --no-hyperfine  time with the script's own loop
EOF
}

while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=${2:?--runs needs a number}; shift 2 ;;
        --dir) work=${2:?--dir needs a folder}; shift 2 ;;
        --build) build=${2:?--build needs a folder}; shift 2 ;;
        --regenerate) regenerate=1; shift ;;
        --no-hyperfine) use_hyperfine=0; shift ;;
        -h|--help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
[ "$runs" -ge 5 ] 2>/dev/null || { echo "run.sh: --runs must be 5 or more" >&2; exit 2; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
case $work/ in "$root"/*) echo "run.sh: keep the tree out of the repository" >&2; exit 2 ;; esac

# --- tools -------------------------------------------------------------------
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt_ready=0
apt_install() {
    if [ $apt_ready -eq 0 ]; then $sudo apt-get update -qq && apt_ready=1; fi
    echo "run.sh: installing $*" >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" >/dev/null
}
need() {  # command package
    command -v "$1" >/dev/null || apt_install "$2"
}
need cmake cmake
need ninja ninja-build
need g++ g++
need python3 python3
[ -x /usr/bin/time ] || apt_install time
if [ $use_hyperfine -eq 1 ] && ! command -v hyperfine >/dev/null; then
    apt_install hyperfine || { echo "run.sh: no hyperfine, timing with the script's own loop" >&2; use_hyperfine=0; }
fi

# --- build -------------------------------------------------------------------
# Only tarnwk-scan is timed: no tests, no desktop program (and so no Qt).
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
defs10=$work/defs-10.dat
defs32k=$work/defs-32000.dat

find_args=("$tree" "(")
while read -r name; do
    [ ${#find_args[@]} -gt 2 ] && find_args+=(-o)
    find_args+=(-iname "$name")
done <"$work/find-names.txt"
find_args+=(")" -print)

# --- outputs must agree --------------------------------------------------------
find "$tree" >/dev/null  # warms the cache
out=$work/out
mkdir -p "$out"
"$scan" --definitions "$defs10" "$tree" >"$out/scan-10.txt" 2>"$out/scan-10.err" || [ $? -eq 1 ]
"$scan" --definitions "$defs32k" "$tree" >"$out/scan-32000.txt" 2>"$out/scan-32000.err" || [ $? -eq 1 ]
"$floor" "$defs10" "$tree" >"$out/floor.txt" 2>"$out/floor.err" || [ $? -eq 1 ]
find "${find_args[@]}" >"$out/find.txt"

# Paths lower-cased and sorted: tarnwk-scan names the definition, not the file.
normal() { sed 's/ > .*$//' "$1" | tr '[:upper:]' '[:lower:]' | LC_ALL=C sort; }
sed "s|^|$tree/|" "$work/planted.txt" | tr '[:upper:]' '[:lower:]' | LC_ALL=C sort >"$out/expected.txt"
agree=1
for result in scan-10 scan-32000 floor find; do
    if ! normal "$out/$result.txt" | cmp -s - "$out/expected.txt"; then
        echo "DISAGREE: $result found $(wc -l <"$out/$result.txt") files, not the $(wc -l <"$out/expected.txt") planted" >&2
        agree=0
    fi
done
examined() { grep -o '[0-9]* files examined' "$1" | cut -d' ' -f1; }
if [ "$(examined "$out/scan-10.err")" != "$(examined "$out/floor.err")" ]; then
    echo "DISAGREE: files examined: tarnwk-scan $(examined "$out/scan-10.err"), floor $(examined "$out/floor.err")" >&2
    agree=0
fi

# --- timing, warm cache ------------------------------------------------------------
# In rounds, each command once per round: load from elsewhere on the machine
# then falls on all four alike instead of on whichever ran at the time.
load=$(cut -d' ' -f1-3 /proc/loadavg)
names=("tarnwk-scan (10)" "tarnwk-scan (32000)" "floor_walker" "find (100 -iname)")
commands=(
    "$(printf '%q ' "$scan" --definitions "$defs10" "$tree")"
    "$(printf '%q ' "$scan" --definitions "$defs32k" "$tree")"
    "$(printf '%q ' "$floor" "$defs10" "$tree")"
    "$(printf '%q ' find "${find_args[@]}")"
)
args=()
for i in "${!names[@]}"; do args+=(-n "${names[$i]}" "${commands[$i]}"); done
: >"$out/runs.tsv"  # name, wall seconds, CPU seconds (user + system) per run
for round in $(seq -2 "$runs"); do  # rounds -2 to 0 warm up
    if [ "$round" -gt 0 ]; then echo "run.sh: round $round of $runs" >&2; else echo "run.sh: warm-up round" >&2; fi
    if [ $use_hyperfine -eq 1 ]; then
        # -i: a scan that finds something exits 1.
        hyperfine -N -i --runs 1 --style none --export-json "$out/round.json" "${args[@]}" \
            >"$out/hyperfine.log" 2>&1 || { cat "$out/hyperfine.log" >&2; exit 2; }
        if [ "$round" -gt 0 ]; then
            python3 -c 'import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(r["command"], r["times"][0], r["user"] + r["system"], sep="\t")' "$out/round.json" >>"$out/runs.tsv"
        fi
    else
        for i in "${!names[@]}"; do
            start=$(date +%s%N)
            eval "${commands[$i]}" >/dev/null 2>&1 || true
            wall=$(($(date +%s%N) - start))
            if [ "$round" -gt 0 ]; then
                awk -v name="${names[$i]}" -v ns=$wall 'BEGIN {printf "%s\t%.6f\t\n", name, ns / 1e9}' >>"$out/runs.tsv"
            fi
        done
    fi
done
# name, median, min, mean CPU (empty without hyperfine)
python3 -c 'import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    name, wall, cpu = line.rstrip("\n").split("\t")
    runs.setdefault(name, []).append((float(wall), cpu))
for name, rows in runs.items():
    walls = [w for w, _ in rows]
    cpu = statistics.mean(float(c) for _, c in rows) if rows[0][1] else ""
    print(name, statistics.median(walls), min(walls), cpu, sep="\t")' "$out/runs.tsv" >"$out/times.tsv"

# --- peak memory ------------------------------------------------------------------
/usr/bin/time -v "$scan" --definitions "$defs32k" "$tree" >/dev/null 2>"$out/rss.txt" || true
rss_kib=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/rss.txt")

# --- report (also kept in $out/report.txt) -----------------------------------------
{
echo
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), Linux $(uname -r)"
# Other work on the machine skews the figures; the load average shows it.
echo "Load average before timing: $load"
echo "Tree: $(examined "$out/floor.err") files examined, $(wc -l <"$out/expected.txt") planted; $runs warm runs each"
echo "Ratios use the medians; CPU is user + system, mean (with hyperfine only)."
echo
awk -F'\t' -v rss="$rss_kib" '
    BEGIN { printf "  %-22s %10s %10s %10s\n", "seconds", "median", "min", "CPU" }
    { t[$1] = $2; printf "  %-22s %10.3f %10.3f %10s\n", $1, $2, $3, $4 == "" ? "-" : sprintf("%.3f", $4) }
    function verdict(ok) { return ok ? "PASS" : "MISS" }
    END {
        s10 = t["tarnwk-scan (10)"]; s32 = t["tarnwk-scan (32000)"]
        fl = t["floor_walker"]; fn = t["find (100 -iname)"]; mib = rss / 1024
        print ""
        printf "  %-38s %7.3fx    target <= 1.20x   %s\n", "tarnwk-scan(10) / floor", s10 / fl, verdict(s10 / fl <= 1.2)
        printf "  %-38s %7.3fx    target <= 1.10x   %s\n", "tarnwk-scan(32000) / tarnwk-scan(10)", s32 / s10, verdict(s32 / s10 <= 1.1)
        printf "  %-38s %7.3fx    (for scale)\n", "find / floor", fn / fl
        printf "  %-38s %7.1f MiB target < 64 MiB  %s\n", "peak RSS, tarnwk-scan(32000)", mib, verdict(mib < 64)
    }' "$out/times.tsv"
} | tee "$out/report.txt"
echo
if [ $agree -eq 1 ]; then
    echo "Outputs agree: every scanner found the $(wc -l <"$out/expected.txt") planted files."
else
    echo "Outputs DISAGREE: see $out" >&2
    exit 1
fi
