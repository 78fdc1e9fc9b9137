#!/usr/bin/env bash
# Pictures of the real program under Xvfb for the README: the journey of the
# end-to-end test over a larger home folder, so the scan window can be caught
# while it walks. Usage: docs/take-screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/app" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$build/bin/tarnwk_journey" "$work/app/tarnwk"
{ head -c 8 "$root/data/ref.dat"; printf '\r\ntwkdemo.exe|Demo Adware\r\n'; tail -c +11 "$root/data/ref.dat"; } \
    > "$work/app/ref.dat"
# A home folder large enough for the walk to take a few seconds.
python3 - "$work/home" <<'PY'
import os, sys
home = sys.argv[1]
for a in range(80):
    for b in range(25):
        folder = os.path.join(home, f"Projects/p{a:02}/src{b:02}")
        os.makedirs(folder)
        for c in range(200):
            open(os.path.join(folder, f"file{c:03}.txt"), "w").close()
os.makedirs(os.path.join(home, "Downloads"), exist_ok=True)
open(os.path.join(home, "Downloads/twkdemo.exe"), "w").write("unwanted")
PY
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    TARNWK_SCREENSHOTS="$root/docs" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$work/app/tarnwk"
ls "$root/docs"/*.png
