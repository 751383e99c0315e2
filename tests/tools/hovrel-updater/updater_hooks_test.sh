#!/usr/bin/env bash
# The test hooks live only in hovrel-updater-test.exe: the installed
# hovrel-updater.exe, run with every hook variable set, presses no key and
# writes no log, while the test build from the same sources does both. The
# window needs a display: Xvfb, and a Wine prefix of this test's own (a
# prefix whose wineserver started without a display cannot show it).
# Arguments: the build directory.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"

cmake --install "$build" --prefix "$scratch/installed" >/dev/null
installed=$scratch/installed/bin/hovrel-updater.exe
[ -f "$installed" ] || fail "the install has no bin/hovrel-updater.exe"
[ ! -e "$scratch/installed/bin/hovrel-updater-test.exe" ] || fail "hovrel-updater-test.exe is installed"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; WINEPREFIX=$scratch/prefix wineserver -k 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
DISPLAY=:$(head -n1 "$scratch/display")
export DISPLAY WINEPREFIX=$scratch/prefix
wineboot -i >/dev/null 2>&1

manifest offer
manifest current version=1.0.0
# hooked PROGRAM [MANIFEST OPTIONS...]: the window's exit status after at
# most 30 s (124: still open) and the pages it logged, when the hooks ask it
# to leave the offer with Escape (cancelled: 6). MANIFEST: offer unless given.
hooked() {
    local log=$scratch/pages.txt status=0 program=$1 name=${2:-offer}
    shift $(($# < 2 ? $# : 2))
    rm -f "$log"
    HOVREL_UPDATER_TEST_LOG=$(windows_path "$log") HOVREL_UPDATER_TEST_KEYS=offer=escape@300 \
        HOVREL_UPDATER_TEST_PAGE_MS=100 timeout 30 wine "$program" update \
        --manifest "$base/$name.json" --installed 1.0.0 --allow-unsigned "$@" </dev/null \
        >/dev/null 2>&1 || status=$?
    wineserver -k 2>/dev/null || true
    echo "exit $status, pages: $( (tr '\n' ' ' <"$log") 2>/dev/null)"
}
with_hooks=$(hooked "$build/bin/hovrel-updater-test.exe")
# The checking page is shown again with the --allow-unsigned warning.
case $with_hooks in "exit 6, pages: checking "*"offer ") echo "ok: test build: $with_hooks" ;;
*) fail "hovrel-updater-test.exe did not take the hooks: $with_hooks" ;; esac
# With a display, --quiet-if-current still shows no page when no update applies.
quiet=$(hooked "$build/bin/hovrel-updater-test.exe" current --quiet-if-current)
case $quiet in "exit 0, pages: ") echo "ok: quiet and current: $quiet" ;;
*) fail "--quiet-if-current showed the window: $quiet" ;; esac
without=$(hooked "$installed")
case $without in "exit 124, pages: ") echo "ok: installed program: $without" ;;
*) fail "the installed hovrel-updater.exe honoured a test hook: $without" ;; esac

finish
