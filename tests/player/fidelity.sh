#!/bin/sh
# Generated players against the editor's runtime: every record replayed by
# players built with gcc (-Os, and -O2 as C++), clang -Os, MinGW-w64 -Os
# (run under wine64) and gcc -m32 -Os (32-bit x86 with SSE2, run under
# qemu-i386) must give the same mesh bits; so must the players specialised
# to each object alone and to groups of objects (gcc, clang, MinGW). The
# player compiles as strict C99 and C++17, alone and after mirl.h, and
# imports nothing but memcpy, memset and memmove.
# usage: fidelity.sh WORK TOOL MAKE_RECORDS RUNTIME_DIR TESTLIB_DIR RANDOM_COUNT
set -e
export WINEDEBUG=-all
work=$1 tool=$2 records=$3 inc=$4 lib=$5 count=$6
strict="-pedantic -Wall -Wextra -Werror -ffp-contract=off"
rm -rf "$work" && mkdir -p "$work"
"$records" "$work" "$count"
cut -d' ' -f2 "$work/reference.txt" >"$work/expected.txt"

# A player for all the objects, and the list the driver replays.
set --
while read -r name digest; do
    set -- "$@" "$name=$work/$name.mrl"
    echo "X($name, replayobj)"
done <"$work/reference.txt" >"$work/list.h"
"$tool" player -o "$work/player.c" "$@"

# drive DIR OUT RUN COMPILER FLAGS...: builds the driver on DIR's list.h
# (FLAGS may name the players' objects) into OUT, runs it with RUN (a command
# prefix, may be empty) and compares its digests with the runtime's.
drive() {
    dir=$1 out=$2 run=$3 compiler=$4 && shift 4
    # shellcheck disable=SC2086
    $compiler $strict "$@" -I"$dir" -I"$inc" -I"$lib" "$(dirname "$0")/driver.c" -o "$out/driver.exe"
    $run "$out/driver.exe" "$out/got.txt"
    cmp -s "$out/got.txt" "$work/expected.txt" ||
        { echo "$compiler $*: meshes differ from the runtime's"; diff "$work/expected.txt" "$out/got.txt" | head; exit 1; }
}
drive "$work" "$work" "" gcc -std=c99 -Os -DPLAYER_INCLUDED
drive "$work" "$work" "" g++ -x c++ -std=c++17 -O2 -DPLAYER_INCLUDED
drive "$work" "$work" "" clang -std=c99 -Os -DPLAYER_INCLUDED
drive "$work" "$work" "/usr/lib/wine/wine64" x86_64-w64-mingw32-gcc -std=c99 -Os -static -DPLAYER_INCLUDED
drive "$work" "$work" qemu-i386 gcc -m32 -std=c99 -Os -msse2 -mfpmath=sse -static -DPLAYER_INCLUDED # 32-bit x86, emulated
echo "$(wc -l <"$work/expected.txt") objects: gcc, g++, clang, MinGW and 32-bit x86 players agree with the runtime"

# This player and the one of every operation alone, as C and C++: what they
# import, and their static memory (at most 4 MB beside the caller's Mesh).
"$tool" player --all -o "$work/every.c"
for p in player every; do
    gcc -std=c99 $strict -Os -c "$work/$p.c" -o "$work/$p.o"
    g++ -x c++ -std=c++17 $strict -Os -c "$work/$p.c" -o "$work/${p}_cxx.o"
    for o in "$work/$p.o" "$work/${p}_cxx.o"; do
        extra=$(nm -u "$o" | awk '{print $2}' | grep -vxE 'memcpy|memset|memmove' || true)
        [ -z "$extra" ] || { echo "$o imports: $extra"; exit 1; }
    done
    mem=$(size -A "$work/$p.o" | awk '$1 ~ /^\.(bss|data)/ {s += $2} END {print s}')
    [ "$mem" -le 4194304 ] || { echo "$p keeps $mem bytes of static memory"; exit 1; }
done

# The player's own GCC options end with it: code after it in the same file
# compiles as it would alone.
printf 'int after(int *p, int n) { int s = 0; while (n--) s += p[n] * n; return s; }\n' >"$work/after.c"
printf '#include "every.c"\n#include "after.c"\n' >"$work/both.c"
for f in after both; do
    gcc -m32 -msse2 -O2 -ffunction-sections -c "$work/$f.c" -o "$work/$f.o"
    objdump -d -j .text.after "$work/$f.o" | grep '^ ' >"$work/$f.dis"
done
cmp -s "$work/after.dis" "$work/both.dis" || { echo "the player's options outlast it"; exit 1; }

# Specialised players: one made for each object alone and one for each
# group of 25, every one compiled with its replayobj renamed, linked into one
# program per compiler and kind.
made=$work/made && mkdir -p "$made/one" "$made/group"
: >"$made/one/list.h"
: >"$made/group/list.h"
group=0 members=0
set --
while read -r name digest; do
    "$tool" player -o "$made/one/$name.c" "$name=$work/$name.mrl"
    echo "X($name, replay_$name)" >>"$made/one/list.h"
    set -- "$@" "$name=$work/$name.mrl"
    echo "X($name, replay_g$group)" >>"$made/group/list.h"
    members=$((members + 1))
    if [ $members -eq 25 ]; then
        "$tool" player -o "$made/group/g$group.c" "$@"
        set --
        group=$((group + 1)) members=0
    fi
done <"$work/reference.txt"
[ $# -eq 0 ] || "$tool" player -o "$made/group/g$group.c" "$@"

# specialised KIND RUN COMPILER FLAGS...: compiles KIND's players two at a
# time, links them with the driver, runs it with RUN and compares.
specialised() {
    dir=$made/$1 run=$2 compiler=$3 && shift 3
    out=$dir/obj-$(basename "$compiler") && rm -rf "$out" && mkdir -p "$out"
    # shellcheck disable=SC2086
    ls "$dir"/*.c | OUT=$out xargs -P 2 -I {} sh -c 'c=$1 && shift && b=$(basename "$c" .c) &&
        "$@" -Dreplayobj="replay_$b" -c "$c" -o "$OUT/$b.o"' sh {} $compiler $strict "$@" ||
        { echo "$compiler: the players of $dir do not all compile"; exit 1; }
    drive "$dir" "$out" "$run" "$compiler" "$@" "$out"/*.o
}
for kind in one group; do
    specialised $kind "" gcc -std=c99 -Os
    specialised $kind "" clang -std=c99 -Os
    specialised $kind /usr/lib/wine/wine64 x86_64-w64-mingw32-gcc -std=c99 -Os -static
done
echo "players specialised to each object and to groups of 25 agree (gcc, clang, MinGW)"

# The example player, for Linux and for Windows: its OBJ is mirl-tool's.
ex=$work/example && mkdir -p "$ex"
"$tool" player -o "$ex/objects.c" "mrlj0=$work/random1.mrl"
"$tool" obj "$work/random1.mrl" "$ex/tool.obj"
example=$(dirname "$0")/../../examples/player/player.c
gcc -std=c99 $strict -Os -I"$ex" "$example" -o "$ex/player"
"$ex/player" "$ex/linux.obj"
x86_64-w64-mingw32-gcc -std=c99 $strict -Os -static -I"$ex" "$example" -o "$ex/player.exe"
/usr/lib/wine/wine64 "$ex/player.exe" >"$ex/windows.obj"
cmp "$ex/linux.obj" "$ex/tool.obj" && cmp "$ex/windows.obj" "$ex/tool.obj"
echo "the example player writes mirl-tool's OBJ on Linux and Windows"
