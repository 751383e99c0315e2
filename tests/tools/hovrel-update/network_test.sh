#!/usr/bin/env bash
# hovrel-update under Wine against a test server that misbehaves on purpose:
# fetches too slow for --timeout and --fetch-timeout, a package below
# --min-rate, the signature's address, a manifest and signature that do not
# match for a moment, and connections reset for the retries.
# Arguments: the build folder.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"
source "$(dirname "$0")/../../support/keys.sh"

new_key "$scratch/trusted"
trusted=$(windows_path "$scratch/trusted.pub.pem")
out=$(windows_path "$scratch/package.exe")

# serve OPTIONS...: the site again, served with OPTIONS, and its manifests
# written for the new port.
serve() {
    stop_server
    serve_folder "$site" "$scratch" "$@"
    base=http://127.0.0.1:$server_port
    manifest --key "$scratch/trusted.pem" good
    manifest --key "$scratch/trusted.pem" newer version=2.0.1
    mkdir -p "$site/elsewhere"
    cp "$site/good.json.sig" "$site/elsewhere/signature"
}

# within SECONDS: the last expect took at most SECONDS.
within() {
    local took=$((SECONDS - started))
    [ "$took" -le "$1" ] || fail "took $took s, wanted at most $1 s"
}
timed() {
    started=$SECONDS
    expect_tool "$@"
}

# A manifest at a byte every two seconds, and then its signature.
serve --slow-path /good.json --slow-path /newer.json.sig --slow-rate 0.5
timed 6 "Timed out: the manifest fetch took longer than 3 s (--timeout)." \
    check --manifest $base/good.json --installed 1.0.0 --timeout 3
within 10
timed 6 "Timed out: the manifest fetch took longer than 2 s (--fetch-timeout)." \
    check --manifest $base/good.json --installed 1.0.0 --fetch-timeout 2
within 9
timed 6 "Timed out: the signature fetch took longer than 2 s (--fetch-timeout)." \
    check --manifest $base/newer.json --installed 1.0.0 --public-key "$trusted" --fetch-timeout 2
within 9
# The window takes the same options; quiet, it fails without a window.
started=$SECONDS
status=0
"$wine_run" "$build/bin/hovrel-updater.exe" check --manifest $base/good.json --installed 1.0.0 \
    --quiet-if-current --fetch-timeout 2 </dev/null >"$scratch/output.txt" 2>&1 || status=$?
[ "$status" -eq 6 ] || fail "hovrel-updater --fetch-timeout 2 on a slow manifest: exit $status"
within 9
# Ctrl+C (SIGINT, which Wine hands to the console as Ctrl+C) while the
# manifest trickles in.
started=$SECONDS
status=0
"$wine_run" "$tool" check --manifest $base/good.json --installed 1.0.0 </dev/null \
    >"$scratch/output.txt" 2>&1 &
program=$!
sleep 2
kill -INT "$program"
wait "$program" || status=$?
if [ "$status" -ne 6 ] || ! grep -F "Stopped by Ctrl+C while the manifest" "$scratch/output.txt" >/dev/null; then
    fail "Ctrl+C while fetching: exit $status"
    sed 's/^/    /' "$scratch/output.txt"
else
    echo "ok: exit 6 on Ctrl+C while fetching"
fi
within 5

# A package below the floor: 2,000 bytes a second against --min-rate 8192,
# averaged over 3 s.
serve --slow-path /setup.exe --slow-rate 2000
timed 4 "Download stopped: slower than 8192 bytes a second for 3 s on end" \
    download --allow-unsigned --manifest $base/good.json --out "$out" --min-rate 8192 \
    --min-rate-window 3
within 9
expect_file absent "$scratch/package.exe"

# The signature's address: ".sig" after the path, the query kept.
serve --stale-first 1
cp "$site/newer.json.sig" "$site/good.json.sig.stale"
expect_tool 8 "Signature verified with $trusted" \
    check --manifest "$base/good.json?channel=stable#top" --installed 1.0.0 --public-key "$trusted"
grep -F "fetching both once more" "$scratch/output.txt" >/dev/null ||
    fail "a stale signature was not fetched again"
expect_tool 8 "Signature verified with $trusted" check --manifest $base/good.json --installed 1.0.0 \
    --public-key "$trusted" --signature-url $base/elsewhere/signature
# Never matching: refused after the second pair.
cp "$site/newer.json.sig" "$site/good.json.sig"
expect_tool 9 "not signed by a trusted key (1 tried)" \
    check --manifest $base/good.json --installed 1.0.0 --public-key "$trusted"
grep -F "fetching both once more" "$scratch/output.txt" >/dev/null ||
    fail "a mismatched pair was refused without fetching it again"

# Retries: a 404 is no network failure; two resets, then an answer; resets
# for ever.
expect_tool 2 "HTTP status not 200" check --manifest $base/missing.json --installed 1.0.0
! grep -F "retry" "$scratch/output.txt" >/dev/null || fail "an HTTP status was retried"
serve --reset-first 2
timed 8 "Network failure; retry 2 of 3 in" check --manifest $base/good.json --installed 1.0.0
grep -E "^Network failure; retry 1 of 3 in 1\.[0-5] s" "$scratch/output.txt" >/dev/null ||
    fail "the first retry line is missing or its delay is not 1.0 to 1.5 s"
within 9
serve --reset-first 1000
timed 2 "Network failure; retry 3 of 3 in" check --manifest $base/good.json --installed 1.0.0
within 18
expect_tool 2 "network/transfer failure" check --manifest $base/good.json --installed 1.0.0 \
    --retries 0
! grep -F "retry" "$scratch/output.txt" >/dev/null || fail "--retries 0 retried"
# No retry whose wait would outlast --timeout.
expect_tool 2 "network/transfer failure" check --manifest $base/good.json --installed 1.0.0 \
    --timeout 1
! grep -F "retry" "$scratch/output.txt" >/dev/null || fail "a retry outlasted --timeout"

# The package's download starts again after a reset.
serve --reset-first 1 --reset-path /setup.exe
expect_tool 0 "Network failure; retry 1 of 3" download --manifest $base/good.json --out "$out" \
    --public-key "$trusted"
grep -F "Verified: SHA-256" "$scratch/output.txt" >/dev/null || fail "the retried download"

finish
