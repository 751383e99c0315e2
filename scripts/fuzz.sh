#!/usr/bin/env bash
# Runs every libFuzzer target at once (one per core) for the given number of
# seconds (default 60) on a working copy of its corpus, under ASan and UBSan,
# and prints what each executed. With --keep, the inputs that add coverage
# over the committed corpus are merged into fuzz/corpus/ afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
keep="${2:-}"
targets=(parse_manifest compare_version der_signature public_key utf8)

cmake --preset native >/dev/null
cmake --build --preset native --target "${targets[@]/%/_fuzzer}"

run_target() {
    local target="$1" work="build/native/fuzz-work/$1"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp -n fuzz/corpus/$target/* "$work/corpus/"
    "build/native/bin/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" -max_len=65536 "$work/corpus" >"$work/log.txt" 2>&1
}

echo "fuzzing ${targets[*]} for ${seconds}s each, in parallel"
pids=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
    target="${targets[$i]}" work="build/native/fuzz-work/${targets[$i]}"
    if ! wait "${pids[$i]}"; then
        echo "== $target: FAILED"
        tail -n 40 "$work/log.txt"
        failed=1
        continue
    fi
    echo "== $target"
    grep -E 'stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb' "$work/log.txt"
    echo "working corpus: $(ls "$work/corpus" | wc -l) inputs, artifacts: $(ls "$work/artifacts" | wc -l)"
    if [ "$keep" = "--keep" ]; then
        before=$(ls "fuzz/corpus/$target" | wc -l)
        "build/native/bin/${target}_fuzzer" -merge=1 "fuzz/corpus/$target" "$work/corpus" \
            >"$work/merge.txt" 2>&1
        echo "committed corpus: $before -> $(ls "fuzz/corpus/$target" | wc -l) inputs"
    fi
done
exit "$failed"
