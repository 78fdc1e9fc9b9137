#!/usr/bin/env bash
# tarnwk-scan --update against a static web server on loopback.
set -u
scanner=$1
work=$(mktemp -d)
server_pid=""
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
source "$(dirname "$0")/check.sh"

mkdir -p "$work/site/products/twk" "$work/app"
printf 'Ver2.005\r\nold.exe|Old\r\n' > "$work/app/ref.dat"
printf 'Ver2.010\r\nnew.exe|New\r\n' > "$work/site/products/twk/ref.dat"
printf '2.005\r\n' > "$work/site/products/twk/version.txt"

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" > "$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
    port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
done
export TARNWK_SERVER="http://127.0.0.1:$port/"

out=$("$scanner" --definitions "$work/app/ref.dat" --update 2>&1); status=$?
check "up to date: exit status" 0 "$status"
check "up to date: what happened" "tarnwk-scan: definitions are up to date (version 2.005)" "$out"

printf '2.01\r\n' > "$work/site/products/twk/version.txt"
out=$("$scanner" --definitions "$work/app/ref.dat" --update 2>&1); status=$?
check "newer: exit status" 0 "$status"
check "newer: what happened" "tarnwk-scan: definitions updated from version 2.005 to 2.01" "$out"
check "newer: the file is replaced" "Ver2.010" "$(head -c 8 "$work/app/ref.dat")"
check "no temporary files left" "ref.dat" "$(ls -A "$work/app")"

printf '3\r\n' > "$work/site/products/twk/version.txt"
printf '<html>Error</html>' > "$work/site/products/twk/ref.dat"
"$scanner" --definitions "$work/app/ref.dat" --update >/dev/null 2>&1
check "invalid download: exit status" 2 "$?"
check "invalid download: the old file is kept" "Ver2.010" "$(head -c 8 "$work/app/ref.dat")"

touch "$work/hit.exe"
printf 'Ver2.010\r\nhit.exe|Hit\r\n' > "$work/site/products/twk/ref.dat"
out=$("$scanner" --definitions "$work/app/ref.dat" --update "$work" 2>/dev/null); status=$?
check "update then scan with the new definitions" "tarnwk-scan: definitions updated from version 2.01 to 3
$work/hit.exe > Hit" "$out"
check "update then scan: exit status" 1 "$status"

kill "$server_pid"; wait "$server_pid" 2>/dev/null; server_pid=""
"$scanner" --definitions "$work/app/ref.dat" --update >/dev/null 2>&1
check "server down: exit status" 2 "$?"

[ "$failures" -eq 0 ]
