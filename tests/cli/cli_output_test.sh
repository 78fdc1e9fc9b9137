#!/usr/bin/env bash
# tarnwk-scan's output: one finding a line whatever a name holds, raw and
# JSON forms, write errors, definitions that cannot find anything, progress
# only on a terminal.
set -u
scanner=$1
source "$(dirname "$0")/check.sh"

printf 'Ver1.001\r\ngator.exe|Gator\r\n' > "$work/defs.dat"
mkdir -p "$work/tree/new"$'\n'"line" "$work/tree/back\\slash" "$work/tree/raw"$'\xff'
touch "$work/tree/new"$'\n'"line/gator.exe" "$work/tree/back\\slash/gator.exe" \
      "$work/tree/raw"$'\xff'"/gator.exe"
scan() { "$scanner" --definitions "$work/defs.dat" "$@" "$work/tree"; }

out=$(scan 2>/dev/null)
check "a name cannot split or forge a line" "$work/tree/back\\\\slash/gator.exe > Gator
$work/tree/new\\nline/gator.exe > Gator
$work/tree/raw"$'\xff'"/gator.exe > Gator" "$out"
scan -0 2>/dev/null | tr '\0' '|' > "$work/null"
check "--null prints each finding as it is, ended by NUL" \
      "$work/tree/back\\slash/gator.exe > Gator|$work/tree/new"$'\n'"line/gator.exe > Gator|$work/tree/raw"$'\xff'"/gator.exe > Gator|" \
      "$(cat "$work/null")"

scan --json 2>/dev/null > "$work/json"
check "--json: every line parses, the paths come back byte for byte" "3 found, 3 examined" "$(python3 - "$work/json" "$work/tree" <<'PY'
import json, os, sys
lines = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
paths = [bytes(f["path_bytes"]) if "path_bytes" in f else f["path"].encode() for f in lines[:-1]]
assert all(os.path.exists(p) for p in paths), paths
assert all(f["name"] == "gator.exe" and f["label"] == "Gator" and f["definition"] == 1 for f in lines[:-1])
s = lines[-1]["summary"]
print(f"{s['found']} found, {s['examined']} examined" if s["complete"] else "incomplete")
PY
)"

for sink in /dev/full closed; do
    if [ $sink = closed ]; then scan >&- 2>"$work/err"; else scan >$sink 2>"$work/err"; fi
    check "findings that cannot be written ($sink): exit status" 2 "$?"
    check "findings that cannot be written ($sink): said" 1 "$(grep -c 'cannot write to standard output' "$work/err")"
done
"$scanner" --definitions "$work/defs.dat" --list-definitions >/dev/full 2>/dev/null
check "a definitions list that cannot be written: exit status" 2 "$?"

for defs in $'\r\n\r\n' $'Ver1.001\r\n' $'Ver1.001\r\nno separator\r\n|No name\r\n'; do
    printf '%s' "$defs" > "$work/none.dat"
    "$scanner" --definitions "$work/none.dat" "$work/tree" >/dev/null 2>"$work/err"
    check "no definition after the header: exit status" 2 "$?"
    check "no definition after the header: said" "tarnwk-scan: $work/none.dat holds no definitions after its header" "$(cat "$work/err")"
done
printf '\xff\xfeV\x00e\x00r\x00\r\ngator.exe|Gator\r\n' > "$work/utf16.dat"
"$scanner" --definitions "$work/utf16.dat" "$work/tree" >/dev/null 2>"$work/err"
check "a header that is not Ver and a number: warned once" 1 "$(grep -c 'warning: .* does not begin with Ver' "$work/err")"
"$scanner" --definitions= "$work/tree" >/dev/null 2>&1
check "--definitions= with no file: exit status" 2 "$?"

check "--version" "tarnwk-scan 1.1 (1.01.0068)
definitions: $work/defs.dat, version 1.001" "$("$scanner" --definitions "$work/defs.dat" --version)"
check "--quiet prints the findings only" "" "$(scan --quiet 2>&1 >/dev/null)"

mkdir -p "$work/c1/"$'\xc2\x80'"/"$'\xc2\x9f\xc2\xa0' && touch "$work/c1/"$'\xc2\x80'"/"$'\xc2\x9f\xc2\xa0'"/gator.exe"
check "the first and last C1 controls are escaped, what follows them is not" \
      "$work/c1/\\xc2\\x80/\\xc2\\x9f"$'\xc2\xa0'"/gator.exe > Gator" \
      "$("$scanner" --definitions "$work/defs.dat" "$work/c1" 2>/dev/null)"

for i in $(seq 300); do touch "$work/tree/file$i"; done
script -qfec "$(printf '%q ' "$scanner" --definitions "$work/defs.dat" "$work/tree")" /dev/null >"$work/tty" 2>&1
check "on a terminal: a progress line, erased before the summary" yes "$(python3 - "$work/tty" <<'PY'
import re, sys
out = open(sys.argv[1], "rb").read()
drawn = re.search(rb"\r\x1b\[K\d+ folders, \d+ files, \d+ found: ", out)
erased = re.search(rb"\r\x1b\[Ktarnwk-scan: 303 files examined", out)
print("yes" if drawn and erased else repr(out[-300:]))
PY
)"
scan >/dev/null 2>"$work/err"
check "not on a terminal: no progress line" 0 "$(grep -c $'\x1b' "$work/err")"

[ "$failures" -eq 0 ]
