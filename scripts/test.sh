#!/usr/bin/env bash
# The test command: installs what is missing, builds the presets and runs
# their test suites (of the clang-built DLL, the tests of the DLL itself).
# Fails on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in native mingw mingw-clang; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
done

ctest --preset native

# Each Windows build in a session of its own prefix, one after the other.
(
    source scripts/wine-session.sh
    ctest --preset mingw
)
(
    wine_build=build/mingw-clang
    source scripts/wine-session.sh
    ctest --preset mingw-clang
)
