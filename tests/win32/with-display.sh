#!/usr/bin/env bash
# Runs a command with an X display of its own (Xvfb), stopped afterwards.
# Xvfb picks a free display itself and names it once it accepts clients, so
# two of these started at the same moment never share one.
set -euo pipefail
named=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$named" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; rm -f "$named"' EXIT
for _ in $(seq 100); do [ -s "$named" ] && break; sleep 0.1; done
display=$(head -n 1 "$named")
[ -n "$display" ] || { echo "with-display.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$display" "$@"
