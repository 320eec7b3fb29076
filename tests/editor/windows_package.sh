#!/bin/sh
# The Windows zip as a user gets it: `make windows`'s packaging, unpacked in
# a scratch folder, must hold what its text names, need no DLL but Windows'
# own, and take an object into an intro both ways the text shows (a player
# made for the object, and mirl_player.c with an exported Mirljects.h),
# compiled by MinGW-w64 and run under wine64 to the Linux tool's exact mesh.
# usage: windows_package.sh SOURCE WINBUILD LINUX_TOOL MAKE_RECORDS
# Exit status 77 (skipped) without wine64, MinGW-w64 or freeglut's source.
set -u
src=$1 winbuild=$2 linux_tool=$3 make_records=$4
for need in /usr/lib/wine/wine64 x86_64-w64-mingw32-gcc; do
    command -v $need >/dev/null || { echo "skipped: no $need (scripts/install-deps.sh installs it)"; exit 77; }
done
fail() { echo "FAILED: $*"; exit 1; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/mirl-package.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT

# The wine folder the other Windows tests use.
. "$src/tests/lib/wine_folder.sh"
wine_folder "$winbuild/wine"

MIRL_WINDOWS_I686=0 "$src/scripts/package-windows.sh" "$winbuild" "$scratch/dist" >"$scratch/log" 2>&1
case $? in 0) ;; 77) cat "$scratch/log"; exit 77 ;; *) cat "$scratch/log"; fail "packaging" ;; esac
set -- "$scratch"/dist/mirl-*-win64.zip
[ $# = 1 ] && [ -f "$1" ] || fail "no single zip in dist: $*"
zip=$1 name=$(basename "$1" .zip)
mkdir "$scratch/user" && (cd "$scratch/user" && cmake -E tar xf "$zip") || fail "unpacking $zip"

# What the text promises, nothing missing and nothing stray.
(cd "$scratch/user" && find . -type f | sort) >"$scratch/files"
printf '%s\n' ./$name/README.txt ./$name/example/README.md ./$name/example/player.c \
    ./$name/mirl-tool.exe ./$name/mirl.exe ./$name/mirl.h ./$name/mirl_player.c >"$scratch/expected"
cmp -s "$scratch/files" "$scratch/expected" ||
    { diff "$scratch/expected" "$scratch/files"; fail "the zip's files"; }
user=$scratch/user/$name
# A text for Notepad: every line ends in CR LF.
[ "$(grep -c "$(printf '\r')\$" "$user/README.txt")" = "$(wc -l <"$user/README.txt")" ] ||
    fail "README.txt has lines without CR LF"
for exe in mirl.exe mirl-tool.exe; do
    x86_64-w64-mingw32-objdump -p "$user/$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr A-Z a-z | sort -u |
        grep -v -x -E 'advapi32.dll|comdlg32.dll|gdi32.dll|glu32.dll|kernel32.dll|msvcrt.dll|opengl32.dll|user32.dll|winmm.dll' &&
        fail "$exe needs a DLL that Windows does not have"
done

# The mesh both intros must rebuild, bit for bit: a random record of the
# player tests, with extrusions, smooths and skipped steps.
mkdir "$scratch/records" && "$make_records" "$scratch/records" 0 || fail "make_records"
object=$scratch/records/random1.mrl
"$linux_tool" obj "$object" "$scratch/expected.obj" || fail "the Linux tool's OBJ"
tool() { /usr/lib/wine/wine64 "$user/mirl-tool.exe" "$@"; }
intro() { # FOLDER: builds the example there with the text's options and runs it
    cp "$user/example/player.c" "$1/" &&
        (cd "$1" && x86_64-w64-mingw32-gcc -std=c99 -Os -ffp-contract=off -Wall -Wextra -Werror \
            player.c -o player.exe) || fail "compiling the example in $1"
    (cd "$1" && /usr/lib/wine/wine64 ./player.exe mesh.obj) || fail "running the example in $1"
    cmp "$scratch/expected.obj" "$1/mesh.obj" || fail "the mesh of $1 differs from the Linux tool's"
}

# A player made for the object.
mkdir "$scratch/made" && cp "$object" "$scratch/made/ship.mrl"
(cd "$scratch/made" && tool player -o objects.c mrlj0=ship.mrl) || fail "mirl-tool.exe player"
intro "$scratch/made"

# Every operation's player from the zip, and the object exported as C.
mkdir "$scratch/all" && cp "$user/mirl.h" "$user/mirl_player.c" "$object" "$scratch/all/"
(cd "$scratch/all" && tool export --include "$(basename "$object")" mrlj0 >Mirljects.h) || fail "mirl-tool.exe export"
printf '#include "mirl_player.c"\n#include "Mirljects.h"\n' >"$scratch/all/objects.c"
intro "$scratch/all"
echo "the zip: $(wc -c <"$zip") bytes; both intros rebuild the object exactly"
