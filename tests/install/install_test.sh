#!/usr/bin/env bash
# Tarnwick installed with cmake --install into a prefix nobody but root may
# write: the files, the desktop entry, metainfo and timer are valid, and a
# normal user's scans, update and desktop program keep to the user's data
# folder.
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../cli/check.sh"
prefix=$work/prefix
home=$work/home
data=$home/data

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAILED: cmake --install"; exit 1; }
check "the installed files" "$(cat "$here/installed-files.txt")" \
    "$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)"

entry=$prefix/share/applications/org.tarnwick.Tarnwick.desktop
check "the desktop entry is valid" "" "$(desktop-file-validate "$entry" 2>&1)"
check "the desktop entry starts the program with its icon" "Exec=tarnwk Icon=org.tarnwick.Tarnwick" \
    "$(echo $(grep -E '^(Exec|Icon)=' "$entry"))"
metainfo=$prefix/share/metainfo/org.tarnwick.Tarnwick.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1
check "the metainfo is valid" "0" "$?"

units=$prefix/lib/systemd/user
check "the update service runs the installed scanner" "ExecStart=$prefix/bin/tarnwk-scan --update" \
    "$(grep '^ExecStart=' "$units/tarnwick-update.service")"
if command -v systemd-analyze >/dev/null; then
    mkdir -m 700 "$work/runtime"
    # Without complaint: unknown keys are only warned about. MANPATH lets it
    # find the manual page the units name.
    out=$(cd "$units" && XDG_RUNTIME_DIR=$work/runtime MANPATH=$prefix/share/man \
          systemd-analyze --user verify tarnwick-update.timer tarnwick-update.service 2>&1)
    check "the timer and the service verify cleanly" "0:" "$?:$out"
else
    echo "skipped: systemd-analyze is not installed"
fi

# A normal user, and a prefix only root may change.
mkdir -m 700 "$home" "$work/user-runtime"
chmod 755 "$work"
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$home" "$work/user-runtime"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
    chmod -R a-w "$prefix"
    as_user=()
fi
user_env=(env HOME="$home" XDG_DATA_HOME="$data" XDG_CONFIG_HOME="$home/config"
          XDG_RUNTIME_DIR="$work/user-runtime")
run() { "${user_env[@]}" "${as_user[@]}" "$@"; }
fingerprint() { (cd "$prefix" && find . -exec stat -c '%n %a %U %s %Y' {} + | LC_ALL=C sort); }
installed=$(fingerprint)

# The first definition that came with the program, found in a small tree.
first=$(run "$prefix/bin/tarnwk-scan" --list-definitions | sed -n 2p)
mkdir -p "$work/tree/sub"
touch "$work/tree/sub/${first%%|*}" "$work/tree/readme.txt"
out=$(run "$prefix/bin/tarnwk-scan" "$work/tree" 2>/dev/null); status=$?
check "a scan with the installed definitions" "$work/tree/sub/${first%%|*} > ${first#*|}" "$out"
check "a scan with the installed definitions: exit status" 1 "$status"
installed_version=$(run "$prefix/bin/tarnwk-scan" --version | sed -n 's/.*, version //p')
check "the definitions in use are the installed ones" \
    "definitions: $prefix/share/tarnwick/ref.dat, version $installed_version" \
    "$(run "$prefix/bin/tarnwk-scan" --version | sed -n 2p)"

mkdir -p "$work/site/products/twk"
printf 'Ver9.999\r\nnewcomer.exe|Newcomer\r\n' > "$work/site/products/twk/ref.dat"
printf '9.999\r\n' > "$work/site/products/twk/version.txt"
serve_folder "$work/site"
out=$(TARNWK_SERVER="http://127.0.0.1:$port" run "$prefix/bin/tarnwk-scan" --update 2>&1); status=$?
check "update: exit status" 0 "$status"
check "update: what happened" \
    "tarnwk-scan: definitions updated from version $installed_version to 9.999" "$out"
check "update: the one file written is in the data folder" "./data/Tarnwick/ref.dat" \
    "$(cd "$home" && find . ! -type d)"
check "update: the installed files are unchanged" "$installed" "$(fingerprint)"
check "the next run uses the downloaded definitions" "definitions: $data/Tarnwick/ref.dat, version 9.999" \
    "$(run "$prefix/bin/tarnwk-scan" --version | sed -n 2p)"
touch "$work/tree/newcomer.exe"
out=$(run "$prefix/bin/tarnwk-scan" --quiet "$work/tree")
check "the next scan uses the downloaded definitions" "$work/tree/newcomer.exe > Newcomer" "$out"

# The desktop program sets up its data folder at start; it is ended then.
"${user_env[@]}" QT_QPA_PLATFORM=offscreen TARNWK_SERVER="http://127.0.0.1:$port" \
    "${as_user[@]}" timeout 60 "$prefix/bin/tarnwk" >"$work/desktop.log" 2>&1 &
desktop_pid=$!
for _ in $(seq 200); do
    [ -d "$data/Tarnwick/Quarantine" ] && [ -d "$data/Tarnwick/Reports" ] && break
    kill -0 "$desktop_pid" 2>/dev/null || break
    sleep 0.1
done
check "the desktop program creates Quarantine and Reports in the data folder" "Quarantine Reports ref.dat" \
    "$(cd "$data/Tarnwick" && echo *)"
[ -d "$data/Tarnwick/Reports" ] || cat "$work/desktop.log"
kill "$desktop_pid" 2>/dev/null
wait "$desktop_pid" 2>/dev/null
check "the desktop program leaves the installed files unchanged" "$installed" "$(fingerprint)"

[ "$failures" -eq 0 ]
