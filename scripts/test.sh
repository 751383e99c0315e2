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

# One wineserver for the whole Windows run, instead of one per test program.
wine_run=build/mingw/wine-run.sh
"$wine_run" cmd.exe /c exit >/dev/null 2>&1 || true
export WINEPREFIX="$PWD/build/mingw/wineprefix"
wineserver -w
wineserver -p
trap 'wineserver -k || true' EXIT
ctest --preset mingw
