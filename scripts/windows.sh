#!/bin/sh
# Cross-builds programs for Windows with MinGW-w64 in BUILD: freeglut first
# (a static library, from the source scripts/fetch-freeglut.sh keeps in its
# cache), then the project with the editor. Without freeglut's source the
# editor is left out, which one line says; the rest still builds.
# usage: windows.sh BUILD x86_64|i686 TARGET...
#   MIRL_PLAYER_SIZES: the byte meter's table measured by a native build
#   (kept for later runs without it).
# Exit status 77 when a TARGET is the editor (mirl) and it cannot be built.
set -e
build=$1 arch=$2
shift 2
src=$(cd "$(dirname "$0")/.." && pwd)
case $arch in
x86_64) toolchain=$src/scripts/toolchain-mingw64.cmake ;;
i686) toolchain=$src/scripts/toolchain-mingw32.cmake ;;
*) echo "windows.sh: no architecture '$arch'" >&2 && exit 2 ;;
esac
mkdir -p "$build"
build=$(cd "$build" && pwd)

# CMake keeps a folder's compilers for good: a folder configured with other
# toolchain files (the win32 thread model's compilers, say) starts afresh,
# freeglut included.
stamp=$(cat "$toolchain" "$src/scripts/toolchain-mingw.cmake" | cksum)
if [ "$(cat "$build/toolchain.stamp" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles" "$build/freeglut-build" "$build/freeglut"
    echo "$stamp" >"$build/toolchain.stamp"
fi

editor=OFF
if freeglut=$("$src/scripts/fetch-freeglut.sh"); then
    prefix=$build/freeglut
    # Built once per build folder; a new source (another Debian version) is built anew.
    if [ ! -f "$prefix/lib/libfreeglut_static.a" ] || [ "$(cat "$prefix/source" 2>/dev/null)" != "$freeglut" ]; then
        echo "building freeglut for Windows ($arch) from $freeglut"
        rm -rf "$build/freeglut-build" "$prefix"
        cmake -S "$freeglut" -B "$build/freeglut-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
            -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=OFF >/dev/null
        cmake --build "$build/freeglut-build" -j 2 >"$build/freeglut-build/build.log" 2>&1 ||
            { tail -n 20 "$build/freeglut-build/build.log"; exit 1; }
        cmake --install "$build/freeglut-build" >/dev/null
        echo "$freeglut" >"$prefix/source"
    fi
    editor=ON
fi

cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DMIRL_EDITOR=$editor -DMIRL_TESTS=OFF -DMIRL_BENCH=OFF ${prefix:+-DFreeGLUT_DIR="$prefix/lib/cmake/FreeGLUT"} \
    ${MIRL_PLAYER_SIZES:+-DMIRL_PLAYER_SIZES="$MIRL_PLAYER_SIZES"} >/dev/null
for target in "$@"; do
    [ "$target" = mirl ] && [ $editor = OFF ] && exit 77
done
[ $# -eq 0 ] || cmake --build "$build" -j 2 $(printf ' --target %s' "$@")
