#!/bin/sh
# Builds mirl-tool for Windows with MinGW-w64 in BUILD (kept between runs, so
# only what changed is rebuilt) and runs the tool tests against it under wine64.
# usage: windows_tool.sh SOURCE BUILD TEST_TOOL CMAKE
set -e
src=$1 build=$2 test_tool=$3 cmake=$4

# The Windows build that the editor's Windows test shares.
"$src/scripts/windows.sh" "$build" x86_64 mirl-tool

# A wine folder of its own beside the build.
. "$src/tests/lib/wine_folder.sh"
wine_folder "$build/wine"
MIRL_TOOL_COMMAND="/usr/lib/wine/wine64 '$build/tools/mirl-tool.exe'" "$test_tool"
