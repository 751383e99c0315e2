#!/usr/bin/env bash
# hovrel-publish against stock openssl over random keys and messages, both
# ways: openssl signs and hovrel-publish verifies; hovrel-publish signs and
# openssl verifies. Includes signatures whose r or s is shorter than 32 bytes
# and, for every tenth pair, a wrong key that must not verify.
# Also the publisher's mistakes, each refused with one line and nothing written.
# Arguments: hovrel-publish, the scratch folder, the number of pairs.
set -euo pipefail
publish=$1 work=$2 count=$3
source "$(dirname "$0")/../../support/checks.sh"
source "$(dirname "$0")/../../support/keys.sh"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

openssl_verifies() { # KEY MESSAGE SIGNATURE
    openssl dgst -sha256 -verify "$1" -signature "$3" "$2" >/dev/null 2>&1
}

# The publisher's mistakes: each is one line and a non-zero exit.
"$publish" keygen --out "$work/release.pem" >/dev/null
[ "$(stat -c %a "$work/release.pem")" = 600 ] || fail "the private key is readable by others"
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:1024 -out "$work/rsa.pem" 2>/dev/null
new_key "$work/p384" P-384
echo '{}' >"$work/m.json"
echo 'not a key' >"$work/garbage.pem"
touch "$work/half.pub.pem"
# A well-formed P-256 key whose point is one bit of Y off the curve.
openssl pkey -pubin -in "$work/release.pub.pem" -outform der -out "$work/release.pub.der"
flip_last_bit "$work/release.pub.der" "$work/off-curve.der"
openssl pkey -pubin -inform der -in "$work/off-curve.der" -out "$work/off-curve.pub.pem" 2>/dev/null ||
    { echo "-----BEGIN PUBLIC KEY-----"; base64 -w 64 "$work/off-curve.der"
        echo "-----END PUBLIC KEY-----"; } >"$work/off-curve.pub.pem"
# Release notes that are not text, or that do not fit in a manifest.
printf 'caf\xe9\n' >"$work/latin1.txt"
printf 'ok\n\a\n' >"$work/bell.txt"
head -c 65537 /dev/zero | tr '\0' n >"$work/huge.txt"
head -c 40000 /dev/zero | tr '\0' '"' >"$work/quotes.txt"
while IFS='|' read -r want text arguments; do
    status=0
    # shellcheck disable=SC2086 # the arguments are words
    "$publish" $arguments >/dev/null 2>"$work/error.txt" || status=$?
    if [ "$status" -ne "$want" ] || [ "$(wc -l <"$work/error.txt")" -ne 1 ] ||
        ! grep -qF -- "$text" "$work/error.txt"; then
        fail "hovrel-publish $arguments: exit $status, $(cat "$work/error.txt")"
    fi
done <<ROWS
1|never overwrites a key|keygen --out $work/release.pem
1|cannot create $work/half.pub.pem|keygen --out $work/half.pem
1|cannot read $work/missing.exe|manifest $work/missing.exe --version 1.0 --url http://h/p --out $work/x.json
1|not dotted digits|manifest $work/m.json --version 1.0-beta --url http://h/p --out $work/x.json
1|--version 1. is not dotted digits|manifest $work/m.json --version 1. --url http://h/p --out $work/x.json
1|--version .1 is not dotted digits|manifest $work/m.json --version .1 --url http://h/p --out $work/x.json
1|--version 1..2 is not dotted digits|manifest $work/m.json --version 1..2 --url http://h/p --out $work/x.json
1|the public key $work/off-curve.pub.pem is not a point on P-256|verify $work/m.json --public-key $work/off-curve.pub.pem
1|--notes $work/latin1.txt is not UTF-8 text|manifest $work/m.json --version 1.0 --url http://h/p --notes $work/latin1.txt --out $work/x.json
1|holds control character 0x07 on line 2|manifest $work/m.json --version 1.0 --url http://h/p --notes $work/bell.txt --out $work/x.json
1|$work/huge.txt is larger than 65536 bytes|manifest $work/m.json --version 1.0 --url http://h/p --notes $work/huge.txt --out $work/x.json
1|the manifest would be 80|manifest $work/m.json --version 1.0 --url http://h/p --notes $work/quotes.txt --out $work/x.json
1|cannot read $work/missing.txt|manifest $work/m.json --version 1.0 --url http://h/p --notes $work/missing.txt --out $work/x.json
1|is RSA, not P-256|sign $work/m.json --key $work/rsa.pem
1|on curve secp384r1, not P-256|sign $work/m.json --key $work/p384.pem
1|cannot read a private key|sign $work/m.json --key $work/garbage.pem
1|on another curve than P-256|verify $work/m.json --public-key $work/p384.pub.pem
1|cannot read $work/m.json.sig|verify $work/m.json --public-key $work/release.pub.pem
ROWS
# A keygen refused half-way leaves nothing to block the next one.
[ ! -e "$work/half.pem" ] || fail "a refused keygen left $work/half.pem behind"
[ ! -e "$work/x.json" ] || fail "a refused manifest command wrote $work/x.json"

new_key "$work/wrong"
checked=0
for i in $(seq "$count"); do
    key=$work/k$i message=$work/m$i
    new_key "$key"
    random_message "$message"
    openssl dgst -sha256 -sign "$key.pem" -out "$message.sig" "$message"
    "$publish" verify "$message" --public-key "$key.pub.pem" >/dev/null ||
        fail "openssl signature $i does not verify with hovrel-publish ($(scalar_lengths "$message.sig"))"
    if [ $((i % 10)) -eq 0 ] && "$publish" verify "$message" --public-key "$work/wrong.pub.pem" \
        >/dev/null 2>&1; then
        fail "signature $i verifies with another key"
    fi
    "$publish" sign "$message" --key "$key.pem" >/dev/null
    openssl_verifies "$key.pub.pem" "$message" "$message.sig" ||
        fail "hovrel-publish signature $i does not verify with openssl ($(scalar_lengths "$message.sig"))"
    checked=$((checked + 2))
    rm -f "$key.pem" "$key.pub.pem" "$message" "$message.sig"
done

# A short r or s, made by each side and checked by the other.
new_key "$work/short"
random_message "$work/short-message"
openssl_sign() { openssl dgst -sha256 -sign "$work/short.pem" -out "$1" "$work/short-message"; }
short_signature "$work/short-message.sig" openssl_sign
"$publish" verify "$work/short-message" --public-key "$work/short.pub.pem" >/dev/null ||
    fail "openssl signature with a short scalar does not verify with hovrel-publish"
publish_sign() {
    "$publish" sign "$work/short-message" --key "$work/short.pem" >/dev/null
    mv "$work/short-message.sig" "$1"
}
short_signature "$work/publish.sig" publish_sign
openssl_verifies "$work/short.pub.pem" "$work/short-message" "$work/publish.sig" ||
    fail "hovrel-publish signature with a short scalar does not verify with openssl"
checked=$((checked + 2))

echo "$checked signatures checked across $count keys, $failures failures"
[ "$failures" -eq 0 ]
