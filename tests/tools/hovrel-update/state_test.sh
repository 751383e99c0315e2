#!/usr/bin/env bash
# hovrel-update's state in the registry under Wine: --auto checks only when
# due (the server's request log shows whether anything was fetched),
# LastCheck moves on an answer and not on a network failure, the policy's
# "never" ends every run, consent, the skipped version, RemindAfter, a
# wrongly typed value, the channel from each of its places, and status.
# Arguments: the build directory.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"
product=HovrelStateTest$$
source "$(dirname "$0")/../../support/product_state.sh"
source "$(dirname "$0")/../../support/keys.sh"
trap 'clear_key "$user_key"; clear_key "$policy_key"; clear_key "HKCU\\Software\\Hovrel\\Other$product"; cleanup' EXIT

# --product refuses a manifest of another product.
manifest current product="$product" rollout:=100
manifest newer product="$product" version=2.1.0 rollout:=100
manifest required product="$product" mandatory:=true rollout:=0
manifest other product="Other$product" rollout:=100
mkdir -p "$site/stable" "$site/beta"
manifest stable/m product="$product" rollout:=100
manifest beta/m product="$product" version=2.1.0 rollout:=100
auto=(--product "$product" --auto)
minute() { date -u -d "@$1" +%Y-%m-%dT%H:%MZ; }

# The command line.
expect 1 "--auto needs --product" "$tool" check --auto --manifest "$base/current.json" --installed 1.0.0
expect 1 "status needs --product" "$tool" status
for interval in 0 745 x; do
    expect 1 "--interval needs hours from 1 to 744" "$tool" check "${auto[@]}" --interval "$interval" \
        --manifest "$base/current.json" --installed 1.0.0
done
for channel in Beta "a b" "$(printf 'c%.0s' {1..33})"; do
    expect 1 "--channel needs a name" "$tool" check --channel "$channel" \
        --manifest "$base/current.json" --installed 1.0.0
done
expect_requests 0 "refused command lines"

# Never checked: due at once; the answer writes LastCheck.
expect 0 "Last check: never" "$tool" status --product "$product"
before=$(date +%s)
expect 0 "Up to date" "$tool" check "${auto[@]}" --manifest "$base/current.json" --installed 2.0.0
expect_requests 1 "a first automatic check"
last=$(read_value "$user_key" LastCheck)
if [ -z "$last" ] || [ "$last" -lt "$before" ] || [ "$last" -gt "$(date +%s)" ]; then
    fail "LastCheck should be the time of the check, is \"$last\""
fi

# Checked just now: not due before 100% of the interval; no request.
expect 0 "No automatic check is due before $(minute $((last + 86400)))" \
    "$tool" update "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0 --allow-unsigned
expect 0 "No automatic check is due before $(minute $((last + 3 * 3600)))" \
    "$tool" check "${auto[@]}" --interval 3 --manifest "$base/current.json" --installed 1.0.0
expect_requests 0 "checks not due"
# A manual check ignores the interval.
expect 8 "Update available: 2.0.0" "$tool" check --product "$product" \
    --manifest "$base/current.json" --installed 1.0.0
expect_requests 1 "a manual check"

# 90% of the interval is the earliest point: past 100% it is due, before
# 90% it is not; RemindAfter holds it back even then.
now=$(date +%s)
set_value "$user_key" LastCheck REG_QWORD $((now - 3600 - 5))
expect 8 "Update available" "$tool" check "${auto[@]}" --interval 1 \
    --manifest "$base/current.json" --installed 1.0.0
expect_requests 1 "due past the interval"
set_value "$user_key" LastCheck REG_QWORD $((now - 3000))
expect 0 "No automatic check is due before $(minute $((now - 3000 + 3600)))" \
    "$tool" check "${auto[@]}" --interval 1 --manifest "$base/current.json" --installed 1.0.0
set_value "$user_key" LastCheck REG_QWORD $((now - 7200))
set_value "$user_key" RemindAfter REG_QWORD $((now + 600))
expect 0 "No automatic check is due before $(minute $((now + 600)))" \
    "$tool" check "${auto[@]}" --interval 1 --manifest "$base/current.json" --installed 1.0.0
expect_requests 0 "before 90% and before RemindAfter"
"$wine_run" reg delete "$user_key" /v RemindAfter /f </dev/null >/dev/null 2>&1

# A network failure does not move LastCheck; a refusal does.
set_value "$user_key" LastCheck REG_QWORD 1000
expect 2 "Cannot fetch the manifest" "$tool" check "${auto[@]}" \
    --manifest "http://127.0.0.1:1/m.json" --installed 1.0.0
[ "$(read_value "$user_key" LastCheck)" = 1000 ] || fail "a network failure moved LastCheck"
new_key "$scratch/key"
expect 9 "" "$tool" update "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0 \
    --public-key "$(windows_path "$scratch/key.pub.pem")"
[ "$(read_value "$user_key" LastCheck)" -gt 1000 ] || fail "a refused manifest did not move LastCheck"
expect_requests 2 "a refused manifest and its signature"

# The user's consent, and a policy over it.
set_value "$user_key" LastCheck REG_QWORD 1000
set_value "$user_key" AutomaticChecks REG_DWORD 0
expect 0 "Automatic checks are off" "$tool" check "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
expect_requests 0 "checks turned off by the user"
set_value "$policy_key" AutomaticChecks REG_DWORD 1
expect 8 "Update available" "$tool" check "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
expect 0 "Automatic checks: on (policy)" "$tool" status --product "$product"
expect_requests 1 "the policy's always over the user's no"
set_value "$policy_key" AutomaticChecks REG_DWORD 0
for command in check update download; do
    expect 0 "Updates of $product are turned off by your administrator" "$tool" "$command" \
        --product "$product" --manifest "$base/current.json" --installed 1.0.0 --allow-unsigned
done
expect_requests 0 "the policy's never"
# The policy's never binds only its product.
expect 8 "Update available" "$tool" check --product "Other$product" \
    --manifest "$base/other.json" --installed 1.0.0
expect_requests 1 "another product"
clear_key "$policy_key"

# Wrongly typed or out of range: one warning, the value ignored.
set_value "$user_key" LastCheck REG_QWORD 1000
set_value "$user_key" AutomaticChecks REG_SZ yes
set_value "$user_key" CheckIntervalHours REG_DWORD 9999
expect 8 "Warning: ignoring $user_key\\AutomaticChecks: it is not a REG_DWORD of 0 or 1." \
    "$tool" check "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
expect 0 "ignoring $user_key\\CheckIntervalHours" "$tool" status --product "$product"
set_value "$user_key" LastCheck REG_SZ soon
expect 8 "ignoring $user_key\\LastCheck" "$tool" check "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
expect_requests 2 "wrongly typed values"
clear_key "$user_key"

# A skipped version: passed over by automatic checks only; a newer one and
# a mandatory one are offered.
skip() {
    clear_key "$user_key"
    set_value "$user_key" SkippedVersion REG_SZ 2.0.0
}
skip
expect 0 "up to date (2.0.0 skipped)" "$tool" check "${auto[@]}" --manifest "$base/current.json" --installed 1.0.0
skip
expect 0 "up to date (2.0.0 skipped)" "$tool" update "${auto[@]}" --manifest "$base/current.json" \
    --installed 1.0.0 --allow-unsigned
skip
expect 8 "Update available: 2.1.0" "$tool" check "${auto[@]}" --manifest "$base/newer.json" --installed 1.0.0
skip
expect 8 "mandatory" "$tool" check "${auto[@]}" --manifest "$base/required.json" --installed 1.0.0
expect 8 "Update available: 2.0.0" "$tool" check --product "$product" \
    --manifest "$base/current.json" --installed 1.0.0
expect_requests 5 "skipped versions"
clear_key "$user_key"

# The channel: the command line, the user's choice over it, the policy's
# over both; back from beta to stable never goes to an older version.
channel_check() { # WANT_PATH ARGS...
    local want=$1
    shift
    expect "${want%%:*}" "" "$tool" check --product "$product" --manifest "$base/{channel}/m.json" "$@"
    if ! tail -n1 "$requests" | grep -qx "GET /${want#*:}/m.json"; then
        fail "channel: wanted /${want#*:}/m.json, the server saw $(tail -n1 "$requests")"
    fi
}
channel_check 8:stable --installed 1.0.0
channel_check 8:beta --installed 1.0.0 --channel beta
expect 0 "Channel: beta (user)" "$tool" status --product "$product" --channel beta
[ "$(read_value "$user_key" Channel)" = beta ] || fail "status --channel did not store Channel"
channel_check 8:beta --installed 1.0.0 --channel stable
set_value "$policy_key" Channel REG_SZ stable
channel_check 0:stable --installed 2.1.0
expect 0 "Channel: stable (policy)" "$tool" status --product "$product"
expect 0 "Policy in force: Channel stable" "$tool" status --product "$product"
expect 0 "Up to date: 2.0.0 is not newer than the installed 2.1.0" "$tool" update --product "$product" \
    --manifest "$base/{channel}/m.json" --installed 2.1.0 --allow-unsigned --yes
clear_key "$policy_key"
expect_requests 5 "channels"

# status --reset deletes the user's key.
set_value "$user_key" LastCheck REG_QWORD 1000
expect 0 "Deleted $user_key" "$tool" status --product "$product" --reset
[ -z "$(read_value "$user_key" LastCheck)" ] || fail "status --reset left LastCheck"
expect 0 "Next automatic check: due now" "$tool" status --product "$product"

finish
