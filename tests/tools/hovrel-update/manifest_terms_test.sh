#!/usr/bin/env bash
# hovrel-update under Wine against manifests whose terms are missing or
# malformed: no "size", a "rollout" or "mandatory" the library would read as
# its default, no "expires", a product the host was not told of, and
# "min_windows" above and below the prefix's own Windows version.
# Arguments: the build folder.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"
source "$(dirname "$0")/../../support/keys.sh"

new_key "$scratch/trusted"
trusted=$(windows_path "$scratch/trusted.pub.pem")
key=$scratch/trusted.pem
fresh=expires=2999-01-01T00:00:00Z

# The version RtlGetVersion reports is the one the prefix shows as "ver".
running=$("$wine_run" cmd /c ver </dev/null 2>/dev/null | tr -d '\r' | grep -o '[0-9]*\.[0-9]*\.[0-9]*' | head -n1)
[ -n "$running" ] || fail "cannot read the prefix's Windows version from ver"
major=${running%%.*}
echo "the prefix reports Windows $running"

manifest --key "$key" good "$fresh" product=app
manifest --key "$key" no-size "$fresh" product=app -size
manifest --key "$key" size-text "$fresh" product=app size=300
manifest --key "$key" rollout-text "$fresh" product=app rollout=0
manifest --key "$key" rollout-negative "$fresh" product=app rollout:=-1
manifest --key "$key" rollout-null "$fresh" product=app rollout:=null
manifest --key "$key" mandatory-text "$fresh" product=app mandatory=true
manifest --key "$key" no-expiry product=app
manifest --key "$key" newer-windows "$fresh" product=app "min_windows=$((major + 1)).0.0"
manifest --key "$key" older-windows "$fresh" product=app min_windows=5.1.2600
manifest --key "$key" same-windows "$fresh" product=app "min_windows=$running"
manifest --key "$key" bad-windows "$fresh" product=app min_windows=10.0

m=$base
package=$scratch/package.exe
out=$(windows_path "$package")
signed=(--public-key "$trusted")

# Refused before any package byte: each command that downloads, exit 3.
while IFS='|' read -r want text name extra; do
    for command in download update; do
        # shellcheck disable=SC2086 # extra is words
        expect_tool "$want" "$text" $command --manifest "$m/$name.json" --installed 1.0.0 \
            --out "$out" --yes "${signed[@]}" --product app $extra
        expect_file absent "$package"
    done
done <<ROWS
3|Cannot use the manifest: the manifest has no "size"|no-size
3|the manifest's "size" is not a whole number of bytes|size-text
3|the manifest's "rollout" is not a whole number from 0 to 100|rollout-text
3|the manifest's "rollout" is not a whole number from 0 to 100|rollout-negative
3|the manifest's "rollout" is not a whole number from 0 to 100|rollout-null
3|the manifest's "mandatory" is not true or false|mandatory-text
3|the manifest's "min_windows" is not a Windows version such as 10.0.17763|bad-windows
9|the manifest has no "expires" and --require-expiry was given|no-expiry|--require-expiry
ROWS

# A check still tells the verdict, with the warning.
expect_tool 8 'Warning: the manifest has no "size"' check --manifest "$m/no-size.json" \
    --installed 1.0.0 "${signed[@]}" --product app
expect_tool 8 'Warning: the signed manifest has no "expires"' check --manifest "$m/no-expiry.json" \
    --installed 1.0.0 "${signed[@]}" --product app
expect_tool 8 'no --product was given; give --product app' check --manifest "$m/good.json" \
    --installed 1.0.0 "${signed[@]}"
expect_tool 0 'Verified: SHA-256' download --manifest "$m/good.json" --out "$out" \
    "${signed[@]}" --product app --require-expiry
expect_file present "$package"
rm -f "$package"

# min_windows: newer than the prefix's Windows, no update applies and
# nothing is fetched; as old or older, it applies.
too_new="2.0.0 needs Windows $((major + 1)).0.0 or later; this is $running"
expect_tool 0 "$too_new" check --manifest "$m/newer-windows.json" --installed 1.0.0 \
    "${signed[@]}" --product app
for command in update download; do
    expect_tool 0 "$too_new" $command --manifest "$m/newer-windows.json" --installed 1.0.0 \
        --out "$out" --yes "${signed[@]}" --product app
    expect_file absent "$package"
done
expect_tool 8 "Update available: 2.0.0" check --manifest "$m/older-windows.json" \
    --installed 1.0.0 "${signed[@]}" --product app
expect_tool 8 "Update available: 2.0.0" check --manifest "$m/same-windows.json" \
    --installed 1.0.0 "${signed[@]}" --product app
finish
