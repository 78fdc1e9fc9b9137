#!/usr/bin/env bash
# Runs a command with an X display of its own (Xvfb), stopped afterwards.
# Xvfb takes a free display number itself and reports it, so runs started
# at the same time never share one.
set -euo pipefail
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
DISPLAY=":$(head -n1 "$number")" "$@"
