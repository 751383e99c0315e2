#!/usr/bin/env bash
# The benchmarks: hashing, verified download, memory and manifest work, each
# against its ceiling on this machine, medians of RUNS interleaved runs
# (default 5). Serves the test files with the tests' Python server on
# 127.0.0.1, which sends over 1 GB/s to curl here, several times what WinHTTP
# takes in.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"

bash scripts/install-deps.sh curl bc
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target hash_bench download_bench manifest_bench >/dev/null

work="$PWD/build/bench"
www="$work/www"
mkdir -p "$www"
make_file() { # name, MiB
    if [ ! -f "$www/$1" ]; then
        head -c "$(($2 << 20))" /dev/urandom >"$www/$1.part" && mv "$www/$1.part" "$www/$1"
    fi
    [ -f "$www/$1.sha256" ] || sha256sum "$www/$1" | cut -c1-64 >"$www/$1.sha256"
}
make_file 1m.bin 1
make_file 64m.bin 64
make_file 1g.bin 1024

source scripts/wine-session.sh
source tests/server/serve.sh
wine_session_cleanup=stop_server
serve_folder "$www" "$work" --lifetime 7200
port=$server_port

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
seconds_of() { # command...; prints the wall time in seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
windows() { "$wine_run" "$@" | tr -d '\r'; }
figure() { grep "^$1=" | cut -d= -f2; }
url() { echo "http://127.0.0.1:$port/$1"; }
size_of() { stat -c %s "$www/$1"; }
sha_of() { cat "$www/$1.sha256"; }
win() { echo "Z:$1" | tr / '\\'; }

echo "# Hovrel benchmarks, $(date -u +%Y-%m-%d)"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs);" \
    "$(free -g | awk '/Mem:/ { print $2 }') GiB; Linux $(uname -r); $(wine --version)"
echo "reproduce: bash scripts/bench.sh $runs"

echo
echo "## Hashing a 1 GiB file (page cache warm)"
cat "$www/1g.bin" >/dev/null
hash_out=$(windows build/mingw/bin/hash_bench.exe "$(win "$www/1g.bin")" "$runs")
echo "$hash_out" | grep -v '='
bare=$(echo "$hash_out" | figure bare_seconds)
sums=$(for _ in $(seq "$runs"); do seconds_of sha256sum "$www/1g.bin"; done | median)
printf "| %-28s | %10.3f | %8.1f | %15.3f |\n" "sha256sum (Linux, native)" "$sums" \
    "$(echo "$(size_of 1g.bin) / 1000000 / $sums" | bc -l)" "$(echo "$bare / $sums" | bc -l)"

echo
echo "## Verified download of 1 GiB from the test server on 127.0.0.1"
dest="$work/download.bin"
download_out=$(windows build/mingw/bin/download_bench.exe speed "$(url 1g.bin)" "$(win "$dest")" \
    "$(sha_of 1g.bin)" "$(size_of 1g.bin)" "$runs")
echo "$download_out" | grep -v '='
library=$(echo "$download_out" | figure library_seconds)
curl_sum() { curl -s -o "$dest" "$(url 1g.bin)" && sha256sum "$dest"; }
curls=$(for _ in $(seq "$runs"); do seconds_of curl_sum; rm -f "$dest"; done | median)
printf "curl -o FILE then sha256sum FILE (Linux, native): median %.3f s, %.1f MB/s;" "$curls" \
    "$(echo "$(size_of 1g.bin) / 1000000 / $curls" | bc -l)"
printf " HV_DownloadVerify takes %.2f times as long\n" "$(echo "$library / $curls" | bc -l)"

echo
echo "## Peak working set during one download (fresh process, after a 1 MiB warm-up download)"
echo "| bytes        | baseline MiB | peak before  | peak after   | peak - base  | peak rise    |"
echo "|--------------|--------------|--------------|--------------|--------------|--------------|"
for file in 64m.bin 1g.bin; do
    windows build/mingw/bin/download_bench.exe memory "$(url 1m.bin)" "$(sha_of 1m.bin)" \
        "$(url $file)" "$(win "$dest")" "$(sha_of $file)" "$(size_of $file)"
done

echo
echo "## Manifest work (calls per second, median of five batches)"
windows build/mingw/bin/manifest_bench.exe
