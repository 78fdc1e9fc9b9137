# Sourced by the command-line and install tests: a work folder removed at the
# end (with any server started here), a loopback web server, and a check that
# compares and counts failures.
work=$(mktemp -d)
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Serves FOLDER on a free loopback port; sets server_pid and port.
serve_folder() {
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$1" >"$work/server.log" 2>&1 &
    server_pid=$!
    port=""
    for _ in $(seq 50); do
        port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
        [ -n "$port" ] && break
        sleep 0.1
    done
}

failures=0
check() {  # description, expected, actual
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAILED: $1"
        echo "  expected: $(printf '%q' "$2")"
        echo "  actual:   $(printf '%q' "$3")"
        failures=$((failures + 1))
    fi
}
