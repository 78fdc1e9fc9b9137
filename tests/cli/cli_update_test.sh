#!/usr/bin/env bash
# tarnwk-scan --update against a static web server on loopback.
set -u
scanner=$1
source "$(dirname "$0")/check.sh"

mkdir -p "$work/site/products/twk" "$work/app"
printf 'Ver2.005\r\nold.exe|Old\r\n' > "$work/app/ref.dat"
printf 'mine' > "$work/app/upd.txt"  # a file of the user's
printf 'Ver2.010\r\nnew.exe|New\r\n' > "$work/site/products/twk/ref.dat"
printf '2.005\r\n' > "$work/site/products/twk/version.txt"

serve_folder "$work/site"
export TARNWK_SERVER="http://127.0.0.1:$port/"

out=$("$scanner" --definitions "$work/app/ref.dat" --update 2>&1); status=$?
check "up to date: exit status" 0 "$status"
check "up to date: what happened" "tarnwk-scan: definitions are up to date (version 2.005)" "$out"

printf '2.01\r\n' > "$work/site/products/twk/version.txt"
out=$("$scanner" --definitions "$work/app/ref.dat" --update 2>&1); status=$?
check "newer: exit status" 0 "$status"
check "newer: what happened" "tarnwk-scan: definitions updated from version 2.005 to 2.01" "$out"
check "newer: the file is replaced" "Ver2.010" "$(head -c 8 "$work/app/ref.dat")"
check "no temporary files left, the user's own kept" "ref.dat upd.txt mine" "$(echo $(ls -A "$work/app") $(cat "$work/app/upd.txt"))"

printf '3\r\n' > "$work/site/products/twk/version.txt"
printf '<html>Error</html>' > "$work/site/products/twk/ref.dat"
"$scanner" --definitions "$work/app/ref.dat" --update >/dev/null 2>&1
check "invalid download: exit status" 2 "$?"
check "invalid download: the old file is kept" "Ver2.010" "$(head -c 8 "$work/app/ref.dat")"

touch "$work/hit.exe"
printf 'Ver3.000\r\nhit.exe|Hit\r\n' > "$work/site/products/twk/ref.dat"
out=$("$scanner" --definitions "$work/app/ref.dat" --update "$work" 2>/dev/null); status=$?
check "update then scan with the new definitions" "tarnwk-scan: definitions updated from version 2.01 to 3
$work/hit.exe > Hit" "$out"
check "update then scan: exit status" 1 "$status"

printf '4\r\n' > "$work/site/products/twk/version.txt"
printf 'Ver1.000\r\nolder.exe|Older\r\n' > "$work/site/products/twk/ref.dat"
out=$("$scanner" --definitions "$work/app/ref.dat" --update 2>&1); status=$?
check "an older file is never installed: exit status" 2 "$status"
check "an older file is never installed: said" "tarnwk-scan: the definitions served are version 1, not newer than the local ones; version 3 is kept" "$out"

printf 'Ver4.000\r\nnewest.exe|Newest\r\n' > "$work/site/products/twk/ref.dat"
mkdir "$work/fresh"
printf '\xef\xbb\xbfVer1.000\r\n' > "$work/fresh/bom.dat"
for local in missing.dat bom.dat; do
    out=$("$scanner" --definitions "$work/fresh/$local" --update 2>&1); status=$?
    check "a local file without a version is repaired ($local): exit status" 0 "$status"
    notice=" is missing"
    [ "$local" = bom.dat ] && notice=" declares no version (its first field must be Ver and a number)"
    check "a local file without a version is repaired ($local): the fault told" \
          "tarnwk-scan: $work/fresh/$local$notice; the published definitions take its place" "$(head -n 1 <<<"$out")"
    check "a local file without a version is repaired ($local): said" "definitions version 4 installed" "${out##*tarnwk-scan: }"
    check "a local file without a version is repaired ($local): the file" "Ver4.000" "$(head -c 8 "$work/fresh/$local")"
done

kill "$server_pid"; wait "$server_pid" 2>/dev/null; server_pid=""
"$scanner" --definitions "$work/app/ref.dat" --update >/dev/null 2>&1
check "server down: exit status" 2 "$?"

# A transfer ends cleanly on SIGTERM: a server that accepts and never answers.
python3 -c 'import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen()
print(s.getsockname()[1], flush=True); c = s.accept(); time.sleep(60)' > "$work/silent.port" &
silent_pid=$!
for _ in $(seq 50); do [ -s "$work/silent.port" ] && break; sleep 0.1; done
TARNWK_SERVER="http://127.0.0.1:$(cat "$work/silent.port")" "$scanner" --definitions "$work/app/ref.dat" --update >/dev/null 2>&1 &
update_pid=$!
sleep 0.5
started=$(date +%s%N)
kill -TERM "$update_pid"; wait "$update_pid"; status=$?
kill "$silent_pid" 2>/dev/null
check "SIGTERM during a transfer: it ends at once" 143 "$status"
check "SIGTERM during a transfer: within a second" yes "$( [ $(( ($(date +%s%N) - started) / 1000000 )) -lt 1000 ] && echo yes)"
check "SIGTERM during a transfer: nothing left behind" "ref.dat upd.txt" "$(echo $(ls -A "$work/app"))"

[ "$failures" -eq 0 ]
