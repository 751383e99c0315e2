#!/usr/bin/env bash
# The test command: installs what is missing, builds both presets and runs
# both test suites. Fails on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in native mingw; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
done

ctest --preset native

source scripts/wine-session.sh
ctest --preset mingw
