#!/usr/bin/env bash
# The window in the language asked for: --language de shows German pages,
# buttons and the manifest's "notes.de"; a failure's heading is German with
# the road's English line as its details; --language ar mirrors the dialog
# once an Arabic table is listed; a malformed tag is exit 1 with one line.
# What each page showed comes from the test build's HOVREL_UPDATER_TEST_TEXTS
# log: every control's text, and whether the window is laid out right to left.
# The window needs a display: Xvfb, and a Wine prefix of this test's own.
# Arguments: the build directory.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"
program=$build/bin/hovrel-updater-test.exe

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; WINEPREFIX=$scratch/prefix wineserver -k 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
DISPLAY=:$(head -n1 "$scratch/display")
export DISPLAY WINEPREFIX=$scratch/prefix
wineboot -i >/dev/null 2>&1

manifest offer notes="Faster start." notes.de="Schneller Start."
# shown LANGUAGE KEYS ARGS...: the window's exit status, then what it showed.
shown() {
    local texts=$scratch/texts.txt language=$1 keys=$2 status=0
    shift 2
    rm -f "$texts"
    HOVREL_UPDATER_TEST_TEXTS=$(windows_path "$texts") HOVREL_UPDATER_TEST_KEYS=$keys \
        HOVREL_UPDATER_TEST_PAGE_MS=100 timeout 30 wine "$program" update --name Demo \
        --installed 1.0.0 --allow-unsigned --language "$language" "$@" </dev/null \
        >/dev/null 2>&1 || status=$?
    echo "exit $status"
    cat "$texts" 2>/dev/null || true
}
# has TEXT...: each TEXT is a line of the last page log.
has() {
    local want
    for want in "$@"; do
        if grep -qxF -- "$want" <<<"$seen"; then
            echo "ok: \"$want\""
        else
            fail "no \"$want\" in:"
            sed 's/^/    /' <<<"$seen"
        fi
    done
}

seen=$(shown de offer=escape@300 --manifest "$base/offer.json")
has "exit 6" "checking ltr" "  Suche nach Updates..." "offer ltr" "  Demo 2.0.0 ist verfügbar." \
    "  Installiert ist 1.0.0.\\n\\nNeuerungen:\\nSchneller Start." "  Jetzt &installieren" \
    "  &Später erinnern"
# A region of German, in any case, is German; a language without a table is English.
seen=$(shown DE-at offer=escape@300 --manifest "$base/offer.json")
has "exit 6" "  Demo 2.0.0 ist verfügbar."
seen=$(shown tlh offer=escape@300 --manifest "$base/offer.json")
has "exit 6" "  Demo 2.0.0 is available." "  You have 1.0.0.\\n\\nWhat's new:\\nFaster start." \
    "  &Install now"

seen=$(shown de outcome=escape@300 --manifest "$base/missing.json" --retries 0)
has "exit 2" "outcome:failed ltr" "  Der Update-Server ist nicht erreichbar." "  Exitcode 2"
grep -qF "Details: Cannot fetch the manifest" <<<"$seen" && echo "ok: English details" ||
    fail "no English details on the German failure page: $seen"

seen=$(shown ar offer=escape@300 --manifest "$base/offer.json")
if [ -f "$(dirname "$0")/../../../host/language/texts_ar.cpp" ]; then
    has "exit 6" "offer rtl"
else
    echo "note: no Arabic table listed yet; ar falls back to English, left to right"
    has "exit 6" "offer ltr" "  &Install now"
fi

status=0
wine "$program" update --manifest "$base/offer.json" --installed 1.0.0 --language de_DE \
    </dev/null >"$scratch/out.txt" 2>"$scratch/err.txt" || status=$?
if [ "$status" -eq 1 ] && [ "$(tr -d '\r' <"$scratch/err.txt" | head -n1)" = \
    "hovrel-updater: --language needs a language tag such as de or pt-BR" ]; then
    echo "ok: a malformed tag is exit 1 with one line"
else
    fail "--language de_DE: exit $status, $(cat "$scratch/err.txt")"
fi

finish
