#!/usr/bin/env bash
# Lines of code by folder, without blank lines and comments, and the tests'
# share of the code: bash scripts/count-lines.sh [FOLDER]  (default: the repo).
# Counts C, C++, CMake, shell and Python files; fuzz corpora are not code.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

count() { # FOLDER...
    find "$@" -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.in' \
        -o -name 'CMakeLists.txt' -o -name '*.cmake' -o -name '*.sh' -o -name '*.py' \) \
        -not -path '*/corpus/*' -print0 2>/dev/null |
        xargs -0 -r awk '
            FNR == 1 { block = 0; python = FILENAME ~ /\.py$/; doc = 0 }
            {
                line = $0
                gsub(/^[ \t]+|[ \t]+$/, "", line)
                if (block) { if (line ~ /\*\//) block = 0; next }
                if (python && line ~ /^"""/) { if (!(line ~ /^""".*"""$/ && length(line) > 3)) doc = !doc; next }
                if (doc) next
                if (line == "" || line ~ /^\/\// || line ~ /^#[^a-z!]/ || line == "#") next
                if (line ~ /^#!/ || (FILENAME !~ /\.(c|cpp|h)$/ && line ~ /^#/)) next
                if (line ~ /^\/\*/) { if (line !~ /\*\//) block = 1; next }
                n++
            }
            END { print n + 0 }'
}

printf '%-22s %6s\n' room lines
tests=0
code=0
for folder in include src host/* tools/* scripts cmake tests fuzz bench stress; do
    [ -d "$folder" ] || continue
    lines=$(count "$folder")
    printf '%-22s %6d\n' "$folder" "$lines"
    case $folder in
    tests) tests=$((tests + lines)) ;;
    include | src | host/* | tools/*) code=$((code + lines)) ;;
    esac
done
printf 'tests / product code (include, src, host, tools): %d / %d = %.2f\n' "$tests" "$code" \
    "$(echo "$tests / $code" | bc -l)"
