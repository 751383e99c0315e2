#!/usr/bin/env bash
# hovrel-updater's state under Wine: the automatic runs that show no window
# (the first one, one not due, the policy's never), then on a display of its
# own the consent page and the offer's Skip this version and Remind me
# later, through the window's test keys, read back from the registry; the
# background run that shows nothing, a refusal it tells, and apply.
# The window needs a Wine session started with the display, so this test
# restarts the prefix's wineserver and must run alone.
# Arguments: the build directory.
set -euo pipefail
build=$1
tool=$build/bin/hovrel-updater-test.exe
source "$(dirname "$0")/../../support/host_programs.sh"
product=HovrelWindowState$$
source "$(dirname "$0")/../../support/product_state.sh"

manifest current product="$product" rollout:=100
manifest required product="$product" mandatory:=true rollout:=0
auto=(update --product "$product" --auto --allow-unsigned)

# quiet EXIT TEXT ARGS...: no window; TEXT on the redirected output.
quiet() {
    local want=$1 text=$2
    shift 2
    local status=0
    timeout 60 "$wine_run" "$tool" "$@" </dev/null >"$scratch/output.txt" 2>&1 || status=$?
    if [ "$status" -ne "$want" ] ||
        { [ -n "$text" ] && ! tr -d '\r' <"$scratch/output.txt" | grep -qF -- "$text"; }; then
        fail "hovrel-updater $*: wanted exit $want and \"$text\", got exit $status:"
        sed 's/^/    /' "$scratch/output.txt"
    else
        echo "ok: exit $status, \"$text\": $*"
    fi
}

clear_key "$user_key"
quiet 0 "First automatic run of $product recorded" "${auto[@]}" \
    --manifest "$base/current.json" --installed 1.0.0
[ -n "$(read_value "$user_key" FirstAutomaticRun)" ] || fail "FirstAutomaticRun not written"
set_value "$user_key" AutomaticChecks REG_DWORD 1
set_value "$user_key" LastCheck REG_QWORD "$(date +%s)"
quiet 0 "No automatic check is due before" "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
set_value "$policy_key" AutomaticChecks REG_DWORD 0
quiet 0 "Updates of $product are turned off by your administrator" update --product "$product" \
    --manifest "$base/current.json" --installed 1.0.0 --allow-unsigned
clear_key "$policy_key"
quiet 1 "hovrel-updater: --auto needs --product" update --auto --manifest "$base/current.json" \
    --installed 1.0.0
expect_requests 0 "automatic runs that end at once"

# A display and a Wine session of its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$scratch/display")
wineserver -k 2>/dev/null || true
wineserver -w
trap 'clear_key "$user_key"; clear_key "$policy_key"; wineserver -k 2>/dev/null || true;
      kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$(dirname "$stage")"; cleanup' EXIT

# shown PAGES EXIT KEYS ARGS...: the window shows PAGES and exits with EXIT.
shown() {
    local want_pages=$1 want=$2 keys=$3
    shift 3
    local log=$scratch/pages.log status=0 pages
    rm -f "$log"
    HOVREL_UPDATER_TEST_LOG=$(windows_path "$log") HOVREL_UPDATER_TEST_KEYS=$keys \
        timeout 90 "$wine_run" "$tool" "$@" </dev/null >"$scratch/output.txt" 2>&1 || status=$?
    # No log at all: no page was shown.
    pages=$(if [ -f "$log" ]; then tr '\n' ' ' <"$log" | sed 's/ $//'; fi)
    if [ "$status" -ne "$want" ] || [ "$pages" != "$want_pages" ]; then
        fail "hovrel-updater $*: wanted pages \"$want_pages\" and exit $want, got \"$pages\", exit $status"
        sed 's/^/    /' "$scratch/output.txt"
    else
        echo "ok: pages \"$pages\", exit $status: $*"
    fi
}
undecided() {
    clear_key "$user_key"
    set_value "$user_key" FirstAutomaticRun REG_QWORD 1000
}

# The second automatic run asks; Escape (Ask me later) leaves it undecided
# and checks nothing.
undecided
shown "consent" 0 "consent=escape@300" "${auto[@]}" --manifest "$base/current.json" --installed 2.0.0
[ -z "$(read_value "$user_key" AutomaticChecks)" ] || fail "Escape on the consent page decided"
expect_requests 0 "consent left open"
# Don't check (the second button) stores 0 and checks nothing.
shown "consent" 0 "consent=tab@300,consent=enter@600" "${auto[@]}" \
    --manifest "$base/current.json" --installed 2.0.0
[ "$(read_value "$user_key" AutomaticChecks)" = 0 ] || fail "Don't check did not store 0"
expect_requests 0 "Don't check"
# Check automatically stores 1 and goes on to check: up to date, no page.
undecided
shown "consent" 0 "consent=enter@300" "${auto[@]}" --manifest "$base/current.json" --installed 2.0.0
[ "$(read_value "$user_key" AutomaticChecks)" = 1 ] || fail "Check automatically did not store 1"
expect_requests 1 "Check automatically"

# Skip this version (the offer's second button): stored, then passed over by
# automatic runs; a manual run offers it again, and Remind me later is
# Escape.
clear_key "$user_key"
set_value "$user_key" AutomaticChecks REG_DWORD 1
shown "offer" 6 "offer=tab@300,offer=enter@600" "${auto[@]}" \
    --manifest "$base/current.json" --installed 1.0.0
[ "$(read_value "$user_key" SkippedVersion)" = 2.0.0 ] || fail "Skip this version did not store 2.0.0"
"$wine_run" reg delete "$user_key" /v LastCheck /f </dev/null >/dev/null 2>&1
quiet 0 "" "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
"$wine_run" reg delete "$user_key" /v LastCheck /f </dev/null >/dev/null 2>&1
shown "offer downloading verifying installing outcome:installed" 0 "offer=enter@300,outcome=enter@300" \
    "${auto[@]}" --manifest "$base/required.json" --installed 1.0.0
before=$(date +%s)
# The checking page shows again with --allow-unsigned's warning.
shown "checking checking offer" 6 "offer=escape@300" update --product "$product" --allow-unsigned \
    --manifest "$base/current.json" --installed 1.0.0
remind=$(read_value "$user_key" RemindAfter)
if [ -z "$remind" ] || [ "$remind" -lt $((before + 86400)) ] || [ "$remind" -gt $(($(date +%s) + 86400)) ]; then
    fail "Remind me later should store a day from now, stored \"$remind\""
fi
expect_requests 5 "skip, the mandatory update and its package, remind"

# The background shows nothing while it stages, and a refusal worth telling;
# apply shows its pages and installs the stage.
clear_key "$user_key"
rm -f "$record"
shown "" 0 "" update --background --product "$product" --allow-unsigned \
    --manifest "$base/current.json" --installed 1.0.0
[ -f "$stage/package.exe" ] && [ "$(read_value "$user_key" StagedVersion)" = 2.0.0 ] ||
    fail "the window's background run staged nothing"
[ ! -e "$record" ] || fail "the window's background run started the installer"
manifest other product="Other$product"
shown "outcome:failed" 9 "outcome=enter@300" update --background --product "$product" \
    --allow-unsigned --manifest "$base/other.json" --installed 1.0.0
shown "verifying installing outcome:installed" 0 "outcome=enter@300" apply --product "$product" \
    --allow-unsigned --installed 1.0.0
[ -e "$record" ] || fail "the window's apply did not start the installer"
stage_gone "the window's apply"

finish
