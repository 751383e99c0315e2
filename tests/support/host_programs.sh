# Sourced by the scripts that run a host program end to end under Wine.
# Caller sets: build (the build folder), and tool when it is not hovrel-update.
# Provides: wine_run and the build's Wine environment, tool, scratch (removed
# on exit), site (served over http at $base) with the stand-in installer as
# setup.exe, manifest, record, recorded and recorded_copy, requests (the
# server's log of request lines), windows_path, expect, expect_tool,
# expect_file, fail, finish.
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
source "$(dirname "${BASH_SOURCE[0]}")/manifests.sh"
tool=${tool:-$build/bin/hovrel-update.exe}
recorder=$build/bin/installer_recorder.exe
source "$(dirname "${BASH_SOURCE[0]}")/../server/serve.sh"

scratch=$(mktemp -d "$build/host-test.XXXXXX")
site=$scratch/site
mkdir -p "$site"
cleanup() {
    stop_server
    rm -rf "$scratch"
}
trap cleanup EXIT

requests=$scratch/requests.log
serve_folder "$site" "$scratch" --request-log "$requests"
base=http://127.0.0.1:$server_port

# The stand-in installer records its command line in $record and exits with
# HOVREL_RECORDER_EXIT.
cp "$recorder" "$site/setup.exe"
record=$scratch/command-line.txt
export HOVREL_RECORDER_OUT
HOVREL_RECORDER_OUT=$(windows_path "$record")
recorded() { iconv -f UTF-16LE -t UTF-8 "$record" 2>/dev/null || true; }
# The same with the folder of an elevated installer's protected copy written
# as <copy>: Wine runs every host elevated, so every installer starts there.
recorded_copy() { recorded | sed -E 's/C:\\windows\\Temp\\hovrel-[0-9a-f]{24}\\/<copy>\\/g'; }

# expect EXIT TEXT PROGRAM ARGS...: PROGRAM exits with EXIT and prints TEXT.
expect() {
    local want=$1 text=$2 program=$3
    shift 3
    local status=0
    "$wine_run" "$program" "$@" </dev/null >"$scratch/output.txt" 2>&1 || status=$?
    if [ "$status" -ne "$want" ] || ! tr -d '\r' <"$scratch/output.txt" | grep -F -- "$text" >/dev/null; then
        fail "$(basename "$program") $*"
        echo "  wanted exit $want and \"$text\", got exit $status:"
        sed 's/^/    /' "$scratch/output.txt"
    else
        echo "ok: exit $status, \"$text\": $*"
    fi
}

# expect_tool EXIT TEXT ARGS...: hovrel-update ARGS, then the caller's tool_options.
tool_options=()
expect_tool() {
    local want=$1 text=$2
    shift 2
    expect "$want" "$text" "$tool" "$@" "${tool_options[@]}"
}

expect_file() { # present|absent PATH
    if { [ "$1" = present ] && [ ! -f "$2" ]; } || { [ "$1" = absent ] && [ -e "$2" ]; }; then
        fail "$2 should be $1"
    fi
}
