#!/bin/sh
# Builds the three libFuzzer harnesses with clang (ASan + UBSan, a mesh of a
# few hundred vertices and faces) and fuzzes them one after the other on two
# cores, keeping a corpus per harness in OUT_DIR between runs:
#   fuzz_decode   the text translation, image codec, refusal, Recorder, export
#   fuzz_replay   loading and replaying arbitrary bytes
#   fuzz_records  the same replay fed by a mutator that edits records, and
#                 its mesh compared with the literal algorithms' (tests/lib)
# With "coverage" it builds them with clang's source coverage instead and
# prints the lines of runtime/ and files/ that the corpora reach.
# Exits 77 (a skip for ctest) when clang or its fuzzer runtime is missing.
# usage: run_fuzz.sh SOURCE_DIR OUT_DIR SECONDS MAKE_RECORDS [coverage]
src=$1 out=$2 seconds=${3:-60} records=$4 mode=${5:-fuzz}
cxx=$(command -v clang++ || command -v clang++-14) || { echo "clang++ not found: fuzzing skipped"; exit 77; }
capacity=384 # cube smoothed three times: 384 faces but 386 vertices
mkdir -p "$out/artifacts"

# Builds the harnesses into $1 with the flags $2 when a source changed. The
# runtime's C files are valid C++ and built as such. Edge coverage only:
# comparison tracing in the byte and face loops costs most of the time, and
# the dictionary holds the values that matter.
build() {
    dir=$1 flags="-std=c++17 -g -ffp-contract=off -DMIRL_CAPACITY=$capacity -I$src/runtime -I$src/files -I$src/tests/lib $2"
    [ -x "$dir/fuzz_records" ] && [ -z "$(find "$src/runtime" "$src/files" "$src/tests/fuzz" "$src/tests/lib" -newer "$dir/fuzz_records")" ] &&
        return 0
    mkdir -p "$dir"
    rm -f "$dir"/*.o "$dir/fuzz_records"
    link() { # the harness's objects, the runtime's and the files' objects, OUTPUT
        # shellcheck disable=SC2086
        "$cxx" $flags -fsanitize=fuzzer "$@" $(ls "$dir"/*.o | grep -v 'fuzz_\|oracle') >>"$dir/build.log" 2>&1
    }
    # shellcheck disable=SC2086
    if ! ls "$src"/runtime/*.c "$src"/files/*.cpp "$src"/tests/fuzz/*.cpp "$src"/tests/lib/oracle*.cpp "$src"/tests/lib/testmesh.cpp |
        xargs -P 2 -I @ sh -c 'c=$0 d=$1 f=$2 s=$3; "$c" -x c++ -c "$s" -o "$d/${s##*/}.o" $f' \
            "$cxx" "$dir" "$flags -fsanitize=fuzzer-no-link -fno-sanitize-coverage=trace-cmp" @ >"$dir/build.log" 2>&1 ||
        ! link "$dir"/fuzz_decode.cpp.o -o "$dir/fuzz_decode" || ! link "$dir"/fuzz_replay.cpp.o -o "$dir/fuzz_replay" ||
        ! link "$dir"/fuzz_replay.cpp.o "$dir"/fuzz_mutate.cpp.o "$dir"/*oracle*.o -o "$dir/fuzz_records"; then
        rm -f "$dir/fuzz_records"
        grep -q "libclang_rt.fuzzer\|cannot find.*fuzzer" "$dir/build.log" &&
            echo "clang's fuzzer runtime (libclang-rt-14-dev) missing: fuzzing skipped" && exit 77
        cat "$dir/build.log"
        exit 1
    fi
}

# The corpora of harness $1: its own and the seeds; the record mutator also
# starts from what the replay harness found.
corpora() { echo "$out/corpus-$1 $out/seeds$([ "$1" = records ] && echo " $out/corpus-replay")"; }

# Seeds: the sample records as the library saves them, and an empty file.
rm -rf "$out/seeds"
mkdir -p "$out/seeds"
"$records" "$out/seeds" >/dev/null || exit 1
rm -rf "$out/seeds/all"
: >"$out/seeds/empty"

if [ "$mode" = coverage ]; then
    tool() { command -v "$1" || command -v "$1-14" || { echo "$1 not found" >&2; exit 1; }; }
    profdata=$(tool llvm-profdata) && cov=$(tool llvm-cov) || exit 1
    build "$out/coverage" "-O1 -fprofile-instr-generate -fcoverage-mapping"
    rm -rf "$out/profiles"
    mkdir -p "$out/profiles" "$out/corpus-decode" "$out/corpus-replay" "$out/corpus-records"
    for h in decode records; do
        # shellcheck disable=SC2046
        LLVM_PROFILE_FILE="$out/profiles/$h.profraw" "$out/coverage/fuzz_$h" -runs=0 -max_len=3100 $(corpora $h) \
            >"$out/coverage/$h.log" 2>&1 || { tail -20 "$out/coverage/$h.log"; exit 1; }
    done
    "$profdata" merge -sparse "$out"/profiles/*.profraw -o "$out/profiles/all.profdata" || exit 1
    "$cov" report "$out/coverage/fuzz_decode" -object "$out/coverage/fuzz_records" \
        -instr-profile="$out/profiles/all.profdata" "$src/runtime" "$src/files" | tee "$out/coverage/report.txt"
    "$cov" show "$out/coverage/fuzz_decode" -object "$out/coverage/fuzz_records" \
        -instr-profile="$out/profiles/all.profdata" "$src/runtime" "$src/files" >"$out/coverage/lines.txt"
    echo "fuzz-coverage: $(awk '/^TOTAL/ { print $(NF-3) }' "$out/coverage/report.txt") of the lines of" \
        "runtime/ and files/ (lines never run: $out/coverage/lines.txt, count 0)"
    exit 0
fi

build "$out/bin" "-O2 -fsanitize=address,undefined -fno-sanitize-recover=all"
# A fifth of the time for the record mutator, whose every run is also checked
# against the slow literal algorithms; two fifths each for the decoder and the
# replay, which take thousands of inputs a second. Two processes for each,
# sharing its corpus (each picks up what the other found every second);
# libFuzzer's -fork mode kept the cores half idle here.
status=0 total=0
for h in decode replay records; do
    t=$((seconds * 2 / 5))
    [ $h = records ] && t=$((seconds - 2 * t))
    [ $t -ge 1 ] || t=1 # 0 would be no limit
    mkdir -p "$out/corpus-$h"
    before=$(ls "$out/artifacts" | wc -l)
    pids=""
    for w in 1 2; do
        # shellcheck disable=SC2046
        "$out/bin/fuzz_$h" -max_total_time="$t" -max_len=3100 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
            -dict="$src/tests/fuzz/mirl.dict" -artifact_prefix="$out/artifacts/" $(corpora $h) >"$out/$h-$w.log" 2>&1 &
        pids="$pids $!"
    done
    for p in $pids; do wait "$p" || status=1; done
    crashes=$(($(ls "$out/artifacts" | wc -l) - before))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$h"-[12].log | awk '{ n += $1 } END { print n + 0 }')
    edges=$(sed -n 's/^#[0-9]*.* cov: \([0-9]*\) .*/\1/p' "$out/$h"-[12].log | sort -n | tail -1)
    total=$((total + runs))
    echo "fuzz_$h: $runs executions in $t s ($((runs / t)) per second), ${edges:-?} edges covered," \
        "corpus $(ls "$out/corpus-$h" | wc -l) inputs, $crashes crashes"
    [ $crashes -eq 0 ] || { status=1; tail -40 "$out/$h-1.log" "$out/$h-2.log"; }
done
echo "fuzz: $total executions in $seconds s on 2 cores ($((total * 3600 / (seconds > 0 ? seconds : 1))) an hour)"
[ $status -eq 0 ] || echo "findings in $out/artifacts (logs in $out/*.log)"
exit $status
