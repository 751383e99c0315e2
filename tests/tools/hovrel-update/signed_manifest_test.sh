#!/usr/bin/env bash
# hovrel-update under Wine against signed manifests: what it accepts, what it
# refuses before any package byte, and the terms (expiry, product, rollback).
# Keys and signatures are made here with openssl. Arguments: the build folder.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"
source "$(dirname "$0")/../../support/keys.sh"

sha=$(sha256sum "$site/setup.exe" | cut -d' ' -f1)

new_key "$scratch/trusted"
new_key "$scratch/other"
trusted=$(windows_path "$scratch/trusted.pub.pem")
# The other key as its one-line body.
other=$(sed '1d;$d' "$scratch/other.pub.pem" | tr -d '\n')

signing_key=$scratch/trusted.pem
manifest --key "$signing_key" good
manifest --key "$signing_key" expired expires=2020-01-01T00:00:00Z
manifest --key "$signing_key" for-app product=app expires=2100-01-01T00:00:00Z
manifest --key "$signing_key" other-product product=other
manifest --key "$signing_key" older-mandatory version=0.9.0 mandatory:=true
manifest --key "$scratch/other.pem" by-other-key
cp "$site/good.json" "$site/unsigned.json"
sed 's/2\.0\.0/2.0.1/' "$site/good.json" >"$site/changed.json"
cp "$site/good.json.sig" "$site/changed.json.sig"
cp "$site/good.json" "$site/bad-sig.json"
flip_last_bit "$site/good.json.sig" "$site/bad-sig.json.sig"
# The same signature as raw r||s, not DER.
cp "$site/good.json" "$site/raw-sig.json"
openssl asn1parse -inform der -in "$site/good.json.sig" | sed -n 's/.*INTEGER *:\(.*\)/\1/p' |
    while read -r n; do printf '%064s' "$n" | tr ' ' 0; done | xxd -r -p >"$site/raw-sig.json.sig"

# A P-256 key whose point is (0, 0), which is on no curve: refused when it
# loads, naming the file. (Wine 8's CNG refuses this point but imports some
# other off-curve ones.)
{
    echo "-----BEGIN PUBLIC KEY-----"
    { printf '3059301306072a8648ce3d020106082a8648ce3d03010703420004'
        printf '0%.0s' {1..128}; } | xxd -r -p | base64 -w 64
    echo "-----END PUBLIC KEY-----"
} >"$scratch/off-curve.pub.pem"
off_curve=$(windows_path "$scratch/off-curve.pub.pem")
missing=$(windows_path "$scratch/missing.pub.pem")

m=$base
package=$scratch/package.exe
out=$(windows_path "$package")

# refused EXIT TEXT NAME ARGS...: download NAME.json is refused and no package is left.
refused() {
    local want=$1 text=$2 name=$3
    shift 3
    expect_tool "$want" "$text" download --manifest "$m/$name.json" --out "$out" "$@"
    expect_file absent "$package"
}

expect_tool 8 "Signature verified with $trusted" check --manifest $m/good.json --installed 1.0.0 \
    --public-key "$trusted"
expect_tool 8 "Signature verified with $trusted" check --manifest $m/good.json --installed 1.0.0 \
    --public-key "$other" --public-key "$trusted"
refused 9 "not signed by a trusted key (1 tried)" changed --public-key "$trusted"
refused 9 "not signed by a trusted key" bad-sig --public-key "$trusted"
refused 9 "not signed by a trusted key" good --public-key "$other"
refused 9 "no signature at $m/unsigned.json.sig (HTTP status not 200)" unsigned --public-key "$trusted"
refused 9 "the manifest expired at 2020-01-01T00:00:00Z" expired --public-key "$trusted"
refused 9 "the manifest is for product \"other\", not app" other-product --public-key "$trusted" \
    --product app
refused 1 "--public-key $off_curve: Windows refuses the key" good --public-key "$trusted" \
    --public-key "$off_curve"
refused 1 "--public-key $missing: no such key file" good --public-key "$trusted" \
    --public-key "$missing"
refused 9 "is not a DER ECDSA P-256 signature" raw-sig --public-key "$trusted"
# --allow-unsigned lets a manifest without keys through, never one that fails them.
refused 9 "not signed by a trusted key" bad-sig --public-key "$trusted" --allow-unsigned
refused 9 "the manifest is for product \"app\", not ap" for-app --public-key "$trusted" --product ap
refused 9 "so the manifest cannot be authenticated" unsigned
expect_tool 8 "Not authenticated" check --manifest $m/unsigned.json --installed 1.0.0
expect_tool 0 "Warning: --allow-unsigned" download --manifest $m/unsigned.json --out "$out" \
    --allow-unsigned
expect_file present "$package"
expect_tool 0 "Verified: SHA-256 $sha" download --manifest $m/for-app.json --out "$out" \
    --public-key "$trusted" --product app

# Rollback: a version not newer than the installed one is never installed,
# mandatory or not.
expect_tool 9 "version 2.0.0 is not newer than the installed 2.0.0" install \
    --manifest $m/good.json --installed 2.0.0 --out "$out" --yes --public-key "$trusted"
expect_tool 0 "Up to date: 0.9.0 is not newer" update --manifest $m/older-mandatory.json \
    --installed 1.0.0 --out "$out" --yes --public-key "$trusted"

finish
