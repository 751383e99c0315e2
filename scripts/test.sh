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

# One persistent wineserver for the whole Windows run, instead of one per test
# program. Wine's own background services are started here, detached from
# ctest's output pipes, which they would otherwise hold open.
wine_run=build/mingw/wine-run.sh
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
export WINEPREFIX="$PWD/build/mingw/wineprefix"
wineserver -w
wineserver -p
trap 'wineserver -k || true' EXIT
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
ctest --preset mingw
