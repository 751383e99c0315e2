#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the layout, builds the
# consumer project against it with find_package(Hovrel), and again with the
# source tree added by add_subdirectory, and runs both under Wine.
# Arguments: build dir, source dir, objdump, nm, project version.
set -euo pipefail
build=$1 source=$2 objdump=$3 nm=$4 version=$5

scratch=$(mktemp -d "$build/package-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/Hovrel.dll bin/hovrel-update.exe lib/libHovrel.dll.a lib/Hovrel.lib \
    include/hovrel.h lib/cmake/Hovrel/HovrelConfig.cmake lib/cmake/Hovrel/HovrelConfigVersion.cmake; do
    if [ ! -f "$prefix/$file" ]; then
        echo "missing from the installed tree: $file"
        exit 1
    fi
done

# Both import libraries name every export of the DLL.
exports=$(sed -n 's/^[[:space:]]*\(HV_[A-Za-z]*\).*/\1/p' "$source/src/interface/hovrel.def")
[ -n "$exports" ]
for library in lib/Hovrel.lib lib/libHovrel.dll.a; do
    symbols=$("$nm" "$prefix/$library")
    for name in $exports; do
        if ! grep -q "__imp_$name\$" <<<"$symbols"; then
            echo "$library lacks the import of $name"
            exit 1
        fi
    done
done

# Configures, builds and runs the consumer in folder $1 with the CMake options
# that follow.
consume() {
    local folder=$scratch/$1
    shift
    cmake -S "$source/tests/package/consumer" -B "$folder" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$folder" >/dev/null

    # Linked through the import library: the program imports Hovrel.dll by name.
    # Not grep -q: quitting at the match can kill objdump with SIGPIPE, which
    # pipefail reports as a failure.
    "$objdump" -p "$folder/consumer.exe" | grep "DLL Name: Hovrel.dll" >/dev/null

    # Into a file: Wine's background services may keep a pipe open. The lines
    # it prints decide, and say what failed.
    "$build/wine-run.sh" "$folder/consumer.exe" </dev/null >"$folder/output.txt" 2>&1 || true
    cat "$folder/output.txt"
    if ! tr -d '\r' <"$folder/output.txt" | grep -x "consumer: Hovrel $version" >/dev/null; then
        echo "the consumer's Hovrel is not the project's version $version"
        exit 1
    fi
    tr -d '\r' <"$folder/output.txt" | grep -x "consumer: ok" >/dev/null
}

# Hovrel_DIR, because the cross toolchain confines package searches to the
# MinGW root; a native Windows build finds it through CMAKE_PREFIX_PATH.
consume installed -DHovrel_DIR="$prefix/lib/cmake/Hovrel"

# Added to another project, Hovrel leaves out its tests and everything they need.
consume subdirectory -DHOVREL_SOURCE_DIR="$source"
if ninja -C "$scratch/subdirectory" -t targets all | grep '^gtest' >/dev/null; then
    echo "added by add_subdirectory, Hovrel still configures its tests"
    exit 1
fi
