#!/usr/bin/env bash
# tarnwk-scan.exe under wine and tarnwk-scan on Linux over one generated
# tree: the same findings in the same order, the Windows paths with "\".
set -u
windows_scanner=$1
linux_scanner=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"
if [ ! -x "$linux_scanner" ]; then
    echo "FAILED: no Linux tarnwk-scan to compare with at $linux_scanner"
    exit 1
fi

printf 'Ver1.001\r\ngator.exe|Gator\r\nCMESYS.EXE|Claria\r\n\xc9vil.dll|\xc9vil\r\nb.exe|Bee\r\nb.exe|Bee again\r\n' \
    > "$work/defs.dat"
# Folders and files in many orders of case and accent, a hidden folder, a
# dot-file (hidden on both systems), and a link that loops back.
names=(a B c Évil éclair Zed zed_ "b sub" 0 _x)
RANDOM=7
for i in $(seq 1 120); do
    path="$work/tree"
    for _ in $(seq 1 $((RANDOM % 4 + 1))); do path="$path/${names[RANDOM % ${#names[@]}]}"; done
    mkdir -p "$path"
    case $((i % 5)) in
        0) touch "$path/GATOR.exe" ;;
        1) touch "$path/b.exe" "$path/B.EXE.txt" ;;
        2) touch "$path/ÉVIL.DLL" "$path/cmesys.exe" ;;
        3) touch "$path/.gator.exe" "$path/readme" ;;
    esac
done
mkdir -p "$work/tree/.hidden" && touch "$work/tree/.hidden/gator.exe"
ln -s .. "$work/tree/a/loop"

linux=$("$linux_scanner" --definitions "$work/defs.dat" "$work/tree" 2>/dev/null)
windows=$(wine "$windows_scanner" --definitions "Z:$work/defs.dat" "Z:$work/tree" 2>/dev/null \
          | tr -d '\r')
check "findings on Linux" 1 $([ "$(wc -l <<<"$linux")" -gt 50 ] && echo 1)
check "paths on Windows are written with backslashes" "Z:${work//\//\\}\\tree\\" \
      "${windows:0:$((${#work} + 8))}"
# The drive and the separators apart, the very same lines in the same order.
check "the same findings in the same order" "$linux" "$(sed -e 's|^Z:||' -e 's|\\|/|g' <<<"$windows")"

[ "$failures" -eq 0 ]
