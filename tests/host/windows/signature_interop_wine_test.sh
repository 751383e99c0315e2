#!/usr/bin/env bash
# Signatures made by stock openssl over random keys and messages, verified in
# one Wine process through hovrel-update's own verification code: each one
# must verify, and the same signature with one bit flipped or under another
# key must not. Includes a signature with an r or s shorter than 32 bytes.
# Arguments: the build folder, the number of keys.
set -euo pipefail
build=$1 count=$2
source "$(dirname "$0")/../../support/keys.sh"
source "$(dirname "$0")/../../support/wine.sh"
work=$(mktemp -d "$build/signature-interop.XXXXXX")
trap 'rm -rf "$work"' EXIT
list=$work/list.txt
entry() { # EXPECTED KEY MESSAGE SIGNATURE
    printf '%s %s %s %s\n' "$1" "$2" "$(windows_path "$3")" "$(windows_path "$4")" >>"$list"
}

previous_key=
for i in $(seq "$count"); do
    key=$work/k$i message=$work/m$i
    new_key "$key"
    random_message "$message"
    openssl dgst -sha256 -sign "$key.pem" -out "$message.sig" "$message"
    flip_last_bit "$message.sig" "$message.flipped"
    # Every other key as its one-line body, the rest as PEM files.
    if [ $((i % 2)) -eq 0 ]; then
        key_text=$(sed '1d;$d' "$key.pub.pem" | tr -d '\n')
    else
        key_text=$(windows_path "$key.pub.pem")
    fi
    entry 1 "$key_text" "$message" "$message.sig"
    entry 0 "$key_text" "$message" "$message.flipped"
    if [ -n "$previous_key" ]; then
        entry 0 "$previous_key" "$message" "$message.sig"
    fi
    previous_key=$key_text
done
new_key "$work/short"
random_message "$work/short-message"
openssl_sign() { openssl dgst -sha256 -sign "$work/short.pem" -out "$1" "$work/short-message"; }
short_signature "$work/short-message.sig" openssl_sign
entry 1 "$(windows_path "$work/short.pub.pem")" "$work/short-message" "$work/short-message.sig"

"$wine_run" "$build/bin/signature_batch_verify.exe" "$(windows_path "$list")" </dev/null
