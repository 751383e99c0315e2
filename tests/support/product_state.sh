# Sourced by the end-to-end tests of the product's state in the registry.
# Caller sets product and has sourced host_programs.sh. Provides user_key,
# policy_key, set_value KEY NAME TYPE DATA, clear_key KEY, read_value KEY
# NAME (a REG_QWORD or REG_DWORD as a decimal number, a REG_SZ as its text,
# empty when absent), request_count, expect_requests N WHAT, and stage (the
# product's stage folder as a Unix path) with stage_gone WHAT.
user_key="HKCU\\Software\\Hovrel\\$product"
stage=$(winepath -u "$("$wine_run" cmd /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d '\r')")/Hovrel/$product/staged
policy_key="HKLM\\Software\\Policies\\Hovrel\\$product"

set_value() {
    "$wine_run" reg add "$1" /v "$2" /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1
}

clear_key() {
    "$wine_run" reg delete "$1" /f </dev/null >/dev/null 2>&1 || true
}

# Wine's reg query shows REG_QWORD data as "(null)"; its export is exact.
read_value() {
    local key=$1 name=$2 file=$scratch/export.reg
    rm -f "$file"
    "$wine_run" reg export "$key" "$(windows_path "$file")" /y </dev/null >/dev/null 2>&1 || true
    [ -f "$file" ] || return 0
    iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | python3 -c '
import re, sys
name = sys.argv[1]
for line in sys.stdin:
    m = re.match(r"\"%s\"=(.*)$" % re.escape(name), line)
    if not m:
        continue
    data = m.group(1)
    if data.startswith("hex(b):"):
        print(int.from_bytes(bytes.fromhex(data[7:].replace(",", "")), "little"))
    elif data.startswith("dword:"):
        print(int(data[6:], 16))
    elif data.startswith("\""):
        print(data[1:-1])
' "$name"
}

request_count() {
    if [ -f "$requests" ]; then wc -l <"$requests"; else echo 0; fi
}

# expect_requests N WHAT: exactly N requests since the last call.
requests_seen=0
expect_requests() {
    local now
    now=$(request_count)
    if [ $((now - requests_seen)) -ne "$1" ]; then
        fail "$2: wanted $1 requests, the server saw $((now - requests_seen)):"
        tail -n $((now - requests_seen)) "$requests" 2>/dev/null | sed 's/^/    /'
    fi
    requests_seen=$now
}

stage_gone() {
    [ ! -e "$stage" ] || fail "$1: the stage is still there"
    [ -z "$(read_value "$user_key" StagedVersion)" ] || fail "$1: StagedVersion is still set"
}
