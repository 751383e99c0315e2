#!/usr/bin/env bash
# Pictures of hovrel-updater.exe: runs the window under Xvfb and Wine against
# a local server (127.0.0.1) with a manifest signed by hovrel-publish, walks
# its pages through the window's test-only keys and captures each page as a
# PNG, cropped to the dialog (ImageMagick's own /usr/bin/import and convert,
# not other programs of those names earlier on PATH). All pages go to build/screenshots; the offer,
# the progress, the outcome, the consent page and the offer with Skip this
# version to docs/ as well.
#
# Run it when no other program uses build/mingw's Wine prefix: a Wine session
# started without a display cannot show this window later.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target hovrel-updater-test installer_recorder
cmake --preset native >/dev/null
cmake --build --preset native --target hovrel-publish
publish=$root/build/native/bin/hovrel-publish
shots=$root/build/screenshots
rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
site=$work/site
mkdir -p "$site"

# A display of its own; -displayfd picks a free number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
# The display first: the session's desktop is made with it.
source scripts/wine-session.sh
source tests/server/serve.sh
cleanup() {
    stop_server
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The "installer": installer_recorder, padded to 3 MiB so that the download
# lasts about three seconds at the server's 1 MiB/s.
cat "$wine_build/bin/installer_recorder.exe" >"$site/DemoSetup-2.0.0.exe"
head -c $((3 * 1024 * 1024)) /dev/urandom >>"$site/DemoSetup-2.0.0.exe"
serve_folder "$site" "$work" --rate 1048576
base=http://127.0.0.1:$server_port
"$publish" keygen --out "$work/release-key.pem" >/dev/null
printf 'Starts twice as fast.\nOpens files of any size.\nFixes the crash on exit.' >"$work/notes.txt"
publish_manifest() { # name [hovrel-publish options...]
    local name=$1
    shift
    "$publish" manifest "$site/DemoSetup-2.0.0.exe" --version 2.0.0 --product demo \
        --url "$base/DemoSetup-2.0.0.exe" --expires-in 30 --notes "$work/notes.txt" "$@" \
        --out "$site/$name.json" >/dev/null
    "$publish" sign "$site/$name.json" --key "$work/release-key.pem" >/dev/null
}
publish_manifest update
publish_manifest mandatory --mandatory
cp "$site/update.json" "$site/broken.json"
sed -i 's/"sha256": "[0-9a-f]*"/"sha256": "'"$(printf '0%.0s' {1..64})"'"/' "$site/broken.json"
"$publish" sign "$site/broken.json" --key "$work/release-key.pem" >/dev/null
key=$(windows_path "$work/release-key.pub.pem")

# run NAME PAGES EXIT KEYS RECORDER_EXIT ARGS...: runs the window, captures
# each page 800 ms after it appeared as $shots/NAME-<n>-<page>.png, and fails
# unless the window showed PAGES and exited with EXIT.
failures=0
run() {
    local name=$1 want_pages=$2 want_exit=$3 keys=$4 exit_code=$5
    shift 5
    local log=$work/$name.log
    rm -f "$log"
    HOVREL_UPDATER_TEST_LOG=$(windows_path "$log") HOVREL_UPDATER_TEST_KEYS=$keys \
        HOVREL_UPDATER_TEST_PAGE_MS=${page_ms:-2000} HOVREL_RECORDER_LINGER_MS=2500 \
        HOVREL_RECORDER_EXIT=$exit_code timeout 90 "$wine_run" "$wine_build/bin/hovrel-updater-test.exe" \
        "$@" --public-key "$key" --product demo --name "Hovrel Demo" </dev/null \
        >"$work/$name.out" 2>&1 &
    local window=$! seen=0 lines status=0
    while kill -0 "$window" 2>/dev/null; do
        lines=$( (grep -c . "$log" 2>/dev/null) || true)
        if [ "${lines:-0}" -gt "$seen" ]; then
            seen=$((seen + 1))
            sleep 0.8
            local page
            page=$(sed -n "${seen}p" "$log" | tr ':' '-')
            /usr/bin/import -window root "$work/screen.png"
            # The root is black around the dialog: trimming crops to it.
            /usr/bin/convert "$work/screen.png" -trim +repage "$shots/$name-$seen-$page.png"
        fi
        sleep 0.1
    done
    wait "$window" || status=$?
    local pages
    pages=$(tr '\n' ' ' <"$log" | sed 's/ $//')
    if [ "$status" -ne "$want_exit" ] || [ "$pages" != "$want_pages" ]; then
        echo "FAIL $name: exit $status, pages: $pages (wanted exit $want_exit, pages: $want_pages)"
        failures=$((failures + 1))
    else
        echo "ok $name: exit $status, pages: $pages"
    fi
}
run update "checking offer downloading verifying installing outcome:installed" 0 \
    "offer=enter@1200,outcome=enter@1500" 0 update --manifest "$base/update.json" --installed 1.4.2
# Escape is Later on the restart page.
run restart "checking offer downloading verifying installing outcome:restart" 7 \
    "offer=enter@300,outcome=escape@1500" 3010 update --manifest "$base/update.json" --installed 1.4.2
# A mandatory offer has no Later: Escape does nothing there.
run mandatory "checking offer downloading verifying installing outcome:installed" 0 \
    "offer=escape@300,offer=enter@1500,outcome=enter@300" 0 \
    update --manifest "$base/mandatory.json" --installed 1.4.2
run current "checking outcome:up-to-date" 0 "outcome=enter@1500" 0 \
    update --manifest "$base/update.json" --installed 2.0.0
run failure "checking offer downloading outcome:failed" 4 "offer=enter@300,outcome=enter@1500" 0 \
    update --manifest "$base/broken.json" --installed 1.4.2
# Cancel while downloading: the window closes, exit 6.
page_ms=300 run cancel "checking offer downloading" 6 "offer=enter@300,downloading=escape@500" 0 \
    update --manifest "$base/update.json" --installed 1.4.2

# The product's state: the consent page on the second automatic run, then
# the offer's Skip this version (the second button) on a manual one.
demo_key='HKCU\Software\Hovrel\demo'
"$wine_run" reg delete "$demo_key" /f </dev/null >/dev/null 2>&1 || true
"$wine_run" reg add "$demo_key" /v FirstAutomaticRun /t REG_QWORD /d 1000 /f </dev/null >/dev/null 2>&1
run consent "consent" 0 "consent=enter@1500" 0 update --auto --manifest "$base/update.json" --installed 2.0.0
run skip "checking offer" 6 "offer=tab@1200,offer=enter@300" 0 \
    update --manifest "$base/update.json" --installed 1.4.2
"$wine_run" reg delete "$demo_key" /f </dev/null >/dev/null 2>&1 || true

cp "$shots"/update-2-offer.png docs/updater-offer.png
cp "$shots"/consent-1-consent.png docs/updater-consent.png
cp "$shots"/skip-2-offer.png docs/updater-offer-skip.png
cp "$shots"/update-3-downloading.png docs/updater-progress.png
cp "$shots"/update-6-outcome-installed.png docs/updater-outcome.png
ls "$shots"
[ "$failures" -eq 0 ] || { echo "$failures runs went wrong"; exit 1; }
