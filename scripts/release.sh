#!/usr/bin/env bash
# Builds the mingw preset and packs the installed tree as
# build/release/Hovrel-<version>-win64.zip, with SHA256SUMS beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset mingw >/dev/null
cmake --build --preset mingw

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)
if [ -z "$version" ]; then
    echo "release: no project version in build/mingw/CMakeCache.txt" >&2
    exit 1
fi
name=Hovrel-$version-win64
out=$root/build/release
staging=$out/$name
rm -rf "$out"
mkdir -p "$out"

cmake --install build/mingw --prefix "$staging" >/dev/null
cp README.md "$staging/"
mkdir -p "$staging/doc"
cp docs/integration.md "$staging/doc/"

# Fixed times and order, so that the same tree gives the same archive.
find "$staging" -exec touch -h -d "@$(git log -1 --format=%ct)" {} +
(cd "$out" && find "$name" | LC_ALL=C sort | zip -q -X -D "$name.zip" -@)
(cd "$out" && sha256sum "$name.zip" >SHA256SUMS)
rm -rf "$staging"

echo "$out/$name.zip"
cat "$out/SHA256SUMS"
