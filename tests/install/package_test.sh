#!/usr/bin/env bash
# The Debian package from scripts/package: what it installs under /usr and
# the dependencies worked out from its programs.
set -u
package=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/../cli/check.sh"

dpkg -x "$package" "$work/root"
check "the package's files" "$(sed 's|^|usr/|' "$here/installed-files.txt")" \
    "$(cd "$work/root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)"
check "the update service runs the packaged scanner" "ExecStart=/usr/bin/tarnwk-scan --update" \
    "$(grep '^ExecStart=' "$work/root/usr/lib/systemd/user/tarnwick-update.service")"
check "the package's name and version" "tarnwick_$(dpkg-deb -f "$package" Version)_$(dpkg-deb -f "$package" Architecture).deb" \
    "$(basename "$package")"
depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
for library in libc6 libqt6widgets6 libcurl4; do
    check "depends on $library" yes "$([[ ", $depends," == *", $library"[\ ,]* ]] && echo yes)"
done
check "nothing enables the timer on installation" "" "$(dpkg-deb --ctrl-tarfile "$package" | tar -t | grep -E 'postinst')"

[ "$failures" -eq 0 ]
