#!/bin/sh
# The example player against the library: each sample record exported with
# mirl-tool, the C player built on that Mirljects.h as strict C99 and run;
# its OBJ must be byte-identical to mirl-tool's loadobj-and-replay. Then the
# editor's multi-object export compiled as C and as C++.
# usage: player_test.sh WORK CC CXX RUNTIME_DIR RUNTIME_LIB PLAYER_C CXX_PLAYER TOOL MAKE_RECORDS
set -e
work=$1 cc=$2 cxx=$3 inc=$4 lib=$5 player=$6 cxxplayer=$7 tool=$8 records=$9
strict_c="-std=c99 -pedantic -Wall -Wextra -Werror -O2"

rm -rf "$work"
mkdir -p "$work"
"$records" "$work"
for rec in "$work"/*.mrl; do
    d="$work/$(basename "$rec" .mrl)"
    mkdir -p "$d"
    "$tool" export --include "$rec" mrlj0 >"$d/Mirljects.h"
    # shellcheck disable=SC2086
    "$cc" $strict_c -I"$d" -I"$inc" "$player" "$lib" -lm -o "$d/player"
    "$d/player" "$d/player.obj"
    "$tool" obj "$rec" "$d/tool.obj"
    cmp "$d/player.obj" "$d/tool.obj" || { echo "$rec: the player's mesh differs from loadobj's"; exit 1; }
done
echo "player meshes identical to loadobj for every record"

all="$work/all"
# shellcheck disable=SC2086
"$cc" $strict_c -I"$all" -I"$inc" "$player" "$lib" -lm -o "$all/player"
"$all/player" >"$all/player.obj"
cmp "$all/player.obj" "$work/cube/tool.obj"
"$cxx" -std=c++17 -pedantic -Wall -Wextra -Werror -I"$all" -I"$inc" "$cxxplayer" "$lib" -o "$all/cxx_player"
"$all/cxx_player"
