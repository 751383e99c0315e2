#!/usr/bin/env bash
# hovrel-update's background road under Wine: update --background stages the
# package with the manifest and signature as served, apply verifies all of it
# again and installs, --relaunch starts the app after; a changed package,
# manifest or key is refused and the stage deleted, a cancel keeps it.
# Arguments: the build directory.
set -euo pipefail
build=$1
probe=$build/bin/package_probe.exe
source "$(dirname "$0")/../../support/host_programs.sh"
product=HovrelBackgroundTest$$
source "$(dirname "$0")/../../support/product_state.sh"
source "$(dirname "$0")/../../support/keys.sh"
trap 'clear_key "$user_key"; rm -rf "$(dirname "$stage")"; cleanup' EXIT

new_key "$scratch/key"
new_key "$scratch/other"
key=(--public-key "$(windows_path "$scratch/key.pub.pem")")
manifest --key "$scratch/key.pem" release product="$product" \
    expires="$(date -u -d "@$(($(date +%s) + 3600))" +%Y-%m-%dT%H:%M:%SZ)"
background=(update --background --product "$product" --manifest "$base/release.json" "${key[@]}")
apply=(apply --product "$product" "${key[@]}")
cp "$recorder" "$site/app.exe"
export HOVREL_RECORDER_EXIT=0 HOVREL_RECORDER_APPEND=1
nothing_ran() { [ ! -e "$record" ] || fail "$1: a program ran: $(recorded)"; }
restage() { # MANIFEST: a fresh stage of it
    rm -f "$record"
    expect 0 "Staged" "$tool" update --background --product "$product" \
        --manifest "$base/$1.json" --installed 1.0.0 "${key[@]}"
}

echo "== stage: the served bytes, StagedVersion, a private folder, no installer"
expect 0 "No update is staged for $product." "$tool" "${apply[@]}" --installed 1.0.0
expect 0 "Staged 2.0.0 in C:\\" "$tool" "${background[@]}" --installed 1.0.0
nothing_ran "stage"
cmp -s "$stage/manifest.json" "$site/release.json" || fail "staged manifest differs from the served one"
cmp -s "$stage/manifest.json.sig" "$site/release.json.sig" || fail "staged signature differs"
cmp -s "$stage/package.exe" "$site/setup.exe" || fail "staged package differs"
[ "$(read_value "$user_key" StagedVersion)" = 2.0.0 ] || fail "StagedVersion: $(read_value "$user_key" StagedVersion)"
: >"$stage/probe.txt"
"$wine_run" "$probe" "$(windows_path "$stage/probe.txt")" 2>&1 | tr -d '\r' >"$scratch/probe.txt"
user=$(sed -n 's/^user //p' "$scratch/probe.txt")
sids=$(sed -n 's/^dacl protected=[01] //p' "$scratch/probe.txt")
[ -n "$sids" ] || fail "no access list read: $(cat "$scratch/probe.txt")"
for sid in $sids; do
    case $sid in "$user" | S-1-5-18 | S-1-5-32-544) ;; *) fail "stage folder DACL names $sid" ;; esac
done
expect 0 "Staged update: 2.0.0 in C:\\" "$tool" status --product "$product"
requests_seen=$(request_count)
expect 0 "2.0.0 or newer is staged already; nothing downloaded." "$tool" "${background[@]}" --installed 1.0.0
expect_requests 2 "a stage kept: the manifest and its signature only"
expect 0 "Up to date" "$tool" "${background[@]}" --installed 2.0.0
expect 1 "--background needs --product" "$tool" update --background --manifest "$base/release.json" --installed 1.0.0

echo "== a newer release replaces the stage; apply after its expiry installs and relaunches"
expiry=$(($(date +%s) + 6))
manifest --key "$scratch/key.pem" newer product="$product" version=2.1.0 \
    expires="$(date -u -d "@$expiry" +%Y-%m-%dT%H:%M:%SZ)"
restage newer
cmp -s "$stage/manifest.json" "$site/newer.json" || fail "the newer release did not replace the stage"
[ "$(read_value "$user_key" StagedVersion)" = 2.1.0 ] || fail "StagedVersion after the newer release"
while [ "$(date +%s)" -le "$expiry" ]; do sleep 1; done
expect 9 "expired" "$tool" "${background[@]/release/newer}" --installed 1.0.0
# The app starts as the desktop's user. Wine starts its desktop process
# (explorer.exe) on demand and ends it once the prefix is idle, so one is
# kept running here; it ends by itself, since a Wine process killed from
# outside can stall the next one to start. Where Wine still runs no desktop,
# the run must say so and start nothing, as on a machine without a shell.
"$wine_run" cmd.exe /c "ping -n 20 127.0.0.1 >nul" </dev/null >/dev/null 2>&1 &
sleep 3
expect 0 "The installer finished successfully." "$tool" "${apply[@]}" --installed 1.0.0 \
    --relaunch "$(windows_path "$site/app.exe")" --relaunch-args "--updated 2.1.0"
want_installer="\"<copy>\\package.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS"
if grep -qF "no desktop shell runs to start it as the user" "$scratch/output.txt"; then
    echo "(no desktop process in this Wine session: the run without a shell is checked)"
    sleep 2
    [ "$(recorded_copy)" = "$want_installer" ] ||
        fail "apply without a desktop: wanted the installer only; saw: $(recorded)"
else
    grep -qF "Started" "$scratch/output.txt" || fail "apply: neither started the app nor said why"
    # The app is started, not waited for: give it a moment to write its line.
    for _ in $(seq 300); do [ "$(recorded | wc -l)" -ge 2 ] && break; sleep 0.1; done
    # Wine's CreateProcessWithTokenW drops the quotes around the program's path.
    want_app="$(windows_path "$(realpath "$site/app.exe")") --updated 2.1.0"
    [ "$(recorded_copy | tr -d '"')" = "$(tr -d '"' <<<"$want_installer")"$'\n'"$want_app" ] ||
        fail "apply: wanted the installer, then the app; saw: $(recorded)"
fi
stage_gone "apply"

echo "== a changed package, manifest or key: refused, nothing runs, the stage goes"
restage release
printf 'X' | dd of="$stage/package.exe" bs=1 seek=100 conv=notrunc status=none
rm -f "$record"
expect 9 "The staged update has been deleted" "$tool" "${apply[@]}" --installed 1.0.0
nothing_ran "changed package"
stage_gone "changed package"
restage release
sed -i 's/"version":"2.0.0"/"version":"2.0.9"/' "$stage/manifest.json"
expect 9 "Refused: the staged manifest is not signed by a key trusted now" "$tool" "${apply[@]}" --installed 1.0.0
nothing_ran "changed manifest"
stage_gone "changed manifest"
restage release
expect 9 "Refused: the staged manifest is not signed by a key trusted now" "$tool" apply \
    --product "$product" --installed 1.0.0 --public-key "$(windows_path "$scratch/other.pub.pem")"
nothing_ran "another key"
stage_gone "another key"

echo "== the installed version caught up: deleted quietly"
restage release
expect 0 "The staged 2.0.0 is not newer than the installed 2.0.0; it has been deleted." \
    "$tool" "${apply[@]}" --installed 2.0.0
nothing_ran "caught up"
stage_gone "caught up"

echo "== --wait-pid: apply waits for the app; an app that does not end keeps the stage"
start_app() {
    HOVREL_RECORDER_LINGER_MS=$1 HOVREL_RECORDER_OUT=$(windows_path "$scratch/app-ran.txt") \
        "$wine_run" "$recorder" >"$scratch/app-pid.txt" 2>/dev/null &
    app=$!
    for _ in $(seq 600); do [ -s "$scratch/app-pid.txt" ] && break; sleep 0.1; done
    pid=$(tr -d '\r\n' <"$scratch/app-pid.txt")
    [ -n "$pid" ] || fail "the stand-in app printed no process id within 60 s"
}
restage release
start_app 6000
expect 6 "The staged update stays; the next apply installs it." "$tool" "${apply[@]}" \
    --installed 1.0.0 --wait-pid "$pid" --timeout 1
wait "$app" || true
rm -f "$scratch/app-ran.txt"
nothing_ran "an app still running"
[ -f "$stage/package.exe" ] || fail "a cancelled apply deleted the stage"
start_app 3000
expect 0 "Process $pid has ended." "$tool" "${apply[@]}" --installed 1.0.0 --wait-pid "$pid" --timeout 60
wait "$app" || true
[ -f "$scratch/app-ran.txt" ] && [ -f "$record" ] && [ ! "$record" -ot "$scratch/app-ran.txt" ] ||
    fail "the installer ran before the app it waited for had ended"
stage_gone "apply after the app"

echo "== status --reset removes the stage"
restage release
expect 0 "and the staged update" "$tool" status --product "$product" --reset
[ ! -e "$stage" ] || fail "status --reset left the stage"
expect 0 "Staged update: none" "$tool" status --product "$product"
finish
