#!/usr/bin/env bash
# hovrel-publish's commands to success, as a publisher runs them: keygen,
# manifest with each of its options, sign, verify. Every manifest must be
# JSON holding exactly what was asked, in the documented key order, and its
# signature must verify with stock openssl as well as with hovrel-publish.
# Arguments: hovrel-publish, the scratch folder.
set -euo pipefail
publish=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

"$publish" keygen --out "$work/release.pem" >"$work/keygen.txt"
# The one-line form keygen prints is the body of the public key it wrote.
[ "$(tail -n1 "$work/keygen.txt")" = "$(sed '1d;$d' "$work/release.pub.pem" | tr -d '\n')" ] ||
    fail "keygen printed $(tail -n1 "$work/keygen.txt"), not the body of release.pub.pem"

installer=$work/setup.exe
# Larger than hovrel-publish's 1 MiB read buffer, so the size adds up reads.
head -c 1200000 /dev/urandom >"$installer"
# Quotes, a backslash, CRLF, a tab and non-ASCII UTF-8: each must survive.
printf 'Version 2 "Cobalt"\r\n\tFixes C:\\Temp handling.\nCaf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80\n' \
    >"$work/notes.txt"

# check_manifest MANIFEST INSTALLER URL OPTIONS...: the manifest holds what
# the options ask for, and nothing else.
check_manifest() {
    python3 - "$@" <<'PYTHON'
import hashlib, json, sys, time
from datetime import datetime, timezone

manifest, installer, url, *options = sys.argv[1:]
with open(manifest, "rb") as f:
    pairs = json.loads(f.read().decode("utf-8"), object_pairs_hook=lambda p: p)
with open(installer, "rb") as f:
    data = f.read()
want = [("version", "2.0.0"), ("url", url), ("sha256", hashlib.sha256(data).hexdigest()),
        ("size", len(data)), ("rollout", 100), ("mandatory", False)]
given = {}
i = 0
while i < len(options):
    name = options[i][2:]
    if name == "mandatory":
        given[name] = True
        i += 1
    else:
        given[name] = options[i + 1]
        i += 2
if "rollout" in given:
    want[4] = ("rollout", int(given["rollout"]))
if "mandatory" in given:
    want[5] = ("mandatory", True)
if "expires" in given:
    want.append(("expires", given["expires"]))
if "valid-for" in given:
    got = dict(pairs).get("expires", "")
    until = datetime.strptime(got, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=timezone.utc).timestamp()
    if abs(until - (time.time() + int(given["valid-for"]) * 86400)) > 120:
        sys.exit(f"--valid-for {given['valid-for']} gave expires {got}")
    want.append(("expires", got))
if "product" in given:
    want.append(("product", given["product"]))
if "notes" in given:
    with open(given["notes"], "rb") as f:
        want.append(("notes", f.read().decode("utf-8")))
# As JSON, so that false and 0 differ.
if json.dumps(pairs) != json.dumps(want):
    sys.exit(f"{manifest}:\n  got  {pairs}\n  want {want}")
PYTHON
}

url=https://downloads.example.test/app/setup-2.0.0.exe
count=0
while IFS='|' read -r name options; do
    manifest=$work/manifest-$count.json
    count=$((count + 1))
    before=$failures
    # shellcheck disable=SC2086 # the options are words
    if ! "$publish" manifest "$installer" --version 2.0.0 --url "$url" $options \
        --out "$manifest" >"$work/output.txt" 2>&1; then
        fail "$name: manifest $options: $(cat "$work/output.txt")"
        continue
    fi
    # shellcheck disable=SC2086
    check_manifest "$manifest" "$installer" "$url" $options || fail "$name: manifest $options"
    "$publish" sign "$manifest" --key "$work/release.pem" >/dev/null || fail "$name: sign"
    openssl dgst -sha256 -verify "$work/release.pub.pem" -signature "$manifest.sig" "$manifest" \
        >/dev/null || fail "$name: openssl does not verify the signature"
    if ! "$publish" verify "$manifest" --public-key "$work/release.pub.pem" >"$work/output.txt" 2>&1 ||
        ! grep -qF "$manifest: signature valid" "$work/output.txt"; then
        fail "$name: verify: $(cat "$work/output.txt")"
    fi
    [ "$failures" -ne "$before" ] || echo "ok: $name"
done <<ROWS
the library's keys only|
every option, expiry as a time|--rollout 25 --mandatory --expires 2999-01-31T00:00:00Z --product Vendor.App_2-x --notes $work/notes.txt
expiry as days, a product|--valid-for 30 --product app
notes alone|--notes $work/notes.txt
rollout to nobody|--rollout 0
ROWS

# What verify refuses after a successful sign: a changed manifest, and one
# that has expired, each with exit 2.
signed=$work/manifest-0.json
cp "$signed.sig" "$work/changed.json.sig"
sed 's/2\.0\.0/2.0.1/' "$signed" >"$work/changed.json"
"$publish" manifest "$installer" --version 2.0.0 --url "$url" --expires 2020-01-01T00:00:00Z \
    --out "$work/expired.json" >/dev/null
"$publish" sign "$work/expired.json" --key "$work/release.pem" >/dev/null
while IFS='|' read -r text file; do
    status=0
    "$publish" verify "$file" --public-key "$work/release.pub.pem" 2>"$work/error.txt" || status=$?
    if [ "$status" -ne 2 ] || ! grep -qF -- "$text" "$work/error.txt"; then
        fail "verify $file: exit $status, $(cat "$work/error.txt")"
    fi
done <<ROWS
does not verify: the manifest was changed|$work/changed.json
signature valid, but the manifest expired at 2020-01-01T00:00:00Z|$work/expired.json
ROWS

echo "$count manifests written, signed and verified, $failures failures"
[ "$failures" -eq 0 ]
