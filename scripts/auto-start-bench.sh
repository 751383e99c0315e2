#!/usr/bin/env bash
# What every start of an app pays for its automatic check when none is due:
# the median wall time of `hovrel-updater update --auto` with nothing due,
# against a Windows program that does nothing, RUNS interleaved runs each
# (default 21) in one Wine session, and their ratio (goal: at most 1.5).
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-21}"

bash scripts/install-deps.sh bc
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target hovrel-updater idle_app >/dev/null

source scripts/wine-session.sh
product=HovrelStartBench
key="HKCU\\Software\\Hovrel\\$product"
wine_session_cleanup='"$wine_run" reg delete "$key" /f >/dev/null 2>&1'
# Checked a minute ago, checks on: the next one is a day away.
"$wine_run" reg add "$key" /v AutomaticChecks /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$wine_run" reg add "$key" /v LastCheck /t REG_QWORD /d $(($(date +%s) - 60)) /f >/dev/null 2>&1

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
seconds_of() { # command...; prints the wall time in seconds
    local start end
    start=$(date +%s.%N)
    "$@" </dev/null >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
updater=(build/mingw/bin/hovrel-updater.exe update --auto --product "$product"
    --manifest http://127.0.0.1:9/unused.json --installed 1.0.0)
# Not due: the run must end at once with 0 and fetch nothing (port 9 is shut).
"$wine_run" "${updater[@]}" </dev/null | tr -d '\r' | grep -q "No automatic check is due" || {
    echo "hovrel-updater --auto did not find the check not due; nothing to measure" >&2
    exit 1
}
idle=()
auto=()
for _ in $(seq "$runs"); do
    idle+=("$(seconds_of "$wine_run" build/mingw/bin/idle_app.exe)")
    auto+=("$(seconds_of "$wine_run" "${updater[@]}")")
done
idle_median=$(printf '%s\n' "${idle[@]}" | median)
auto_median=$(printf '%s\n' "${auto[@]}" | median)
echo "# The not-due automatic run at an app's start, $(date -u +%Y-%m-%d), $runs runs each"
printf "idle_app.exe (does nothing):          median %.3f s\n" "$idle_median"
printf "hovrel-updater update --auto, not due: median %.3f s\n" "$auto_median"
printf "ratio: %.2f (goal: at most 1.5)\n" "$(echo "$auto_median / $idle_median" | bc -l)"
