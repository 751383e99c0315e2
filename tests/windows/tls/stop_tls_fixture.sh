#!/usr/bin/env bash
# Stops the TLS servers that start_tls_fixture.sh started.
set -euo pipefail
state=$1
if [ -f "$state/server.pid" ]; then
    kill "$(cat "$state/server.pid")" 2>/dev/null || true
    rm -f "$state/server.pid"
fi
