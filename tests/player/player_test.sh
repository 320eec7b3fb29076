#!/bin/sh
# The example player against the library: for every sample record, export it
# with mirl-tool, build the C player on that Mirljects.h, run it, and demand
# the same OBJ bytes as mirl-tool's loadobj-and-replay of the object file.
# Then the editor's multi-object export compiled as C and as C++ (and with
# clang when present).
# usage: player_test.sh WORK CC CXX RUNTIME_DIR RUNTIME_LIB PLAYER_C CXX_PLAYER TOOL MAKE_RECORDS
set -e
work=$1 cc=$2 cxx=$3 inc=$4 lib=$5 player=$6 cxxplayer=$7 tool=$8 records=$9

rm -rf "$work"
mkdir -p "$work"
"$records" "$work"

strict_c="-std=c99 -pedantic -Wall -Wextra -Werror -O2"
count=0
for rec in "$work"/*.mrl; do
    name=$(basename "$rec" .mrl)
    d="$work/$name"
    mkdir -p "$d"
    "$tool" export --include "$rec" mrlj0 >"$d/Mirljects.h"
    # shellcheck disable=SC2086
    "$cc" $strict_c -I"$d" -I"$inc" "$player" "$lib" -lm -o "$d/player"
    "$d/player" "$d/player.obj"
    "$tool" obj "$rec" "$d/tool.obj"
    if ! cmp "$d/player.obj" "$d/tool.obj"; then
        echo "$name: the player's mesh differs from loadobj's"
        exit 1
    fi
    count=$((count + 1))
done
echo "player meshes identical to loadobj for $count records"

# The editor's export holds several objects; the player replays mrlj0.
all="$work/all"
# shellcheck disable=SC2086
"$cc" $strict_c -I"$all" -I"$inc" "$player" "$lib" -lm -o "$all/player"
"$all/player" >"$all/player.obj"
cmp "$all/player.obj" "$work/cube/tool.obj"
"$cxx" -std=c++17 -pedantic -Wall -Wextra -Werror -I"$all" -I"$inc" "$cxxplayer" "$lib" -o "$all/cxx_player"
"$all/cxx_player"
if command -v clang >/dev/null 2>&1; then
    # shellcheck disable=SC2086
    clang $strict_c -I"$all" -I"$inc" -c "$player" -o "$all/player_clang.o"
    clang++ -std=c++17 -pedantic -Wall -Wextra -Werror -I"$all" -I"$inc" -c "$cxxplayer" -o "$all/cxx_clang.o"
    echo "the export compiles with clang too"
fi
