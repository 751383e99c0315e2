#!/usr/bin/env bash
# 1,000 sequential verified downloads, then 8 threads for SECONDS (default
# 180), sampling handles and memory. Exits nonzero on a wrong result or a
# handle drift.
# Usage: scripts/soak.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-180}"

bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target soak

source scripts/wine-session.sh
timeout $((seconds + 600)) "$wine_run" build/mingw/bin/soak.exe "$seconds"
