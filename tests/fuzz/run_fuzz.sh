#!/bin/sh
# Builds the libFuzzer harness with clang (ASan + UBSan) from the runtime and
# file sources and fuzzes loadobj's path for a bounded time, seeded with the
# sample records. Exits 77 (a skip for ctest) when clang or its fuzzer
# runtime is missing.
# usage: run_fuzz.sh SOURCE_DIR OUT_DIR SECONDS MAKE_RECORDS
src=$1 out=$2 seconds=${3:-60} records=$4
cxx=$(command -v clang++ || command -v clang++-14) || { echo "clang++ not found: fuzzing skipped"; exit 77; }
harness="$out/fuzz_load"
flags="-std=c++17 -O2 -g -fsanitize=address,undefined -fno-sanitize-recover=all -ffp-contract=off"
flags="$flags -I$src/runtime -I$src/files"
mkdir -p "$out/corpus" "$out/artifacts"

# Rebuilt when a source changed; the runtime's C files are valid C++ and
# built as such, with the same flags. The runtime gets edge coverage only:
# comparison tracing in its tight loops would cost most of the time and
# finds nothing that edge coverage misses.
if [ ! -x "$harness" ] || [ -n "$(find "$src/runtime" "$src/files" "$src/tests/fuzz" -newer "$harness")" ]; then
    # shellcheck disable=SC2086
    if ! "$cxx" $flags -fsanitize=fuzzer-no-link -c "$src/tests/fuzz/fuzz_load.cpp" -o "$out/fuzz_load.o" \
        >"$out/build.log" 2>&1 ||
        ! "$cxx" $flags -fsanitize=fuzzer -fno-sanitize-coverage=trace-cmp "$out/fuzz_load.o" \
            -x c++ "$src"/runtime/*.c -x none "$src"/files/*.cpp -o "$harness" >>"$out/build.log" 2>&1; then
        rm -f "$harness"
        if grep -q "libclang_rt.fuzzer\|cannot find.*fuzzer" "$out/build.log"; then
            echo "clang's fuzzer runtime (libclang-rt-14-dev) missing: fuzzing skipped"
            exit 77
        fi
        cat "$out/build.log"
        exit 1
    fi
fi

# Seeds: the sample records as the library saves them, and an empty file.
rm -rf "$out/seeds"
mkdir -p "$out/seeds"
"$records" "$out/seeds" >/dev/null || exit 1
rm -rf "$out/seeds/all"
: >"$out/seeds/empty"

before=$(ls "$out/artifacts" | wc -l)
"$harness" -max_total_time="$seconds" -max_len=3100 -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/" "$out/corpus" "$out/seeds" >"$out/fuzz.log" 2>&1
status=$?
crashes=$(($(ls "$out/artifacts" | wc -l) - before))
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/fuzz.log" | tail -1)
persec=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/fuzz.log" | tail -1)
echo "fuzz: ${runs:-?} executions in $seconds s (${persec:-?} per second), $crashes crashes," \
    "corpus $(ls "$out/corpus" | wc -l) inputs"
if [ $status -ne 0 ] || [ $crashes -ne 0 ]; then
    tail -40 "$out/fuzz.log"
    echo "findings in $out/artifacts"
    exit 1
fi
