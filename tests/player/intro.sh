#!/bin/sh
# The way from saved objects to an intro, as the README gives it, in a
# scratch folder that holds only what the README says to put there: the
# object files, what mirl-tool writes and the demo's own sources. Three
# builds, each replaying two objects to the runtime's bits:
#   1. a demo file that includes the generated player;
#   2. the player compiled on its own, two demo files using its header;
#   3. the general player (--all) with an exported Mirljects.h.
# The demo sources print each mesh's digest (the test's own meshdigest.h,
# the only thing taken from elsewhere).
# usage: intro.sh WORK TOOL MAKE_RECORDS TESTLIB_DIR
set -e
work=$1 tool=$2 records=$3 lib=$4
rm -rf "$work" && mkdir -p "$work/records"
"$records" "$work/records" 0
expected=$(awk '$1 == "random1" || $1 == "random2" {print $2}' "$work/records/reference.txt")
[ "$(echo "$expected" | wc -l)" -eq 2 ] || { echo "no reference digests"; exit 1; }

# fresh NAME: an empty demo folder with the two saved objects.
fresh() {
    d=$work/$1 && mkdir -p "$d"
    cp "$work/records/random1.mrl" "$d/ship.mrl"
    cp "$work/records/random2.mrl" "$d/rock.mrl"
    cd "$d"
}

# check NAME: runs the demo and compares its digests with the runtime's.
check() {
    ./demo >got.txt
    echo "$expected" | cmp -s - got.txt || { echo "$1: meshes differ from the runtime's"; cat got.txt; exit 1; }
    echo "$1: both objects replay to the runtime's bits"
}

# The demo's lines that replay an object and print its digest.
replay() {
    printf '    mesh.nverts = mesh.nquads = 0;\n    replayobj(&%s, &mesh);\n' "$1"
    printf '    printf("%%016" PRIx64 "\\n", meshDigestOf(&mesh));\n'
}
head() {
    printf '#include <inttypes.h>\n#include <stdio.h>\n\n#include "%s"\n#include "meshdigest.h"\n\n' "$1"
}
# demo HEADER A B: a demo that replays objects A and B in its one main().
demo() {
    head "$1" && echo "static Mesh mesh;" && echo "int main(void)" && echo "{"
    replay "$2" && replay "$3" && echo "    return 0;" && echo "}"
}

# 1. The player included into the demo's one file.
fresh include
"$tool" player -o objects.c ship=ship.mrl rock=rock.mrl
demo objects.c ship rock >demo.c
cc -Os -ffp-contract=off -I"$lib" demo.c -o demo
check "the player included"

# 2. The player compiled on its own; two demo files that use its header.
fresh separate
"$tool" player -o objects.c ship=ship.mrl rock=rock.mrl
[ -f objects.h ] || { echo "no objects.h beside objects.c"; exit 1; }
{ head objects.h; echo "Mesh mesh;"; echo "void showRock(void);"; echo "int main(void)"; echo "{";
  replay ship; echo "    showRock();"; echo "    return 0;"; echo "}"; } >demo.c
{ head objects.h; echo "extern Mesh mesh;"; echo "void showRock(void)"; echo "{"; replay rock; echo "}"; } >draw.c
cc -Os -ffp-contract=off -c objects.c
cc -Os -ffp-contract=off -I"$lib" -c demo.c draw.c
cc objects.o demo.o draw.o -o demo
check "the player compiled apart, two files with its header"

# 3. The general player and the editor's export.
fresh exported
"$tool" player --all -o mirl_player.c
"$tool" export --include ship.mrl mrlj0 >Mirljects.h
"$tool" export rock.mrl mrlj1 >>Mirljects.h
rm ship.mrl rock.mrl
demo Mirljects.h mrlj0 mrlj1 >demo.c
cc -Os -ffp-contract=off -c mirl_player.c
cc -Os -ffp-contract=off -Wall -Werror -I"$lib" -c demo.c
cc mirl_player.o demo.o -o demo
check "the general player with Mirljects.h"
ls "$work/exported" | tr '\n' ' ' | grep -qx 'Mirljects.h demo demo.c demo.o got.txt mirl.h mirl_player.c mirl_player.o ' ||
    { echo "unexpected files: $(ls "$work/exported")"; exit 1; }
