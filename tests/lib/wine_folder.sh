# Sourced by the Windows tests (sh or bash): wine_folder DIR makes DIR the
# quiet wine folder the Windows tests share beside their build, with one
# server for the whole run that stays 30 s past each program: a program
# started while the server shuts down fails with "wine client error" (one
# still there from a run just before is kept). The server's output goes
# elsewhere, or ctest would wait for it to end. When wine sets the folder up
# (first start, new wine version) it says so on standard error, which the
# tests read: that happens here.
wine_folder() {
    export WINEPREFIX="$1" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1 || true
    /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
}
