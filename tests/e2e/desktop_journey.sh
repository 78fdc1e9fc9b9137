#!/usr/bin/env bash
# The desktop program end to end under Xvfb: a quick scan of a prepared home
# folder, one finding quarantined, then the program ended; afterwards the
# files on disk and the settings file are checked.
set -u
journey=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # description, condition...
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

mkdir -p "$work/app" "$work/home/Downloads/sub" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$journey" "$work/app/tarnwk"
printf 'Ver1.001\r\ntwkdemo.exe|Demo Adware\r\n' > "$work/app/ref.dat"
printf 'unwanted' > "$work/home/Downloads/twkdemo.exe"
printf 'keep me' > "$work/home/Downloads/sub/notes.txt"

HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    QT_QPA_PLATFORM=xcb timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$work/app/tarnwk"
status=$?

check "the program ended through its Exit question" [ "$status" -eq 0 ]
check "the found file is gone" [ ! -e "$work/home/Downloads/twkdemo.exe" ]
check "the quarantine holds the file" [ "$(cat "$work/app/Quarantine/twkdemo.exe" 2>/dev/null)" = "unwanted" ]
check "the backup copy lies beside it" [ "$(cat "$work/home/Downloads/twkdemo.TWK" 2>/dev/null)" = "unwanted" ]
check "other files are untouched" [ "$(cat "$work/home/Downloads/sub/notes.txt")" = "keep me" ]
check "the Reports folder was created" [ -d "$work/app/Reports" ]
ini="$work/config/Tarnwick/Tarnwick.ini"
check "the settings file counts one scan" grep -qx 'SCANCOUNT=1' "$ini"
check "the settings file counts one removed object" grep -qx 'TOTALOBJECTSREMOVED=1' "$ini"
check "the settings file holds the scan time" grep -q '^LASTRUN=[0-9]' "$ini"
[ "$failures" -eq 0 ]
