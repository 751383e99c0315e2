#!/usr/bin/env bash
# Installs the Debian packages that building and testing Hovrel need, and any
# named as arguments (the benchmark scripts and the pictures' window manager
# and fonts add theirs), only those missing.
set -euo pipefail

packages=(
    cmake ninja-build
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64
    googletest
    clang libclang-rt-14-dev lld
    openssl libssl-dev python3
    nsis zip wixl osslsigncode
    xvfb imagemagick
    "$@"
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
