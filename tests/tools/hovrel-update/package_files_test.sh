#!/usr/bin/env bash
# hovrel-update's package files under Wine: the file verified is the file
# started, a failed download keeps what was at --out, the kind comes from the
# content, an elevated installer runs from a protected copy, stale run folders
# go. Arguments: the build directory.
set -euo pipefail
build=$1
source "$(dirname "$0")/../../support/host_programs.sh"
tool_options=(--allow-unsigned)
manifest setup
export HOVREL_RECORDER_EXIT=0
temp=$(winepath -u "$("$wine_run" cmd.exe /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null)
windows_temp=$WINEPREFIX/drive_c/windows/temp

echo "== a relative --out starts the verified file, not one beside the program"
# A copy of the program with another program named pkg.exe beside it, which
# Windows would find first for the bare name.
mkdir -p "$scratch/bin" "$scratch/work"
cp "$tool" "$build/bin/Hovrel.dll" "$scratch/bin/"
cp "$build/bin/package_probe.exe" "$scratch/bin/pkg.exe"
for command in install update; do
    rm -f "$record" "$scratch/work/pkg.exe"
    [ $command = update ] || cp "$recorder" "$scratch/work/pkg.exe"
    status=0
    (cd "$scratch/work" && "$wine_run" "$scratch/bin/hovrel-update.exe" $command --manifest \
        "$base/setup.json" --installed 1 --out pkg.exe --yes --allow-unsigned \
        </dev/null >"$scratch/output.txt" 2>&1) || status=$?
    # The probe, had it run, exits 2 and records nothing.
    [ "$status" -eq 0 ] && [ -f "$record" ] ||
        fail "$command --out pkg.exe: exit $status, the verified package did not run: $(cat "$scratch/output.txt")"
    tr -d '\r' <"$scratch/output.txt" | grep -qF "Package $(windows_path "$scratch/work/pkg.exe") matches" ||
        fail "$command --out pkg.exe: the package verified was not the one in the current folder"
    echo "ok: $command --out pkg.exe ran: $(recorded)"
done

echo "== an elevated installer runs from a protected copy, verified again, removed after"
# Wine runs every process elevated and stores no folder access lists (the
# probe reads back the user and SYSTEM, not what was set): what shows here
# is the copy, its second verification, that it is held while the installer
# runs, and the launch from it.
rm -f "$record"
HOVREL_RECORDER_LINGER_MS=3000 "$wine_run" "$tool" update --manifest "$base/setup.json" \
    --installed 1 --yes --allow-unsigned </dev/null >"$scratch/output.txt" 2>&1 &
host=$!
for _ in $(seq 300); do grep -q "Verified again" "$scratch/output.txt" && break; sleep 0.1; done
copy=$(tr -d '\r' <"$scratch/output.txt" | sed -n 's/^.*Verified again: \(.*\), a copy.*$/\1/p')
"$wine_run" "$build/bin/package_probe.exe" "$copy" 2>&1 | tr -d '\r' >"$scratch/probe-copy.txt"
status=0
wait "$host" || status=$?
[ "$status" -eq 0 ] || fail "update through the protected copy: exit $status: $(cat "$scratch/output.txt")"
case $copy in 'C:\windows\Temp\hovrel-'????????????????????????'\setup.exe') ;;
*) fail "protected copy at \"$copy\"" ;; esac
grep -q "^write 32$" "$scratch/probe-copy.txt" && grep -q "^delete 32$" "$scratch/probe-copy.txt" ||
    fail "the copy is not held while its installer runs: $(cat "$scratch/probe-copy.txt")"
[ "$(recorded)" = "\"$copy\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS" ] ||
    fail "the installer started was not the copy: $(recorded)"
[ ! -e "$(dirname "$(winepath -u "$copy")")" ] || fail "the protected copy's folder $copy is left"
echo "ok: ran $copy, held: $(grep -E '^(write|delete)' "$scratch/probe-copy.txt" | tr '\n' ' ')"

echo "== a failed download keeps what was at --out; a verified one replaces it"
out=$scratch/kept/package.exe
mkdir -p "$(dirname "$out")"
printf 'the earlier package\r\n' >"$out"
cp "$out" "$scratch/earlier.exe"
manifest wrong sha256="$(printf '0%.0s' {1..64})"
manifest short size:=1
for name in wrong short; do
    expect_tool 4 "Download failed" download --manifest "$base/$name.json" --out "$(windows_path "$out")"
    cmp -s "$out" "$scratch/earlier.exe" || fail "$name: the file at --out changed"
done
expect_tool 0 "Verified" download --manifest "$base/setup.json" --out "$(windows_path "$out")"
cmp -s "$out" "$site/setup.exe" || fail "a verified download did not replace the file at --out"
leftover=$(find "$(dirname "$out")" -name '*.partial')
[ -z "$leftover" ] || fail "temporary downloads are left: $leftover"

echo "== the kind comes from the content"
printf 'not a program\r\n' >"$site/notes.exe"
manifest --package notes.exe text
rm -f "$record"
expect_tool 4 'neither a program ("MZ") nor an MSI' update --manifest "$base/text.json" --installed 1 --yes
[ ! -f "$record" ] || fail "a package of no known kind was started"
cp "$site/notes.exe" "$scratch/notes.exe"
expect_tool 4 'neither a program ("MZ") nor an MSI' install --manifest "$base/text.json" --yes \
    --out "$(windows_path "$scratch/notes.exe")"
printf '\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1 not a real database' >"$site/getfile"
manifest --package getfile msi url="$base/getfile?name=App.msi"
expect_tool 0 "getfile.msi, named after its content" download --manifest "$base/msi.json"
saved=$(tr -d '\r' <"$scratch/output.txt" | sed -n 's/^.*Saved as \(.*\), named after.*$/\1/p')
cmp -s "$(winepath -u "$saved")" "$site/getfile" || fail "the MSI was not saved as $saved"
[ -f "$(dirname "$(winepath -u "$saved")")/hovrel-kept" ] || fail "the kept folder is not marked kept"
rm -rf "$(dirname "$(winepath -u "$saved")")"
cp "$recorder" "$site/program.msi"
manifest --package program.msi program
rm -f "$record"
expect_tool 0 "finished successfully" update --manifest "$base/program.json" --installed 1 --yes
recorded | grep -q 'program\.exe" /VERYSILENT' || fail "a program named .msi was not started as a program: $(recorded)"

echo "== run folders a hard kill left are removed at the next start"
hex=0123456789abcdef01234567
kept=hovrel-${hex%?}0
for folder in "hovrel-$hex" "hovrel-${hex%?}8" "$kept" "hovrel-kept" "other-$hex"; do
    mkdir -p "$temp/$folder"
    printf 'left' >"$temp/$folder/setup.exe"
    [ "$folder" != "$kept" ] || : >"$temp/$folder/hovrel-kept" # --keep, or a download for later
    touch -d '2 days ago' "$temp/$folder"
done
touch "$temp/hovrel-${hex%?}8" # fresh: a run of its own may be using it
expect_tool 0 "Up to date" check --manifest "$base/setup.json" --installed 2.0.0
[ ! -e "$temp/hovrel-$hex" ] || fail "a stale run folder is left"
for folder in "hovrel-${hex%?}8" "$kept" "hovrel-kept" "other-$hex"; do
    [ -f "$temp/$folder/setup.exe" ] || fail "$folder was removed"
    rm -rf "${temp:?}/$folder"
done

finish
