#!/usr/bin/env bash
# Stops the TLS servers that start_tls_fixture.sh started. A recorded pid is
# killed only while it is still one of this folder's servers: pids wrap within
# minutes on a busy machine.
set -euo pipefail
state=$(cd "$1" 2>/dev/null && pwd) || exit 0
[ -f "$state/server.pids" ] || exit 0
while read -r pid; do
    if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -F -- "--port-file $state/" >/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
done <"$state/server.pids"
rm -f "$state/server.pids"
