#!/usr/bin/env bash
# The update road end to end on one Debian 12 machine: build Hovrel.dll,
# hovrel-update and hovrel-publish, build a real NSIS installer, and publish
# it as a publisher would: a signing key, a manifest, its signature, served
# from a local HTTP server (127.0.0.1 only). Then hovrel-update checks the
# signature, downloads, verifies and silently installs it under Wine. Next to
# it, the MSI road: a per-user MSI built with wixl, signed the same way,
# installed through msiexec from a private folder that is gone afterwards.
# Then the background road: 2.0.0 staged while 1.0.0 runs, applied when it
# quits, and the app started again. Last, the same road refuses a swapped manifest, a missing signature, an
# expired manifest and a tampered package, and leaves no file behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

step() { printf '\n=== %s\n' "$*"; }

step "Dependencies and build"
bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw
cmake --preset native >/dev/null
cmake --build --preset native --target hovrel-publish
publish=$root/build/native/bin/hovrel-publish

tool=$root/build/mingw/bin/hovrel-update.exe
work=$root/build/demo
site=$work/site
rm -rf "$work"
mkdir -p "$site"

source scripts/wine-session.sh
source tests/server/serve.sh
wine_session_cleanup=stop_server

step "Building the installer for version 2.0.0 with NSIS"
version=2.0.0
package=HovrelDemoApp-$version-setup.exe
makensis -V2 -DVERSION=$version -DOUTFILE="$site/$package" demo/hovrel-demo-app.nsi
size=$(stat -c %s "$site/$package")
sha256=$(sha256sum "$site/$package" | cut -d' ' -f1)
echo "$package: $size bytes, SHA-256 $sha256"

step "Starting the update server on 127.0.0.1"
serve_folder "$site" "$work"
base=http://127.0.0.1:$server_port

step "Publisher: a signing key, the manifest and its signature (hovrel-publish)"
"$publish" keygen --out "$work/release-key.pem"
"$publish" manifest "$site/$package" --version $version --url "$base/$package" --expires-in 30 \
    --out "$site/manifest.json"
"$publish" sign "$site/manifest.json" --key "$work/release-key.pem"
"$publish" verify "$site/manifest.json" --public-key "$work/release-key.pub.pem"
public_key=$(sed '1d;$d' "$work/release-key.pub.pem" | tr -d '\n')
echo "Serving $site at $base"
cat "$site/manifest.json"

# The app's folder inside the prefix, and a fresh start for it.
local_app_data=$("$wine_run" cmd.exe /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d '\r')
app_dir=$(winepath -u "$local_app_data" 2>/dev/null)/HovrelDemoApp
rm -rf "$app_dir"
out_windows='C:\users\Public\hovrel-demo-setup.exe'
out_unix=$(winepath -u "$out_windows" 2>/dev/null)
rm -f "$out_unix"

run_tool() {
    set +e
    "$wine_run" "$tool" "$@"
    status=$?
    set -e
    echo "(hovrel-update exited with $status)"
}

step "hovrel-update check (installed 1.0.0)"
run_tool check --manifest "$base/manifest.json" --installed 1.0.0 --public-key "$public_key"
[ "$status" -eq 8 ]

step "hovrel-update update --public-key ... --yes --installer-args /S"
run_tool update --manifest "$base/manifest.json" --installed 1.0.0 --yes --installer-args /S \
    --out "$out_windows" --timeout 120 --public-key "$public_key"
[ "$status" -eq 0 ]

step "Installed version ($app_dir/version.txt)"
cat "$app_dir/version.txt"

step "hovrel-update check (installed 2.0.0)"
run_tool check --manifest "$base/manifest.json" --installed "$(tr -d '\r\n' <"$app_dir/version.txt")" \
    --public-key "$public_key"
[ "$status" -eq 0 ]

step "Building an MSI package for version $version with wixl"
msi=HovrelDemoMsi-$version.msi
mkdir -p "$work/msi"
printf '%s\r\n' "$version" >"$work/msi/version.txt"
(cd "$work/msi" && wixl -a x64 -D VERSION=$version -o "$site/$msi" "$root/demo/hovrel-demo-app.wxs")
"$publish" manifest "$site/$msi" --version $version --url "$base/$msi" --expires-in 30 \
    --out "$site/manifest-msi.json"
"$publish" sign "$site/manifest-msi.json" --key "$work/release-key.pem"
cat "$site/manifest-msi.json"
msi_dir=$(winepath -u "$local_app_data" 2>/dev/null)/HovrelDemoMsi
rm -rf "$msi_dir"

step "hovrel-update update --yes (MSI, through msiexec, into a private folder)"
run_tool update --manifest "$base/manifest-msi.json" --installed 1.0.0 --yes --timeout 120 \
    --public-key "$public_key" >"$work/msi-run.txt" 2>&1
cat "$work/msi-run.txt"
[ "$status" -eq 0 ]
echo "Installed by msiexec: $msi_dir/version.txt says $(tr -d '\r\n' <"$msi_dir/version.txt")"
msi_folder=$(winepath -u "$(sed -n 's/^ *to //p' "$work/msi-run.txt" | tr -d '\r')" 2>/dev/null)
msi_folder=$(dirname "$msi_folder")
[ ! -e "$msi_folder" ]
echo "The private package folder $msi_folder is gone."
"$wine_run" msiexec /x "$(winepath -w "$site/$msi" 2>/dev/null)" /qn </dev/null >/dev/null 2>&1 || true

step "The background road: version 1.0.0 installed and running"
makensis -V2 -DVERSION=1.0.0 -DOUTFILE="$work/HovrelDemoApp-1.0.0-setup.exe" demo/hovrel-demo-app.nsi
"$wine_run" "$work/HovrelDemoApp-1.0.0-setup.exe" /S </dev/null >/dev/null 2>&1
echo "Installed version: $(tr -d '\r\n' <"$app_dir/version.txt")"
# The running app stands in as a program that prints its process id and
# lingers; the one started again afterwards writes its command line down.
recorder=$root/build/mingw/bin/installer_recorder.exe
cp "$recorder" "$work/app.exe"
HOVREL_RECORDER_LINGER_MS=6000 "$wine_run" "$recorder" >"$work/app-pid.txt" 2>/dev/null &
app=$!
for _ in $(seq 600); do [ -s "$work/app-pid.txt" ] && break; sleep 0.1; done
app_pid=$(tr -d '\r\n' <"$work/app-pid.txt")
echo "The app runs as process $app_pid."
run_tool status --product HovrelDemoApp --reset >/dev/null

# A stage belongs to one product: this manifest names it.
"$publish" manifest "$site/$package" --version $version --url "$base/$package" --expires-in 30 \
    --product HovrelDemoApp --out "$site/manifest-app.json" >/dev/null
"$publish" sign "$site/manifest-app.json" --key "$work/release-key.pem" >/dev/null

step "At the app's start: hovrel-update update --background (nothing asked, nothing installed)"
run_tool update --background --product HovrelDemoApp --manifest "$base/manifest-app.json" \
    --installed 1.0.0 --public-key "$public_key"
[ "$status" -eq 0 ]
run_tool status --product HovrelDemoApp | grep "Staged update"
stage_dir=$(winepath -u "$local_app_data" 2>/dev/null)/Hovrel/HovrelDemoApp/staged
ls -l "$stage_dir"
echo "Still installed: $(tr -d '\r\n' <"$app_dir/version.txt")"

step "At the app's exit: hovrel-update apply --wait-pid $app_pid --relaunch app.exe"
relaunched=$work/relaunched.txt
HOVREL_RECORDER_OUT=$(winepath -w "$relaunched" 2>/dev/null) run_tool apply --product HovrelDemoApp \
    --installed 1.0.0 --public-key "$public_key" --installer-args /S --wait-pid "$app_pid" \
    --timeout 120 --relaunch "$(winepath -w "$work/app.exe" 2>/dev/null)" --relaunch-args "--updated-to 2.0.0"
[ "$status" -eq 0 ]
wait "$app" || true
for _ in $(seq 300); do [ -s "$relaunched" ] && break; sleep 0.1; done
echo "Installed version now: $(tr -d '\r\n' <"$app_dir/version.txt")"
echo "The app started again with: $(iconv -f UTF-16LE -t UTF-8 "$relaunched")"
[ ! -e "$stage_dir" ]
echo "The stage $stage_dir is gone."

# refused NAME STATUS: update from NAME.json must stop with STATUS and leave
# no package behind.
refused() {
    rm -f "$out_unix"
    run_tool update --manifest "$base/$1.json" --installed 1.0.0 --yes --installer-args /S \
        --out "$out_windows" --public-key "$public_key"
    [ "$status" -eq "$2" ]
    if [ -e "$out_unix" ]; then
        echo "FAIL: a package is left at $out_unix"
        exit 1
    fi
    echo "No file at $out_windows: nothing was kept."
}

tampered=$work/tampered-setup.exe
cp "$site/$package" "$tampered"
printf 'not the publisher' >>"$tampered"
cp "$tampered" "$site/tampered-setup.exe"
sed -e "s/$sha256/$(sha256sum "$tampered" | cut -d' ' -f1)/" \
    -e "s/\"size\": $size/\"size\": $(stat -c %s "$tampered")/" \
    -e "s|$package|tampered-setup.exe|" "$site/manifest.json" >"$site/swapped.json"
cp "$site/manifest.json.sig" "$site/swapped.json.sig"
step "A manifest pointing at another package, its signature left as it was"
refused swapped 9

cp "$site/manifest.json" "$site/no-signature.json"
step "A manifest without its .sig"
refused no-signature 9

"$publish" manifest "$site/$package" --version $version --url "$base/$package" \
    --expires 2026-01-01T00:00:00Z --out "$site/expired.json" >/dev/null
"$publish" sign "$site/expired.json" --key "$work/release-key.pem" >/dev/null
step "A correctly signed manifest that expired on 2026-01-01"
refused expired 9

step "A tampered package behind the signed manifest"
python3 - "$site/$package" <<'EOF'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
data[len(data) // 2] ^= 0xFF
open(path, "wb").write(data)
EOF
echo "Served package now: $(stat -c %s "$site/$package") bytes, SHA-256 $(sha256sum "$site/$package" | cut -d' ' -f1)"
refused manifest 4
echo "Installed version is still: $(cat "$app_dir/version.txt")"

step "Demo finished"
