#!/usr/bin/env bash
# The update road end to end on one Debian 12 machine: build Hovrel.dll and
# hovrel-update, build a real NSIS installer, publish it with its manifest on
# a local HTTP server (127.0.0.1 only), then let hovrel-update check,
# download, verify and silently install it under Wine. Last, the same road
# refuses a tampered package and leaves no file behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

step() { printf '\n=== %s\n' "$*"; }

step "Dependencies and build"
bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw

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
cat >"$site/manifest.json" <<EOF
{
  "version": "$version",
  "url": "$base/$package",
  "sha256": "$sha256",
  "size": $size,
  "rollout": 100,
  "mandatory": false
}
EOF
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
run_tool check --manifest "$base/manifest.json" --installed 1.0.0
[ "$status" -eq 8 ]

step "hovrel-update update --yes --installer-args /S"
run_tool update --manifest "$base/manifest.json" --installed 1.0.0 --yes --installer-args /S \
    --out "$out_windows" --timeout 120
[ "$status" -eq 0 ]

step "Installed version ($app_dir/version.txt)"
cat "$app_dir/version.txt"

step "hovrel-update check (installed 2.0.0)"
run_tool check --manifest "$base/manifest.json" --installed "$(tr -d '\r\n' <"$app_dir/version.txt")"
[ "$status" -eq 0 ]

step "A tampered package behind the same manifest"
rm -f "$out_unix"
python3 - "$site/$package" <<'EOF'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
data[len(data) // 2] ^= 0xFF
open(path, "wb").write(data)
EOF
echo "Served package now: $(stat -c %s "$site/$package") bytes, SHA-256 $(sha256sum "$site/$package" | cut -d' ' -f1)"
run_tool update --manifest "$base/manifest.json" --installed 1.0.0 --yes --installer-args /S \
    --out "$out_windows"
[ "$status" -eq 4 ]
if [ -e "$out_unix" ]; then
    echo "FAIL: the tampered download is still at $out_unix"
    exit 1
fi
echo "No file at $out_windows: the tampered download was deleted."
echo "Installed version is still: $(cat "$app_dir/version.txt")"

step "Demo finished"
