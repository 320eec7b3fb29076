#!/bin/sh
# Starts the editor. Without a display it starts a private Xvfb first, says
# so, and asks for file names on the console (no one could see a dialog).
# Usage: scripts/run-editor.sh [path/to/mirl]
set -e
program=${1:-build/editor/mirl}
[ -x "$program" ] || { echo "run-editor: $program is not built (make run builds it)" >&2; exit 1; }

if [ -n "$DISPLAY" ]; then
    exec "$program"
fi

numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$numfile"' EXIT INT TERM
tries=0
while [ ! -s "$numfile" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 200 ] || ! kill -0 $xvfb 2>/dev/null; then
        echo "run-editor: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
display=":$(head -n 1 "$numfile")"
echo "run-editor: no DISPLAY set: the editor runs under Xvfb on $display"
echo "run-editor: watch it with a VNC server (x11vnc -display $display) or screenshots"
echo "run-editor: (import -display $display -window root shot.png); file names are"
echo "run-editor: asked for on this console; Ctrl+C ends it."
DISPLAY=$display MIRL_CONSOLE_DIALOGS=1 "$program"
