#!/usr/bin/env bash
# HV_DownloadVerify against a misbehaving local server, a few hundred seeded
# runs; prints a table per fault. Exits nonzero when an invariant fails.
# Usage: scripts/fault-matrix.sh [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target fault_matrix

source scripts/wine-session.sh
timeout 600 "$wine_run" build/mingw/bin/fault_matrix.exe "$@"
