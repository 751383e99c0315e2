#!/usr/bin/env bash
# hovrel-publish against stock openssl over random keys and messages, both
# ways: openssl signs and hovrel-publish verifies; hovrel-publish signs and
# openssl verifies. Includes signatures whose r or s is shorter than 32 bytes
# and, for every tenth pair, a wrong key that must not verify.
# Arguments: hovrel-publish, the scratch folder, the number of pairs.
set -euo pipefail
publish=$1 work=$2 count=$3
source "$(dirname "$0")/signature_batch.sh"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
openssl_verifies() { # KEY MESSAGE SIGNATURE
    openssl dgst -sha256 -verify "$1" -signature "$3" "$2" >/dev/null 2>&1
}

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
