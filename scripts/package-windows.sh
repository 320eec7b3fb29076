#!/bin/sh
# make windows: mirl.exe and mirl-tool.exe for 64-bit Windows (MinGW-w64,
# static: they need no DLL but Windows' own), packed with the player's files
# and a text for Windows users into DIST/mirl-VERSION-win64.zip. The i686
# programs are compiled too (in WINBUILD-i686), to keep 32-bit Windows
# building; they are not packed.
# usage: package-windows.sh WINBUILD DIST   (MIRL_PLAYER_SIZES as windows.sh)
#   MIRL_WINDOWS_I686=0 leaves the i686 compile out (the package test's way).
# Exit status 77 when freeglut's source cannot be had.
set -e
winbuild=$1 dist=$2
src=$(cd "$(dirname "$0")/.." && pwd)

build() { # FOLDER ARCH TARGET...
    status=0
    "$src/scripts/windows.sh" "$@" || status=$?
    if [ $status = 77 ]; then
        echo "make windows: the editor needs freeglut's source (scripts/fetch-freeglut.sh)" >&2
        exit 77
    fi
    [ $status = 0 ] || exit $status
}
# The build runs mirl-tool.exe (for mirl_player.c) under wine: in the wine
# folder the tests use, quietly.
export WINEPREFIX="$winbuild/wine" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
build "$winbuild" x86_64 mirl mirl-tool mirl_player
i686=$winbuild-i686
if [ "${MIRL_WINDOWS_I686:-1}" = 0 ]; then i686=; else build "$i686" i686 mirl mirl-tool; fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$winbuild/CMakeCache.txt")
name=mirl-$version-win64
stage=$winbuild/package/$name
rm -rf "$winbuild/package" && mkdir -p "$stage/example" "$dist"
# Stripped: the symbols are for debugging, not for a user.
x86_64-w64-mingw32-strip -o "$stage/mirl.exe" "$winbuild/editor/mirl.exe"
x86_64-w64-mingw32-strip -o "$stage/mirl-tool.exe" "$winbuild/tools/mirl-tool.exe"
cp "$src/runtime/mirl.h" "$winbuild/player/mirl_player.c" "$stage/"
cp "$src/examples/player/player.c" "$src/examples/player/README.md" "$stage/example/"
sed 's/$/\r/' "$src/docs/README-windows.txt" >"$stage/README.txt" # for any Notepad
rm -f "$dist/$name.zip"
(cd "$winbuild/package" && cmake -E tar cf "$dist/$name.zip" --format=zip "$name")

for exe in "$winbuild/editor/mirl.exe" ${i686:+"$i686/editor/mirl.exe"} "$stage/mirl.exe"; do
    echo "$(wc -c <"$exe") bytes  $exe"
done
echo "$(wc -c <"$dist/$name.zip") bytes  $dist/$name.zip"
