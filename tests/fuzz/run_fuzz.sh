#!/bin/sh
# Builds the libFuzzer harness with clang (ASan + UBSan) from the runtime and
# file sources and fuzzes loadobj's path for a bounded time. Exits 77 (a
# skip for ctest) when clang or its fuzzer runtime is missing.
# usage: run_fuzz.sh SOURCE_DIR OUT_DIR SECONDS MAKE_RECORDS
src=$1 out=$2 seconds=${3:-60} records=$4

cxx=""
for c in clang++ clang++-14; do
    if command -v "$c" >/dev/null 2>&1; then cxx=$c; break; fi
done
if [ -z "$cxx" ]; then
    echo "clang++ not found: fuzzing skipped"
    exit 77
fi

mkdir -p "$out/corpus" "$out/artifacts" "$out/obj"
harness="$out/fuzz_load"
common="-std=c++17 -O2 -g -fsanitize=address,undefined -fno-sanitize-recover=all -ffp-contract=off -fno-fast-math"
common="$common -I$src/runtime -I$src/files"
headers="$src/runtime/mirl.h $src/runtime/internal.h $src/files/mirlfile.h"

# compile SOURCE OBJECT FLAGS...: only when the source or a header is newer.
compile() {
    s=$1 o=$2
    shift 2
    if [ -f "$o" ] && [ -z "$(find "$s" $headers -newer "$o" | head -1)" ]; then
        return 0
    fi
    # shellcheck disable=SC2086
    "$cxx" $common "$@" -c "$s" -o "$o" 2>>"$out/build.log"
}

: >"$out/build.log"
failed=0
# The runtime and the file routines get edge coverage only: comparison
# tracing in their tight loops (normals, translation) would cost most of the
# time and finds nothing that edge coverage misses. The harness gets all.
for s in "$src"/runtime/*.cpp "$src"/files/*.cpp; do
    part=$(basename "$(dirname "$s")")
    compile "$s" "$out/obj/${part}_$(basename "$s" .cpp).o" \
        -fsanitize=fuzzer-no-link -fno-sanitize-coverage=trace-cmp || failed=1
done
compile "$src/tests/fuzz/fuzz_load.cpp" "$out/obj/fuzz_load.o" -fsanitize=fuzzer-no-link || failed=1
# Objects of sources that are gone must not be linked.
for o in "$out"/obj/*.o; do
    name=$(basename "$o" .o)
    part=${name%%_*} file=${name#*_}
    [ "$name" = fuzz_load ] || [ -f "$src/$part/$file.cpp" ] || rm -f "$o"
done
# shellcheck disable=SC2086
if [ $failed -eq 0 ] && ! "$cxx" $common -fsanitize=fuzzer "$out"/obj/*.o -o "$harness" 2>>"$out/build.log"; then
    failed=1
fi
if [ $failed -ne 0 ]; then
    if grep -q "libclang_rt.fuzzer\|cannot find.*fuzzer" "$out/build.log"; then
        echo "clang's fuzzer runtime (libclang-rt-14-dev) missing: fuzzing skipped"
        exit 77
    fi
    cat "$out/build.log"
    exit 1
fi

# Seeds: the sample records, written by the library as object files.
rm -rf "$out/seeds"
mkdir -p "$out/seeds/records"
"$records" "$out/seeds/records" >/dev/null || exit 1
mv "$out/seeds/records"/*.mrl "$out/seeds/"
rm -rf "$out/seeds/records"
printf '' >"$out/seeds/empty"

before=$(ls "$out/artifacts" | wc -l)
"$harness" -max_total_time="$seconds" -max_len=3100 -timeout=60 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/" \
    "$out/corpus" "$out/seeds" >"$out/fuzz.log" 2>&1
status=$?
after=$(ls "$out/artifacts" | wc -l)
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/fuzz.log" | tail -1)
persec=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/fuzz.log" | tail -1)
crashes=$((after - before))
echo "fuzz: ${runs:-?} executions in ${seconds} s (${persec:-?} per second), $crashes crashes, corpus $(ls "$out/corpus" | wc -l) inputs"
if [ $status -ne 0 ] || [ $crashes -ne 0 ]; then
    tail -40 "$out/fuzz.log"
    echo "findings in $out/artifacts"
    exit 1
fi
