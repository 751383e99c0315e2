#!/usr/bin/env bash
# hovrel-update's install road under Wine: the private package folder, the
# held package, MSI through msiexec, the runas road, Authenticode publisher
# checks and --wait-pid. Arguments: the build directory.
set -euo pipefail
build=$1
probe=$build/bin/package_probe.exe
source "$(dirname "$0")/../../support/host_programs.sh"
demo=$(cd "$(dirname "$0")/../../../demo" && pwd)
# The manifests here are not signed: what is tested starts after the manifest.
tool_options=(--allow-unsigned)
# The package path the host printed for its last run, as a Unix path.
printed_package() { winepath -u "$(sed -n 's/^ *to //p' "$1" | tr -d '\r')" 2>/dev/null; }

manifest setup
export HOVREL_RECORDER_EXIT=0

echo "== the held package: another process cannot write or delete it before the launch"
# The host stops at its prompt, after verifying and before launching; the
# package is not running yet, so only the host's handle can refuse the probe.
mkfifo "$scratch/answer"
"$wine_run" "$tool" update --manifest "$base/setup.json" --installed 1 --keep --allow-unsigned \
    <"$scratch/answer" >"$scratch/held.txt" 2>&1 &
host=$!
exec 3>"$scratch/answer"
for _ in $(seq 300); do
    grep -q "Install version" "$scratch/held.txt" && break
    sleep 0.1
done
package=$(printed_package "$scratch/held.txt")
"$wine_run" "$probe" "$(windows_path "$package")" 2>&1 | tr -d '\r' >"$scratch/probe-held.txt"
echo y >&3
exec 3>&-
status=0
wait "$host" || status=$?
grep -q "^write 32$" "$scratch/probe-held.txt" && grep -q "^delete 32$" "$scratch/probe-held.txt" ||
    fail "held package: wanted sharing violations (32), probe saw: $(cat "$scratch/probe-held.txt")"
[ "$status" -eq 0 ] && grep -q "finished successfully" "$scratch/held.txt" ||
    fail "held package: the install did not run (exit $status): $(cat "$scratch/held.txt")"
[ "$(recorded_copy)" = "\"<copy>\\setup.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS" ] ||
    fail "held package: the installer saw: $(recorded)"
# The same probe once the host has gone (--keep left the file) succeeds, so
# the refusals above were the host's handle.
"$wine_run" "$probe" "$(windows_path "$package")" 2>&1 | tr -d '\r' >"$scratch/probe-free.txt"
grep -q "^write 0$" "$scratch/probe-free.txt" && grep -q "^delete 0$" "$scratch/probe-free.txt" ||
    fail "released package: probe saw: $(cat "$scratch/probe-free.txt")"
echo "ok: probe while held: $(tr '\n' ' ' <"$scratch/probe-held.txt")"
echo "ok: probe after the host: $(grep -v dacl "$scratch/probe-free.txt" | tr '\n' ' ')"

echo "== the private folder's access list names only the user, SYSTEM and Administrators"
user=$(sed -n 's/^user //p' "$scratch/probe-held.txt")
for sid in $(sed -n 's/^dacl protected=[01] //p' "$scratch/probe-held.txt"); do
    case $sid in "$user" | S-1-5-18 | S-1-5-32-544) ;; *) fail "folder DACL names $sid" ;; esac
done
grep -q "^dacl .* $user\( \|$\)" "$scratch/probe-held.txt" || fail "folder DACL lacks the user"
# Wine 8 reports protected=0 even for the host's protected DACL: the flag is
# not shown here.
# An ordinary folder of the prefix names Everyone (S-1-1-0), so the check can fail.
cp "$recorder" "$site/ordinary.exe"
"$wine_run" "$probe" "$(windows_path "$site/ordinary.exe")" | grep "S-1-1-0" >/dev/null ||
    fail "an ordinary folder's DACL does not name Everyone: the check above proves nothing"
rm -rf "$(dirname "$package")"

echo "== the folder is removed after the install, whatever its result; its name is random"
folders=()
for exit_code in 0 1; do
    HOVREL_RECORDER_EXIT=$exit_code expect_tool $((exit_code ? 5 : 0)) "Running the installer" \
        update --manifest "$base/setup.json" --installed 1 --yes
    folder=$(dirname "$(printed_package "$scratch/output.txt")")
    case $folder in */Temp/hovrel-????????????????????????) ;; *) fail "package folder $folder" ;; esac
    [ ! -e "$folder" ] || fail "$folder is left after an install with exit $exit_code"
    folders+=("$(basename "$folder")")
done
[ "${folders[0]}" != "${folders[1]}" ] || fail "two installs used the same folder name ${folders[0]}"

echo "== the runas road (--elevate) reads the installer's exit code"
rm -f "$record"
HOVREL_RECORDER_EXIT=3010 expect_tool 7 "restart" \
    update --manifest "$base/setup.json" --installed 1 --yes --elevate
grep -q "runas" "$scratch/output.txt" || fail "--elevate did not take the runas road"
recorded | grep -F "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS" >/dev/null ||
    fail "runas road: the installer saw: $(recorded)"

echo "== --wait-pid: the installer starts only after the app has ended"
# start_app LINGER_MS: a stand-in app that prints its pid and lingers; sets
# app (the Wine process) and pid (the Windows one). A loaded machine can take
# many seconds to start it.
start_app() {
    HOVREL_RECORDER_LINGER_MS=$1 "$wine_run" "$recorder" >"$scratch/app-pid.txt" 2>/dev/null &
    app=$!
    for _ in $(seq 600); do [ -s "$scratch/app-pid.txt" ] && break; sleep 0.1; done
    pid=$(tr -d '\r\n' <"$scratch/app-pid.txt")
    [ -n "$pid" ] || fail "the stand-in app printed no process id within 60 s"
}
app_record=$scratch/app-ended.txt
HOVREL_RECORDER_OUT=$(windows_path "$app_record") start_app 3000
rm -f "$record"
expect_tool 0 "Process $pid has ended." \
    update --manifest "$base/setup.json" --installed 1 --yes --wait-pid "$pid" --timeout 60
wait "$app" || true
[ -f "$app_record" ] && [ -f "$record" ] && [ ! "$record" -ot "$app_record" ] ||
    fail "the installer ran before the app it waited for had ended"
start_app 20000
expect_tool 6 "still runs after 1 s" update --manifest "$base/setup.json" --installed 1 --yes \
    --wait-pid "$pid" --timeout 1
kill "$app" 2>/dev/null || true

echo "== Authenticode: the package must be signed by a named publisher"
# A CA and a leaf it issued, both made here and trusted nowhere: Wine does not
# check the chain's root, so these cases show the signature, digest, name and
# thumbprint checks, and that both are read from the signer, not the root.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Hovrel Test Root" \
    -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign \
    -keyout "$scratch/ca.key" -out "$scratch/ca.crt" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Hovrel Test Publisher" -keyout "$scratch/sign.key" \
    -out "$scratch/sign.csr" 2>/dev/null
printf 'extendedKeyUsage=codeSigning\nbasicConstraints=CA:false\n' >"$scratch/leaf.ext"
openssl x509 -req -in "$scratch/sign.csr" -CA "$scratch/ca.crt" -CAkey "$scratch/ca.key" \
    -CAcreateserial -days 2 -extfile "$scratch/leaf.ext" -out "$scratch/sign.crt" 2>/dev/null
cat "$scratch/sign.crt" "$scratch/ca.crt" >"$scratch/chain.crt"
thumbprint=$(openssl x509 -in "$scratch/sign.crt" -outform der | sha256sum | cut -d' ' -f1)
root_thumbprint=$(openssl x509 -in "$scratch/ca.crt" -outform der | sha256sum | cut -d' ' -f1)
osslsigncode sign -certs "$scratch/chain.crt" -key "$scratch/sign.key" -n "Hovrel test" \
    -in "$recorder" -out "$site/signed.exe" >/dev/null
cp "$site/signed.exe" "$site/tampered.exe"
printf '\xff' | dd of="$site/tampered.exe" bs=1 seek=$(($(stat -c %s "$site/tampered.exe") / 2)) \
    conv=notrunc status=none
cp "$recorder" "$site/unsigned.exe"
for name in signed tampered unsigned; do
    manifest --package "$name.exe" "$name"
    cp "$site/$name.exe" "$scratch/$name.exe"
done
sign_case() { # exit text package options...
    local want=$1 text=$2 name=$3
    shift 3
    expect_tool "$want" "$text" install --manifest "$base/$name.json" --yes \
        --out "$(windows_path "$scratch/$name.exe")" "$@"
}
signer='Signed by "Hovrel Test Publisher"'
named='signed by "Hovrel Test Publisher", not by a publisher named'
zeros=$(printf '0%.0s' {1..64})
sign_case 0 "$signer" signed --publisher Other --publisher "Hovrel Test Publisher"
sign_case 0 "$signer" signed --publisher-thumbprint "$thumbprint"
sign_case 0 "$signer" signed --publisher "Hovrel Test Publisher" --publisher-thumbprint "$thumbprint"
sign_case 9 "not signed (0x800B0100)" unsigned --publisher "Hovrel Test Publisher"
# Exact names of the signer only; with a thumbprint, both must match.
for name in Other "Hovrel Test" "Test Publisher" "Hovrel Test Publisher 2" "Hovrel Test Root"; do
    sign_case 9 "$named" signed --publisher "$name"
done
sign_case 9 "$named" signed --publisher Other --publisher-thumbprint "$thumbprint"
for pin in "$zeros" "$root_thumbprint"; do
    sign_case 9 "another thumbprint" signed --publisher-thumbprint "$pin"
    sign_case 9 "another thumbprint" signed --publisher "Hovrel Test Publisher" --publisher-thumbprint "$pin"
done
sign_case 9 "changed after it was signed (0x80096010)" tampered --publisher "Hovrel Test Publisher"

echo "== MSI: a real per-user package through Wine's msiexec"
mkdir -p "$scratch/msi"
printf '2.0.0\r\n' >"$scratch/msi/version.txt"
(cd "$scratch/msi" && wixl -a x64 -D VERSION=2.0.0 -o "$site/HovrelDemo-2.0.0.MSI" \
    "$demo/hovrel-demo-app.wxs")
manifest --package HovrelDemo-2.0.0.MSI msi
local_app_data=$(winepath -u "$("$wine_run" cmd.exe /c echo %LOCALAPPDATA% </dev/null 2>/dev/null |
    tr -d '\r')" 2>/dev/null)
rm -rf "$local_app_data/HovrelDemoMsi"
expect_tool 0 "finished successfully" update --manifest "$base/msi.json" --installed 1 --yes
[ "$(tr -d '\r\n' <"$local_app_data/HovrelDemoMsi/version.txt" 2>/dev/null)" = 2.0.0 ] ||
    fail "the MSI did not install version.txt under $local_app_data/HovrelDemoMsi"
"$wine_run" msiexec /x "$(windows_path "$site/HovrelDemo-2.0.0.MSI")" /qn </dev/null >/dev/null 2>&1 || true

echo "== MSI exit codes, with a stand-in in msiexec's place"
# Wine prefers its built-in msiexec to the file in system32 unless told not to.
msiexec=$WINEPREFIX/drive_c/windows/system32/msiexec.exe
overrides='HKCU\Software\Wine\DllOverrides'
cp "$msiexec" "$scratch/msiexec.real"
restore_msiexec() {
    cp "$scratch/msiexec.real" "$msiexec"
    "$wine_run" reg delete "$overrides" /v msiexec.exe /f </dev/null >/dev/null 2>&1 || true
}
trap 'restore_msiexec; cleanup' EXIT
cp "$recorder" "$msiexec"
"$wine_run" reg add "$overrides" /v msiexec.exe /d native /f </dev/null >/dev/null 2>&1
rm -f "$record"
cp "$site/HovrelDemo-2.0.0.MSI" "$scratch/package.msi"
msi_out=$(windows_path "$scratch/package.msi")
HOVREL_RECORDER_EXIT=0 expect_tool 0 "finished successfully" \
    install --manifest "$base/msi.json" --yes --out "$msi_out" --installer-args "ALLUSERS=2"
want="\"C:\\windows\\system32\\msiexec.exe\" /i \"<copy>\\package.msi\" /qn /norestart /l*v \"<copy>\\package.msi.log\" ALLUSERS=2"
[ "$(recorded_copy)" = "$want" ] || fail "msiexec's command line: $(recorded)"
for row in "3010 7 restart" "1641 7 restart" "1602 6 cancelled by the user" \
    "1223 6 cancelled by the user" "1618 5 Retry later" "1603 5 msiexec log: $msi_out.log"; do
    read -r code want text <<<"$row"
    HOVREL_RECORDER_EXIT=$code expect_tool "$want" "$text" install --manifest "$base/msi.json" \
        --yes --out "$msi_out"
done

finish
