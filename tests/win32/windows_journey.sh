#!/usr/bin/env bash
# The real tarnwk.exe under wine, in a prefix of its own: start, a second
# start, a quick scan of the prefix's Windows folder with a finding planted
# in it, Quarantine, newer definitions from a server on the loopback
# interface, Exit from the tray menu; then the files on disk and the
# settings in the registry. Prints the start-up time and the scan time of a
# generated tree next to tarnwk-scan.exe's.
# Usage: windows_journey.sh BIN_DIR|ZIP [PICTURE_FOLDER]  (needs DISPLAY)
# BIN_DIR holds the built programs, windows_journey.exe and ref.dat; a zip
# from scripts/package-windows is unpacked as a user would, and the driver
# is taken from beside it or from the Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
pictures=${2:-}
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wineboot -i </dev/null >/dev/null 2>&1
drive=$WINEPREFIX/drive_c
fail() { echo "FAILED: $*"; exit 1; }

if [[ $1 == *.zip ]]; then
    zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    (cd "$drive" && cmake -E tar xf "$zip")
    driver=${TARNWK_JOURNEY_DRIVER:-$root/build-windows/bin/windows_journey.exe}
else
    bin=$(cd "$1" && pwd)
    mkdir -p "$drive/Tarnwick"
    cp "$bin/tarnwk.exe" "$bin/tarnwk-scan.exe" "$bin/ref.dat" "$drive/Tarnwick/"
    driver=$bin/windows_journey.exe
fi
# The quick scan walks the Windows folder: the finding goes there, beside a
# generated tree of 20,000 plain files for the timings.
mkdir -p "$drive/windows/twkjourney/Downloads"
echo unwanted >"$drive/windows/twkjourney/Downloads/gator.exe"
echo kept >"$drive/windows/twkjourney/Downloads/notes.txt"
# A count an earlier install left under the key where the program has
# always kept its settings: carried on.
wine reg add 'HKCU\Software\VB and VBA Program Settings\Tarnwick\SETTINGS' \
    /v TOTALOBJECTSREMOVED /t REG_SZ /d 41 /f </dev/null >/dev/null
python3 - "$drive/windows/twkbench" <<'PY'
import os, sys
for a in range(100):
    folder = os.path.join(sys.argv[1], f"f{a:03}")
    os.makedirs(folder)
    for b in range(200):
        open(os.path.join(folder, f"file{b:03}.txt"), "w").close()
PY

# The command-line scanner over the same Windows folder, for comparison.
scan_with_cli() {
    local start
    start=$(date +%s%N)
    wine 'C:\Tarnwick\tarnwk-scan.exe' 'C:\windows' </dev/null >"$work/scan.txt" || true
    echo "tarnwk-scan.exe over the same folder ($1): $(( ($(date +%s%N) - start) / 1000000 )) ms"
}
scan_with_cli "before the desktop program"

# The maker's server on the loopback interface, with newer definitions.
mkdir -p "$work/server/products/twk"
echo "1.002" >"$work/server/products/twk/version.txt"
{ printf 'Ver1.002\r\n'; tail -c +11 "$drive/Tarnwick/ref.dat"; } >"$work/server/products/twk/ref.dat"
python3 - "$work/server" "$work/port" <<'PY' &
import functools, http.server, sys
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=sys.argv[1]))
open(sys.argv[2], "w").write(str(server.server_port))
server.serve_forever()
PY
server=$!
trap 'kill $server 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
export TARNWK_SERVER=http://127.0.0.1:$(cat "$work/port")

winpictures=
if [ -n "$pictures" ]; then
    mkdir -p "$pictures"
    winpictures=$(winepath -w "$pictures")
fi
wine "$driver" 'C:\Tarnwick\tarnwk.exe' $winpictures </dev/null

quarantined=$drive/Tarnwick/Quarantine/gator.exe
[ -f "$quarantined" ] || fail "the finding is in the quarantine folder"
[ "$(cat "$quarantined")" = unwanted ] || fail "the quarantined copy is whole"
[ ! -e "$drive/windows/twkjourney/Downloads/gator.exe" ] || fail "the finding is gone"
[ -f "$drive/windows/twkjourney/Downloads/gator.TWK" ] || fail "a backup stays beside it"
[ -f "$drive/windows/twkjourney/Downloads/notes.txt" ] || fail "other files stay"
[ -d "$drive/Tarnwick/Reports" ] || fail "the reports folder is made"
[ "$(head -c 8 "$drive/Tarnwick/ref.dat")" = Ver1.002 ] || fail "the new definitions are in place"
[ ! -e "$drive/Tarnwick/ref.tmp" ] && [ ! -e "$drive/Tarnwick/upd.txt" ] || fail "no download is left"
settings=$(wine reg query 'HKCU\Software\VB and VBA Program Settings\Tarnwick\SETTINGS' </dev/null | tr -d '\r')
echo "$settings"
grep -Eq 'SCANCOUNT +REG_SZ +1$' <<<"$settings" || fail "one scan counted"
grep -Eq 'TOTALOBJECTSREMOVED +REG_SZ +42$' <<<"$settings" || fail "one object removed, after 41 of before"
grep -Eq 'LASTRUN +REG_SZ +.+' <<<"$settings" || fail "the last run is stored"
run=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Tarnwick </dev/null | tr -d '\r')
echo "$run"
grep -Fq 'REG_SZ    "C:\Tarnwick\tarnwk.exe"' <<<"$run" || fail "the Run value starts the program, quoted"
grep -Eq 'AUTORUN +REG_SZ +1$' <<<"$settings" || fail "the preference is stored"
echo "ok: files on disk and settings in the registry"

scan_with_cli "after it"
