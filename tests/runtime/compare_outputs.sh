#!/bin/sh
# Runs each program given and fails unless all print the same text.
# usage: compare_outputs.sh PROGRAM...
first=""
ref=""
for p in "$@"; do
    out=$("$p") || { echo "$p failed"; exit 1; }
    if [ -z "$first" ]; then
        first="$p"
        ref="$out"
    elif [ "$out" != "$ref" ]; then
        echo "$p differs from $first:"
        printf '%s\n' "$ref" > /tmp/mirl_cmp_a.$$
        printf '%s\n' "$out" > /tmp/mirl_cmp_b.$$
        diff /tmp/mirl_cmp_a.$$ /tmp/mirl_cmp_b.$$ | head -20
        rm -f /tmp/mirl_cmp_a.$$ /tmp/mirl_cmp_b.$$
        exit 1
    fi
done
echo "$# builds agree on $(printf '%s\n' "$ref" | wc -l) digests"
