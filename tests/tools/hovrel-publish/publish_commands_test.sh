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
printf 'Behebt den Absturz beim Beenden.\n' >"$work/notes-de.txt"
printf 'Corrige a falha ao sair.\n' >"$work/notes-pt.txt"
printf '\xe4\xbf\xae\xe6\xad\xa3 "\xe7\xb5\x90\xe6\x9e\x9c"\n' >"$work/notes-zh.txt"
# Latin-1, as an editor might save German notes.
printf 'Stra\xdfe\n' >"$work/latin1.txt"

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
languages = []
i = 0
while i < len(options):
    name = options[i][2:]
    if name.startswith("notes-for="):
        languages.append((name.split("=", 1)[1], options[i + 1]))
        i += 2
    elif name == "notes-for":
        languages.append((options[i + 1], options[i + 2]))
        i += 3
    elif name in ("mandatory", "no-expiry"):
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
if "expires" not in given and "no-expiry" not in given:
    # 30 days unless told otherwise.
    days = int(given.get("expires-in", given.get("valid-for", 30)))
    got = dict(pairs).get("expires", "")
    until = datetime.strptime(got, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=timezone.utc).timestamp()
    if abs(until - (time.time() + days * 86400)) > 120:
        sys.exit(f"{days} days gave expires {got}")
    want.append(("expires", got))
if "product" in given:
    want.append(("product", given["product"]))
if "min-windows" in given:
    want.append(("min_windows", given["min-windows"]))
if "notes" in given:
    with open(given["notes"], "rb") as f:
        want.append(("notes", f.read().decode("utf-8")))
for tag, path in languages:
    parts = tag.split("-")
    canonical = [parts[0].lower()] + [p.title() if len(p) == 4 else p.upper() for p in parts[1:]]
    with open(path, "rb") as f:
        want.append(("notes." + "-".join(canonical), f.read().decode("utf-8")))
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
the default expiry|
every option, expiry as a time|--rollout 25 --mandatory --expires 2999-01-31T00:00:00Z --product Vendor.App_2-x --min-windows 10.0.17763 --notes $work/notes.txt
expiry as days, a product|--expires-in 7 --product app
expiry by its earlier option|--valid-for 9 --product app
no expiry|--no-expiry --product app
notes alone|--notes $work/notes.txt --product app
rollout to nobody|--rollout 0 --product app
notes in three languages, in the order given|--notes $work/notes.txt --notes-for pt-br $work/notes-pt.txt --notes-for DE $work/notes-de.txt --notes-for=zh-hant-tw $work/notes-zh.txt --product app
notes in one language only|--notes-for es-419 $work/notes.txt --product app
ROWS

# What manifest refuses, with exit 1 and the line naming the option.
while IFS='|' read -r text options; do
    status=0
    # shellcheck disable=SC2086
    "$publish" manifest "$installer" --version 2.0.0 --url "$url" $options \
        --out "$work/refused.json" 2>"$work/error.txt" >/dev/null || status=$?
    if [ "$status" -ne 1 ] || ! grep -qF -- "$text" "$work/error.txt" || [ -e "$work/refused.json" ]; then
        fail "manifest $options: exit $status, $(cat "$work/error.txt")"
    fi
done <<ROWS
give one of --expires, --expires-in and --no-expiry|--expires-in 7 --no-expiry
give one of --expires, --expires-in and --no-expiry|--expires 2999-01-31T00:00:00Z --expires-in 7
--expires-in must be a whole number of days from 1 to 36500|--expires-in 0
--min-windows 10.0 is not a Windows version|--min-windows 10.0
--min-windows 10.0.x is not a Windows version|--min-windows 10.0.x
--product must be 1 to 64 letters|--product a/b
--notes-for de-x is not a language tag such as de, pt-BR, zh-Hant or es-419|--notes-for de-x $work/notes-de.txt
--notes-for pt_BR is not a language tag|--notes-for pt_BR $work/notes-pt.txt
--notes-for zh-TW-Hant is not a language tag|--notes-for zh-TW-Hant $work/notes-zh.txt
--notes-for de given twice|--notes-for de $work/notes-de.txt --notes-for DE $work/notes.txt
--notes-for needs a language tag and a file|--notes-for de --product app
--notes-for de $work/latin1.txt is not UTF-8 text|--notes $work/notes.txt --notes-for de $work/latin1.txt
--notes $work/latin1.txt is not UTF-8 text|--notes $work/latin1.txt --notes-for de $work/notes-de.txt
ROWS

# The policy template: two well-formed XML files whose key and value names
# are exactly those the programs read, taken from their header.
names=$(dirname "$0")/../../../host/road/registry_names.h
"$publish" policy-template --product Vendor.App --name 'Example & "App"' --out "$work/policy" \
    >"$work/output.txt" || fail "policy-template: $(cat "$work/output.txt")"
python3 - "$names" "$work/policy/Hovrel-Vendor.App.admx" "$work/policy/en-US/Hovrel-Vendor.App.adml" <<'PYTHON' || fail "policy-template's files"
import re, sys
import xml.etree.ElementTree as ET

header, admx, adml = sys.argv[1:]
names = dict(re.findall(r'inline constexpr char (k\w+)\[\] = "((?:[^"\\]|\\.)*)";', open(header).read()))
names = {k: v.replace("\\\\", "\\") for k, v in names.items()}
ns = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
definitions = ET.parse(admx).getroot()
resources = ET.parse(adml).getroot()
problems = []
policies = {p.get("name"): p for p in definitions.iterfind("p:policies/p:policy", ns)}
want = {names["kAutomaticChecks"], names["kCheckIntervalHours"], names["kChannel"]}
if set(policies) != want:
    problems.append(f"policies {sorted(policies)}, want {sorted(want)}")
for name, policy in policies.items():
    if policy.get("key") != names["kPolicyKeyPrefix"] + "Vendor.App" or policy.get("class") != "Machine":
        problems.append(f"{name}: key {policy.get('key')}, class {policy.get('class')}")
    # The value written is named exactly as the programs read it.
    values = [policy.get("valueName")] + [e.get("valueName") for e in policy.find("p:elements", ns) or []]
    if [v for v in values if v] != [name]:
        problems.append(f"{name}: value names {values}")
automatic = policies.get(names["kAutomaticChecks"])
if automatic is not None and (automatic.find("p:enabledValue/p:decimal", ns).get("value"),
                              automatic.find("p:disabledValue/p:decimal", ns).get("value")) != ("1", "0"):
    problems.append("AutomaticChecks is not 1 enabled, 0 disabled")
interval = definitions.find(f".//p:decimal[@valueName='{names['kCheckIntervalHours']}']", ns)
if interval is None or (interval.get("minValue"), interval.get("maxValue")) != ("1", "744"):
    problems.append("CheckIntervalHours is not a decimal from 1 to 744")
if definitions.find(f".//p:text[@valueName='{names['kChannel']}']", ns) is None:
    problems.append("Channel is not a text value")
# Every string and presentation the ADMX refers to is in the ADML.
strings = {s.get("id") for s in resources.iterfind(".//p:stringTable/p:string", ns)}
presentations = {s.get("id") for s in resources.iterfind(".//p:presentationTable/p:presentation", ns)}
for ref in re.findall(r"\$\((string|presentation)\.(\w+)\)", open(admx).read()):
    if ref[1] not in (strings if ref[0] == "string" else presentations):
        problems.append(f"the ADML has no {ref[0]} {ref[1]}")
if 'Example & "App"' not in resources.find(".//p:string[@id='Updates']", ns).text:
    problems.append("the name is not in the ADML")
if problems:
    sys.exit("\n".join(problems))
PYTHON
while IFS='|' read -r text options; do
    status=0
    # shellcheck disable=SC2086
    "$publish" policy-template $options --out "$work/policy-refused" 2>"$work/error.txt" || status=$?
    [ "$status" -eq 1 ] && grep -qF -- "$text" "$work/error.txt" || fail "policy-template $options: exit $status, $(cat "$work/error.txt")"
done <<ROWS
--product must be 1 to 64 letters|--product a\b --name App
missing --name|--product app
missing --product|--name App
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
