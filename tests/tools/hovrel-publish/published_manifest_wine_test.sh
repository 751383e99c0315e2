#!/usr/bin/env bash
# What hovrel-publish writes, hovrel-update accepts: a key from keygen, a
# manifest with release notes (in two more languages too) and a product for the stand-in installer
# served on 127.0.0.1, and its signature, checked and downloaded under Wine;
# the same manifest changed after signing is refused.
# Arguments: the build folder, a natively built hovrel-publish.
set -euo pipefail
build=$1 publish=$2
source "$(dirname "$0")/../../support/host_programs.sh"

sha=$(sha256sum "$site/setup.exe" | cut -d' ' -f1)
"$publish" keygen --out "$scratch/release.pem" >"$scratch/keygen.txt"
key=$(windows_path "$scratch/release.pub.pem")
one_line=$(tail -n1 "$scratch/keygen.txt")
printf 'Version 2 "Cobalt"\r\n\tFixes C:\\Temp handling.\nCaf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac\n' \
    >"$scratch/notes.txt"
printf 'Behebt "C:\\Temp".\n' >"$scratch/notes-de.txt"
printf '\xe4\xbf\xae\xe6\xad\xa3\n' >"$scratch/notes-ja.txt"
"$publish" manifest "$site/setup.exe" --version 2.0.0 --url "$base/setup.exe" --product app \
    --notes "$scratch/notes.txt" --notes-for de "$scratch/notes-de.txt" \
    --notes-for ja "$scratch/notes-ja.txt" --expires-in 30 --out "$site/release.json" >/dev/null
grep -qF '"notes.ja"' "$site/release.json" || fail "no notes.ja in $(cat "$site/release.json")"
"$publish" sign "$site/release.json" --key "$scratch/release.pem" >/dev/null
sed 's/2\.0\.0/2.0.1/' "$site/release.json" >"$site/changed.json"
cp "$site/release.json.sig" "$site/changed.json.sig"

package=$scratch/package.exe
out=$(windows_path "$package")

expect_tool 8 "Signature verified with $key" check --manifest "$base/release.json" \
    --installed 1.0.0 --public-key "$key" --product app
expect_tool 8 "Signature verified" check --manifest "$base/release.json" --installed 1.0.0 \
    --public-key "$one_line" --product app
expect_tool 0 "Verified: SHA-256 $sha" download --manifest "$base/release.json" --out "$out" \
    --public-key "$key" --product app
expect_file present "$package"
cmp -s "$package" "$site/setup.exe" || fail "the downloaded package differs from setup.exe"
rm -f "$package"
expect_tool 9 "not signed by a trusted key" download --manifest "$base/changed.json" --out "$out" \
    --public-key "$key" --product app
expect_file absent "$package"

finish
