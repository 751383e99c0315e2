#!/usr/bin/env bash
# The signing benchmarks, medians of RUNS interleaved runs (default 5):
# 1. hashing a 1 GiB installer: `hovrel-publish manifest` against
#    `openssl dgst -sha256` and `sha256sum` (target: at least 0.9 of openssl);
# 2. what a signature adds to `hovrel-update check` under Wine: the check with
#    and without --public-key over 127.0.0.1, and the verification alone
#    (key reading, SHA-256, CNG ECDSA) in one process (target: under 5 ms).
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"

bash scripts/install-deps.sh bc
# The publisher's tool in a release build (the native preset is sanitized).
cmake -S . -B build/bench-native -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DHOVREL_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench-native --target hovrel-publish >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target hovrel-update signature_bench >/dev/null
publish=$PWD/build/bench-native/bin/hovrel-publish

work=$PWD/build/signing-bench
mkdir -p "$work/site"
installer=$work/1g.bin
[ -f "$installer" ] || head -c $((1 << 30)) /dev/urandom >"$installer"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
seconds_of() { # command...; prints the wall time in seconds (check exits 8 here)
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

echo "== Hashing 1 GiB ($runs interleaved runs, medians; the file is in the page cache)"
cat "$installer" >/dev/null
: >"$work/publish.times" && : >"$work/openssl.times" && : >"$work/sha256sum.times"
for _ in $(seq "$runs"); do
    seconds_of "$publish" manifest "$installer" --version 1.0.0 --url http://127.0.0.1/x \
        --out "$work/manifest.json" >>"$work/publish.times"
    seconds_of openssl dgst -sha256 "$installer" >>"$work/openssl.times"
    seconds_of sha256sum "$installer" >>"$work/sha256sum.times"
done
publish_s=$(median <"$work/publish.times")
openssl_s=$(median <"$work/openssl.times")
sha256sum_s=$(median <"$work/sha256sum.times")
rate() { echo "scale=0; 1024 / $1" | bc -l; }
printf '%-26s %8.3f s  %5s MiB/s\n' "hovrel-publish manifest" "$publish_s" "$(rate "$publish_s")"
printf '%-26s %8.3f s  %5s MiB/s\n' "openssl dgst -sha256" "$openssl_s" "$(rate "$openssl_s")"
printf '%-26s %8.3f s  %5s MiB/s\n' "sha256sum" "$sha256sum_s" "$(rate "$sha256sum_s")"
printf 'hovrel-publish rate / openssl rate:   %.2f (target >= 0.90)\n' \
    "$(echo "$openssl_s / $publish_s" | bc -l)"
printf 'hovrel-publish rate / sha256sum rate: %.2f\n' "$(echo "$sha256sum_s / $publish_s" | bc -l)"

echo
echo "== Signed against unsigned check under Wine ($runs interleaved runs, medians)"
source tests/server/serve.sh
source scripts/wine-session.sh
trap 'stop_server; wineserver -k 2>/dev/null || true' EXIT
site=$work/site
[ -f "$work/key.pem" ] || "$publish" keygen --out "$work/key.pem" >/dev/null
head -c 1000 /dev/urandom >"$site/setup.exe"
"$publish" manifest "$site/setup.exe" --version 2.0.0 --url http://127.0.0.1/setup.exe \
    --out "$site/manifest.json" >/dev/null
"$publish" sign "$site/manifest.json" --key "$work/key.pem" >/dev/null
serve_folder "$site" "$work"
base=http://127.0.0.1:$server_port
key=$(printf 'Z:%s' "${work//\//\\}\\key.pub.pem")
check() { "$wine_run" build/mingw/bin/hovrel-update.exe check --manifest "$base/manifest.json" \
    --installed 1.0.0 "$@"; }
check --public-key "$key" >"$work/check.txt" || true
grep -q "Signature verified" "$work/check.txt" || { echo "the signed check fails"; exit 1; }
: >"$work/signed.times" && : >"$work/unsigned.times"
for _ in $(seq $((runs * 4))); do
    seconds_of check --public-key "$key" >>"$work/signed.times"
    seconds_of check >>"$work/unsigned.times"
done
signed_ms=$(echo "$(median <"$work/signed.times") * 1000" | bc -l)
unsigned_ms=$(echo "$(median <"$work/unsigned.times") * 1000" | bc -l)
printf 'check, signed:   %6.1f ms (process start, two fetches, verification)\n' "$signed_ms"
printf 'check, unsigned: %6.1f ms\n' "$unsigned_ms"
printf 'difference:      %6.1f ms (includes fetching the .sig; Wine start-up noise is larger)\n' \
    "$(echo "$signed_ms - $unsigned_ms" | bc -l)"
verify_ms=$("$wine_run" build/mingw/bin/signature_bench.exe "$key" \
    "$(printf 'Z:%s' "${site//\//\\}\\manifest.json")" \
    "$(printf 'Z:%s' "${site//\//\\}\\manifest.json.sig")" 200 | tr -d '\r' | cut -d= -f2)
printf 'verification alone (key, SHA-256, ECDSA), median of 200: %s ms (target < 5 ms)\n' "$verify_ms"
