#!/bin/sh
# Builds mirl-tool for Windows with MinGW-w64 in BUILD (kept between runs, so
# only what changed is rebuilt) and runs the tool tests against it under wine64.
# usage: windows_tool.sh SOURCE BUILD TEST_TOOL CMAKE
set -e
src=$1 build=$2 test_tool=$3 cmake=$4

"$cmake" -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/scripts/toolchain-mingw64.cmake" \
    -DMIRL_EDITOR=OFF -DMIRL_TESTS=OFF -DMIRL_BENCH=OFF >/dev/null
"$cmake" --build "$build" --target mirl-tool -j 2

# A wine of its own beside the build, started once before the tests: when it
# sets itself up (first start, new wine version) it talks on standard error,
# which the tests read.
export WINEPREFIX="$build/wine" WINEDEBUG=-all
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1
MIRL_TOOL_COMMAND="/usr/lib/wine/wine64 '$build/tools/mirl-tool.exe'" "$test_tool"
