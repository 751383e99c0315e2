#!/usr/bin/env bash
# Runs the whole Windows test suite RUNS times in a row with no retry, the
# first run in a fresh build folder, and prints one line per run and a total.
#   bash scripts/repeat-tests.sh RUNS [--jobs N] [--load]
# --load keeps the machine busy meanwhile with repeated clean native builds
# in a scratch folder. Exits nonzero when any run failed.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:?usage: repeat-tests.sh RUNS [--jobs N] [--load]}
shift
jobs=1
load=false
while [ $# -gt 0 ]; do
    case $1 in
    --jobs) jobs=$2; shift 2 ;;
    --load) load=true; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done

bash scripts/install-deps.sh >/dev/null
logs=build/repeat-tests
rm -rf build/mingw "$logs"
mkdir -p "$logs"
cmake --preset mingw >"$logs/configure.log"
cmake --build --preset mingw >"$logs/build.log"

load_pid=
if $load; then
    cmake -S . -B build/repeat-load -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$logs/load.log"
    setsid bash -c 'while :; do cmake --build build/repeat-load --clean-first -j2; done' \
        >>"$logs/load.log" 2>&1 </dev/null &
    load_pid=$!
fi
wine_session_cleanup='[ -z "$load_pid" ] || kill -- -"$load_pid" 2>/dev/null || true'
source scripts/wine-session.sh

passed=0
failed=0
for run in $(seq "$runs"); do
    started=$SECONDS
    if ctest --preset mingw -j "$jobs" --output-on-failure >"$logs/run-$run.log" 2>&1; then
        passed=$((passed + 1))
        echo "run $run: passed in $((SECONDS - started)) s (-j$jobs, load $load)"
    else
        failed=$((failed + 1))
        echo "run $run: FAILED in $((SECONDS - started)) s (-j$jobs, load $load):" \
            "$(grep -E '^\s+[0-9]+ - ' "$logs/run-$run.log" | tr -s ' ' | tr '\n' ';')"
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
