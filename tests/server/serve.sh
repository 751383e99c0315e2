# Sourced by scripts: starts test_server.py and waits for its port.
#   serve_folder ROOT STATE_DIR [--tls CERT KEY] [--lifetime S] [--rate BYTES_PER_SECOND]
#                [--slow-path PATH --slow-rate R] [--reset-first K] [--stale-first K] ...
#   serve_body SIZE STATE_DIR [--lifetime S]
# set server_pid and server_port; stop_server kills the server.
hovrel_test_server=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/test_server.py

serve_in() { # STATE_DIR MODE ARGS...
    local state=$1
    shift
    rm -f "$state/port"
    python3 "$hovrel_test_server" "$@" --port-file "$state/port" \
        >"$state/server.log" 2>&1 </dev/null &
    server_pid=$!
    for _ in $(seq 200); do
        if [ -s "$state/port" ]; then
            server_port=$(head -n1 "$state/port")
            return 0
        fi
        kill -0 "$server_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "the test server did not start:" >&2
    cat "$state/server.log" >&2
    return 1
}

serve_folder() {
    local root=$1 state=$2
    shift 2
    serve_in "$state" static --root "$root" "$@"
}

serve_body() {
    local size=$1 state=$2
    shift 2
    serve_in "$state" body --size "$size" "$@"
}

stop_server() {
    if [ -n "${server_pid:-}" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
        server_pid=
    fi
}
