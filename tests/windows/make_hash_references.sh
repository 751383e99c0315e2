#!/bin/bash
# Writes files of sizes around the hash block and read-buffer boundaries into
# the directory $1, and their digests as computed by coreutils into
# $1/sha256sums.txt, so the DLL is checked against an independent hasher.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f size_* sha256sums.txt
for size in 0 1 55 56 63 64 65 65535 65536 65537 131072 3145733; do
    head -c "$size" /dev/urandom >"size_$size.bin"
done
sha256sum size_*.bin >sha256sums.txt.tmp
mv sha256sums.txt.tmp sha256sums.txt
