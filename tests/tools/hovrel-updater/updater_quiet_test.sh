#!/usr/bin/env bash
# hovrel-updater under Wine where it must show no window: --help and a bad
# command line go to the redirected output, and --quiet-if-current ends
# silently with hovrel-update's exit codes when no update is offered. No
# display is needed: a window would hang the run until the time limit.
# Arguments: the build directory.
set -euo pipefail
build=$1
tool=$build/bin/hovrel-updater.exe
source "$(dirname "$0")/../../support/host_programs.sh"
source "$(dirname "$0")/../../support/keys.sh"

manifest all rollout:=100
manifest nobody rollout:=0
new_key "$scratch/key"
key=$(windows_path "$scratch/key.pub.pem")

expect 0 "--quiet-if-current     no window at all" "$tool" --help
expect 0 "--name TEXT" "$tool" --help
expect 1 "hovrel-updater: unknown option --bogus" "$tool" update --bogus

# silent EXIT ARGS...: no window, no output, the exit code.
silent() {
    local want=$1
    shift
    local status=0
    timeout 60 "$wine_run" "$tool" "$@" --quiet-if-current </dev/null >"$scratch/output.txt" 2>&1 ||
        status=$?
    if [ "$status" -ne "$want" ] || [ -s "$scratch/output.txt" ]; then
        fail "hovrel-updater $*: wanted a silent exit $want, got exit $status:"
        sed 's/^/    /' "$scratch/output.txt"
    else
        echo "ok: silent exit $status: $*"
    fi
}
silent 0 update --manifest "$base/all.json" --installed 2.0.0 --allow-unsigned
silent 0 update --manifest "$base/nobody.json" --installed 1.0.0 --allow-unsigned --machine-id alpha
silent 2 update --manifest "$base/missing.json" --installed 1.0.0 --allow-unsigned
silent 9 update --manifest "$base/all.json" --installed 1.0.0 --public-key "$key"
silent 0 check --manifest "$base/all.json" --installed 2.0.0

finish
