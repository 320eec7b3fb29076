#!/bin/sh
# Builds mirl-tool for Windows with MinGW-w64 in BUILD (kept between runs, so
# only what changed is rebuilt) and runs the tool tests against it under wine64.
# usage: windows_tool.sh SOURCE BUILD TEST_TOOL CMAKE
set -e
src=$1 build=$2 test_tool=$3 cmake=$4

# The Windows build that the editor's Windows test shares.
"$src/scripts/windows.sh" "$build" x86_64 mirl-tool

# A wine of its own beside the build, with one server for the whole run that
# stays 30 s past each program: a program started while the server shuts down
# fails with "wine client error". (One still there from a run just before is
# kept.) Its output goes elsewhere, or ctest would wait for the server to end.
export WINEPREFIX="$build/wine" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1 || true
# When wine sets the folder up (first start, new wine version) it says so on
# standard error, which the tests read: that happens here.
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1
MIRL_TOOL_COMMAND="/usr/lib/wine/wine64 '$build/tools/mirl-tool.exe'" "$test_tool"
