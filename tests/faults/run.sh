#!/bin/sh
# Applies each deliberate fault of faults.txt to a scratch copy of the
# repository, rebuilds, runs the tests named for it and reports whether they
# caught it. Every fault must be caught: a missed one is a gap in the tests.
# usage: run.sh [PATTERN]   (only the fault lines that match PATTERN, grep -E)
#   MIRL_FAULTS_SCRATCH=DIR keeps the scratch copy and its build in DIR, so a
#   second run rebuilds only what changed; FAULT_TIMEOUT is each test's limit.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
list="$here/faults.txt"
pattern=${1:-}
timeout=${FAULT_TIMEOUT:-300}

if [ -n "${MIRL_FAULTS_SCRATCH:-}" ]; then
    scratch=$MIRL_FAULTS_SCRATCH
    mkdir -p "$scratch"
else
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/mirl-faults.XXXXXX") || exit 1
    trap 'rm -rf "$scratch"' EXIT
    trap 'exit 130' INT TERM
fi
src=$scratch/src build=$scratch/build log=$scratch/log
mkdir -p "$src"

# The tracked files as they are in the working tree. Only a file that differs
# is copied (with a fresh time stamp), so a kept build rebuilds only that.
(cd "$root" && git ls-files) | while IFS= read -r f; do
    cmp -s "$root/$f" "$src/$f" 2>/dev/null && continue
    mkdir -p "$src/$(dirname "$f")" && cp "$root/$f" "$src/$f" || { echo "cannot copy $f"; exit 1; }
done || exit 1
echo "building a scratch copy in $scratch ..."
if ! cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMIRL_BENCH=OFF >"$log" 2>&1 ||
    ! cmake --build "$build" -j2 >>"$log" 2>&1; then
    tail -30 "$log"
    echo "the unchanged sources do not build"
    exit 1
fi

# apply FILE EXACT REPLACEMENT: replaces the one occurrence of EXACT (\N and
# \T stand for a line end and a tab); status 3 when it is not there exactly
# once.
apply() {
    perl -e '
        my ($file, $from, $to) = @ARGV;
        s/\\N/\n/g, s/\\T/\t/g for $from, $to;
        open(my $in, "<", $file) or exit 3;
        local $/; my $text = <$in>; close $in;
        my ($count, $at) = (0, -1);
        while (($at = index($text, $from, $at + 1)) >= 0) { $count++; $pos = $at; }
        exit 3 if $count != 1 || $from eq "";
        substr($text, $pos, length $from) = $to;
        open(my $out, ">", $file) or exit 3;
        print $out $text; close $out or exit 3;' "$@"
}

# targets REGEX: --target options for the programs the tests of REGEX run or
# are given (the executables built here), none (build all) when REGEX is empty.
known=$(cmake --build "$build" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
targets() {
    [ -n "$1" ] || return 0
    (cd "$build" && ctest -R "$1" --show-only=json-v1) | grep -o "\"$build/[^\"]*\"" | tr -d '"' |
        while read -r path; do
            name=$(basename "$path")
            printf '%s\n' "$known" | grep -qx -- "$name" && printf ' --target %s' "$name"
        done
}

total=0 caught=0 missed=0 broken=0 unapplied=0
tab=$(printf '\t')
grep -v '^#' "$list" | grep -v '^[[:space:]]*$' | { [ -n "$pattern" ] && grep -E -- "$pattern" || cat; } >"$scratch/selected"
count=$(wc -l <"$scratch/selected")
[ "$count" -gt 0 ] || { echo "no fault matches '$pattern'"; exit 1; }
while IFS="$tab" read -r file exact replacement tests what; do
    total=$((total + 1))
    label="$file: $what"
    cp "$src/$file" "$scratch/original" 2>/dev/null || { echo "[$total/$count] does not apply  $label"; unapplied=$((unapplied + 1)); continue; }
    if ! apply "$src/$file" "$exact" "$replacement"; then
        echo "[$total/$count] does not apply  $label"
        unapplied=$((unapplied + 1))
        continue
    fi
    if ! cmake --build "$build" -j2 $(targets "$tests") </dev/null >"$log" 2>&1; then
        result="does not build"
        broken=$((broken + 1))
    else
        # ctest says so when the expression names no test: the fault line is wrong.
        (cd "$build" && ctest --timeout "$timeout" ${tests:+-R "$tests"} </dev/null >"$log" 2>&1)
        status=$?
        if grep -q "No tests were found" "$log"; then
            result="names no test ('$tests')"
            broken=$((broken + 1))
        elif [ $status -ne 0 ]; then
            result="caught"
            caught=$((caught + 1))
        else
            result="MISSED"
            missed=$((missed + 1))
        fi
    fi
    [ "$result" = caught ] || cp "$log" "$scratch/fault$total.log"
    # Restored with a fresh time stamp: the next build takes the fault out.
    cp "$scratch/original" "$src/$file"
    echo "[$total/$count] $result  $label"
done <"$scratch/selected"
echo "$total faults: $caught caught, $missed missed, $broken do not build or name no test, $unapplied do not apply"
[ $caught -eq $total ]
