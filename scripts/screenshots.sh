#!/usr/bin/env bash
# Pictures of hovrel-updater.exe: runs the window under Xvfb, openbox and Wine
# against a local server (127.0.0.1) with a manifest signed by hovrel-publish,
# walks its pages through the window's test-only keys and captures each page
# as a PNG, cropped to the window with openbox's title bar (ImageMagick's own
# /usr/bin/import and convert, not other programs of those names earlier on
# PATH). All pages go to build/screenshots; the offer, the progress, the
# outcome, the consent page and the offer with Skip this version to docs/ as
# well, and the offer and the progress in each of HOVREL_SCREENSHOT_LANGUAGES
# (default "de ja ar"; empty for the English pictures only) as
# docs/updater-offer-TAG.png and docs/updater-progress-TAG.png.
# build/screenshots/scripts-2-offer.png shows Japanese and Arabic release
# notes: look at it after changing fonts; boxes there are glyphs Wine did not
# find (the Arabic, under Wine 8 here).
#
# Run it when no other program uses build/mingw's Wine prefix: a Wine session
# started without a display cannot show this window later.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# A window manager for the title bars, and fonts for Japanese and Arabic,
# which Wine finds through fontconfig.
bash scripts/install-deps.sh openbox x11-utils fonts-noto-cjk fonts-noto-core
languages=${HOVREL_SCREENSHOT_LANGUAGES-de ja ar}
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
openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' ||
    { echo "openbox did not start on $DISPLAY; see $work/openbox.log"; exit 1; }
# The display first: the session's desktop is made with it.
source scripts/wine-session.sh
source tests/server/serve.sh
cleanup() {
    stop_server
    wineserver -k 2>/dev/null || true
    kill "$openbox_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# Windows of the window manager, with its title bar and frame, rather than
# Wine's own undecorated ones; Wine reads these at each program's start.
for setting in Managed Decorated; do
    "$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v "$setting" /d Y /f </dev/null >/dev/null 2>&1
done

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
cat >"$work/notes-de.txt" <<'NOTES'
Startet doppelt so schnell.
Öffnet Dateien jeder Größe.
Behebt den Absturz beim Beenden.
NOTES
cat >"$work/notes-ja.txt" <<'NOTES'
起動が2倍速くなりました。
どんなサイズのファイルも開けます。
終了時のクラッシュを修正しました。
NOTES
cat >"$work/notes-ar.txt" <<'NOTES'
يبدأ أسرع بمرتين.
يفتح الملفات بأي حجم.
يصلح التعطل عند الخروج.
NOTES
publish_manifest languages --notes-for de "$work/notes-de.txt" --notes-for ja "$work/notes-ja.txt" \
    --notes-for ar "$work/notes-ar.txt"
# Release notes in Japanese and Arabic, shown by any build of the window.
cat "$work/notes-ja.txt" "$work/notes-ar.txt" >"$work/notes-scripts.txt"
"$publish" manifest "$site/DemoSetup-2.0.0.exe" --version 2.0.0 --product demo \
    --url "$base/DemoSetup-2.0.0.exe" --expires-in 30 --notes "$work/notes-scripts.txt" \
    --out "$site/scripts.json" >/dev/null
"$publish" sign "$site/scripts.json" --key "$work/release-key.pem" >/dev/null
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
    # A window that refused its command line wrote no log at all.
    pages=$(cat "$log" 2>/dev/null | tr '\n' ' ' | sed 's/ $//' || true)
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

# Wine finds the Noto fonts but falls back to them for no glyph on its own
# (Japanese comes out as boxes): link them to Tahoma, the dialog's face. The
# link changes how Latin text is set too, so only the runs below have it.
links='NotoSansCJK-Regular.ttc,Noto Sans CJK JP\0NotoSansArabic-Regular.ttf,Noto Sans Arabic'
links_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
"$wine_run" reg add "$links_key" /v Tahoma /t REG_MULTI_SZ /d "$links" /f </dev/null >/dev/null 2>&1

# The fonts: Japanese and Arabic release notes, which any build of the window
# shows; Escape is Later.
run scripts "checking offer" 6 "offer=escape@1500" 0 \
    update --manifest "$base/scripts.json" --installed 1.4.2
# The offer and the progress in other languages; Cancel while downloading.
# Arabic is shaped through Uniscribe, which takes glyphs from the dialog's own
# face only, never from a linked one: those runs set the message font (the
# task dialog's) to a face with Arabic and Latin letters.
metrics_key='HKCU\Control Panel\Desktop\WindowMetrics'
message_font() {
    local font
    font=$(python3 -c 'import sys
face = sys.argv[1].encode("utf-16-le").ljust(64, b"\0")
print((bytes.fromhex("F5FFFFFF000000000000000000000000900100000000000000000022") + face).hex().upper())' "$1")
    "$wine_run" reg add "$metrics_key" /v MessageFont /t REG_BINARY /d "$font" /f </dev/null >/dev/null 2>&1
}
for tag in $languages; do
    case $tag in ar | he) message_font "DejaVu Sans" ;; esac
    run "language-$tag" "checking offer downloading" 6 \
        "offer=enter@1500,downloading=escape@1500" 0 \
        update --manifest "$base/languages.json" --installed 1.4.2 --language "$tag"
    # A run that went wrong has been counted; its pictures stay out of docs/.
    if [ -f "$shots/language-$tag-3-downloading.png" ]; then
        cp "$shots/language-$tag-2-offer.png" "docs/updater-offer-$tag.png"
        cp "$shots/language-$tag-3-downloading.png" "docs/updater-progress-$tag.png"
    fi
    case $tag in ar | he) message_font "MS Shell Dlg" ;; esac
done

"$wine_run" reg delete "$links_key" /v Tahoma /f </dev/null >/dev/null 2>&1 || true

cp "$shots"/update-2-offer.png docs/updater-offer.png
cp "$shots"/consent-1-consent.png docs/updater-consent.png
cp "$shots"/skip-2-offer.png docs/updater-offer-skip.png
cp "$shots"/update-3-downloading.png docs/updater-progress.png
cp "$shots"/update-6-outcome-installed.png docs/updater-outcome.png
ls "$shots"
[ "$failures" -eq 0 ] || { echo "$failures runs went wrong"; exit 1; }
