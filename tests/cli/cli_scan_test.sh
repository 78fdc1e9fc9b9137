#!/usr/bin/env bash
# tarnwk-scan over a generated tree: what it prints and how it exits.
set -u
scanner=$1
source "$(dirname "$0")/check.sh"

printf 'Ver1.001\r\ngator.exe|Gator\r\nCMESYS.EXE|Claria\r\n\xc9vil.dll|\xc9vil\r\n' > "$work/defs.dat"
mkdir -p "$work/tree/b sub/deep" "$work/tree/a" "$work/tree/.hidden" "$work/clean"
touch "$work/tree/Gator.exe" "$work/tree/a/cmesys.exe" "$work/tree/b sub/deep/GATOR.EXE" \
      "$work/tree/.hidden/gator.exe" "$work/tree/.gator.exe" "$work/tree/gator.exe.txt" \
      "$work/tree/ÉVIL.DLL" "$work/clean/readme.txt"

out=$("$scanner" --definitions "$work/defs.dat" "$work/tree" 2>"$work/err"); status=$?
expected="$work/tree/gator.exe > Gator
$work/tree/Évil.dll > Évil
$work/tree/.hidden/gator.exe > Gator
$work/tree/a/CMESYS.EXE > Claria
$work/tree/b sub/deep/gator.exe > Gator"
check "findings in walk order" "$expected" "$out"
check "exit status when something is found" 1 "$status"
check "summary on stderr" "tarnwk-scan: 6 files examined, 5 found," "$(cut -d' ' -f1-6 "$work/err")"

for threads in 1 3 64; do
    out=$("$scanner" --threads $threads --definitions "$work/defs.dat" "$work/tree" 2>/dev/null)
    check "the same findings with $threads listing threads" "$expected" "$out"
done

out=$("$scanner" --definitions="$work/defs.dat" "$work/clean" "$work/clean/" 2>/dev/null); status=$?
check "clean tree prints nothing" "" "$out"
check "exit status when nothing is found" 0 "$status"

out=$(HOME="$work/tree/a" "$scanner" --definitions "$work/defs.dat" --quick 2>/dev/null)
check "quick scan walks the home folder" "$work/tree/a/CMESYS.EXE > Claria" "$out"

out=$("$scanner" --definitions "$work/defs.dat" --list-definitions); status=$?
check "definitions list, header first" "Ver1.001
gator.exe|Gator
CMESYS.EXE|Claria
Évil.dll|Évil" "$out"

first=$("$scanner" --list-definitions | head -n 1)
check "bundled definitions beside the executable" "Ver" "${first:0:3}"

: > "$work/empty.dat"
err=$("$scanner" --definitions "$work/empty.dat" "$work/tree" 2>&1 >/dev/null); status=$?
check "empty definitions: exit status" 2 "$status"
check "empty definitions: the program's message" "tarnwk-scan: Reference file not found cannot launch application. Contact provider for help
Application will now terminate" "$err"

"$scanner" --definitions "$work/missing.dat" "$work/tree" >/dev/null 2>&1
check "missing definitions: exit status" 2 "$?"
"$scanner" --definitions "$work/defs.dat" "$work/nowhere" >/dev/null 2>&1
check "unreadable folder argument: exit status" 2 "$?"
for empty in "" "  " ; do
    "$scanner" --definitions "$work/defs.dat" "$empty" >/dev/null 2>"$work/err"
    check "an empty PATH is an error, never the root: exit status" 2 "$?"
done
check "an empty PATH is an error: the message" "tarnwk-scan: an empty PATH names no folder" "$(head -n 1 "$work/err")"
for threads in 0 65; do
    "$scanner" --threads $threads "$work/tree" >/dev/null 2>&1
    check "--threads $threads: exit status" 2 "$?"
done
mkdir "$work/-" && touch "$work/-/gator.exe"
out=$(cd "$work" && "$scanner" --definitions "$work/defs.dat" - 2>/dev/null)
check "a PATH of - is a folder" "$work/-/gator.exe > Gator" "$out"
"$scanner" --bogus >/dev/null 2>&1
check "unknown option: exit status" 2 "$?"
"$scanner" >/dev/null 2>&1
check "nothing to scan: exit status" 2 "$?"
"$scanner" --help | grep -q -- '--definitions FILE'
check "help" 0 "$?"

[ "$failures" -eq 0 ]
