#!/usr/bin/env bash
# hovrel-update end to end under Wine against manifests and a stand-in
# installer served from 127.0.0.1: outputs, exit codes, files left behind.
# Arguments: the build directory.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"

size=$(stat -c %s "$site/setup.exe")
sha=$(sha256sum "$site/setup.exe" | cut -d' ' -f1)

manifest newer
manifest same version=1.0.0
manifest rollout0 -size rollout:=0
manifest rollout0-mandatory -size rollout:=0 mandatory:=true
manifest rollout84 -size rollout:=84
manifest rollout85 -size rollout:=85
manifest wrong-size size:=$((size + 1))
manifest wrong-sha sha256="$(printf '0%.0s' {1..64})"
manifest no-url -url -size

package=$scratch/package.exe

m=$base
out=$(windows_path "$package")

expect_tool 8 "Update available: 2.0.0 (installed 1.0.0)" check --manifest $m/newer.json --installed 1.0.0
expect_tool 0 "Up to date: 1.0.0 is not newer" check --manifest $m/same.json --installed 1.0.0
expect_tool 0 "Up to date: 2.0.0 is not newer" check --manifest $m/newer.json --installed 2.0.0-beta
expect_tool 0 "not yet for this machine (bucket 84, rollout 0%)" \
    check --manifest $m/rollout0.json --installed 1.0.0 --machine-id alpha
expect_tool 8 "mandatory" check --manifest $m/rollout0-mandatory.json --installed 1.0.0 --machine-id alpha
expect_tool 0 "bucket 84, rollout 84%" check --manifest $m/rollout84.json --installed 1 --machine-id alpha
expect_tool 8 "bucket 84 within rollout 85%" check --manifest $m/rollout85.json --installed 1 --machine-id alpha
expect_tool 8 "bucket 3 within rollout 84%" \
    check --manifest $m/rollout84.json --installed 1 --machine-id build-agent-7
expect_tool 2 "HTTP status not 200" check --manifest $m/missing.json --installed 1.0.0
expect_tool 2 "network/transfer failure" check --manifest http://127.0.0.1:1/m.json --installed 1.0.0
expect_tool 2 "invalid argument" check --manifest not-a-url --installed 1.0.0
expect_tool 3 "manifest parse failure" check --manifest $m/no-url.json --installed 1.0.0
expect_tool 1 "unknown option --verbose" check --manifest $m/newer.json --verbose
expect_tool 1 "check needs --installed" check --manifest $m/newer.json

expect_tool 4 "size mismatch" download --allow-unsigned --manifest $m/wrong-size.json --out "$out"
expect_file absent "$package"
expect_tool 4 "sha256 mismatch (corrupt or tampered)" download --allow-unsigned --manifest $m/wrong-sha.json --out "$out"
expect_file absent "$package"
expect_tool 0 "Verified: SHA-256 $sha" download --allow-unsigned --manifest $m/newer.json --out "$out"
expect_file present "$package"
[ -f "$package" ] && [ "$(sha256sum "$package" | cut -d' ' -f1)" = "$sha" ] ||
    { fail "downloaded package differs"; }

# Without --out a download goes to a private temp folder and stays there.
expect_tool 0 "Verified: SHA-256 $sha" download --allow-unsigned --manifest $m/newer.json
kept=$(winepath -u "$(tr -d '\r' <"$scratch/output.txt" | sed -n 's/^ *to //p')" 2>/dev/null)
case $kept in
*/Temp/hovrel-*/setup.exe)
    expect_file present "$kept"
    rm -rf "$(dirname "$kept")"
    ;;
*) fail "download went to '$kept'" ;;
esac

expect_tool 6 "not confirmed" install --allow-unsigned --manifest $m/newer.json --out "$out"
expect_file absent "$record"
expect_tool 4 "does not verify: sha256 mismatch" install --allow-unsigned --manifest $m/wrong-sha.json --out "$out" --yes
expect_file absent "$record"
expect_tool 4 "file I/O failure" install --allow-unsigned --manifest $m/newer.json --out "$out.missing" --yes

export HOVREL_RECORDER_EXIT=0
expect_tool 0 "The installer finished successfully." \
    install --allow-unsigned --manifest $m/newer.json --out "$out" --yes "--installer-args=/S /D=C:\\App"
[ "$(recorded_copy)" = "\"<copy>\\package.exe\" /S /D=C:\\App" ] ||
    fail "the installer's command line was: $(recorded)"
rm -f "$record"
expect_tool 0 "finished successfully" install --allow-unsigned --manifest $m/newer.json --out "$out" --yes
[ "$(recorded_copy)" = "\"<copy>\\package.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS" ] ||
    fail "default switches not passed: $(recorded)"

for row in "3010 7 restart" "1641 7 restart" "1602 6 cancelled by the user" \
    "1223 6 cancelled by the user" "1618 5 Another installation" "1 5 installer failed (nonzero exit)"; do
    read -r code want text <<<"$row"
    HOVREL_RECORDER_EXIT=$code expect_tool "$want" "$text" install --allow-unsigned --manifest $m/newer.json --out "$out" --yes
done

rm -f "$package"
HOVREL_RECORDER_EXIT=0 expect_tool 0 "finished successfully" \
    update --allow-unsigned --manifest $m/newer.json --installed 1.0.0 --yes --out "$out" --timeout 60
expect_file present "$package"
expect_tool 0 "Up to date" update --allow-unsigned --manifest $m/same.json --installed 1.0.0 --yes --out "$out"

# --timeout bounds the download: at 20 kB/s the package takes far longer than 1 s.
stop_server
serve_folder "$site" "$scratch" --rate 20000
base=http://127.0.0.1:$server_port
manifest slow
rm -f "$package"
expect_tool 6 "Download timed out after 1 s" download --allow-unsigned --manifest "$base/slow.json" \
    --out "$out" --timeout 1
expect_file absent "$package"

finish
