#!/usr/bin/env bash
# 1,000 sequential verified downloads, then 8 threads for SECONDS (default
# 180), sampling handles and memory. Exits nonzero on a wrong result or a
# handle drift.
# Usage: scripts/soak.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-180}"

[ -f build/mingw/build.ninja ] || cmake --preset mingw
cmake --build --preset mingw -j2 --target soak

# One wineserver for the run; Wine's background services are started
# detached, so that they do not hold this script's output open.
wine_run=build/mingw/wine-run.sh
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
export WINEPREFIX="$PWD/build/mingw/wineprefix"
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k || true' EXIT
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

timeout $((seconds + 600)) "$wine_run" build/mingw/bin/soak.exe "$seconds"
