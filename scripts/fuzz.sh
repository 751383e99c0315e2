#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds (default 60) on a
# working copy of its corpus and prints how many inputs it executed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset native >/dev/null
cmake --build --preset native --target parse_manifest_fuzzer compare_version_fuzzer

for target in parse_manifest compare_version; do
    work="build/native/fuzz-work/$target"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp -n fuzz/corpus/$target/* "$work/corpus/"
    echo "== $target: ${seconds}s"
    "build/native/bin/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" -max_len=4096 "$work/corpus" 2>"$work/log.txt" || {
        tail -n 40 "$work/log.txt"
        exit 1
    }
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$work/log.txt"
    echo "corpus size: $(ls "$work/corpus" | wc -l) inputs"
done
