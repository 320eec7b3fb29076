#!/bin/sh
# Non-blank, non-comment lines of code: tests/ against everything else
# (C, C++, CMake, shell and the Makefile; comments are //, /* */ and #).
# usage: count-lines.sh [ROOT]
cd "${1:-$(dirname "$0")/..}" || exit 1
count() {
    git ls-files -- "$@" | grep -E '\.(c|cpp|h|sh|cmake)$|CMakeLists\.txt$|Makefile$' |
        while read -r f; do
            case $f in
            *.c | *.cpp | *.h)
                # strip block comments, then line comments, then blank lines
                sed -e ':a' -e 's|/\*[^*]*\*\+\([^/*][^*]*\*\+\)*/||g' -e '/\/\*/{N;ba' -e '}' "$f" |
                    sed -e 's|^[[:space:]]*//.*$||' | grep -c '[^[:space:]]' ;;
            *) grep -v '^[[:space:]]*#' "$f" | grep -c '[^[:space:]]' ;;
            esac
        done | awk '{s += $1} END {print s + 0}'
}
tests=$(count tests)
rest=$(count . ':!tests')
echo "tests: $tests lines"
echo "everything else: $rest lines"
awk -v t="$tests" -v r="$rest" 'BEGIN { printf "tests are %.1f %% of all code (at most a third: %s)\n", 100 * t / (t + r), 2 * t <= r ? "yes" : "no" }'
