#!/usr/bin/env bash
# HV_DownloadVerify against a misbehaving local server, a few hundred seeded
# runs; prints a table per fault. Exits nonzero when an invariant fails.
# Usage: scripts/fault-matrix.sh [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."

[ -f build/mingw/build.ninja ] || cmake --preset mingw
cmake --build --preset mingw -j2 --target fault_matrix

# One wineserver for the run; Wine's background services are started
# detached, so that they do not hold this script's output open.
wine_run=build/mingw/wine-run.sh
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
export WINEPREFIX="$PWD/build/mingw/wineprefix"
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k || true' EXIT
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

timeout 600 "$wine_run" build/mingw/bin/fault_matrix.exe "$@"
