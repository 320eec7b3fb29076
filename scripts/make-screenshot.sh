#!/bin/bash
# Makes docs/screenshot.png: starts the editor on a private Xvfb and builds a
# model with real clicks (select, extrude, move with the mouse, smooth), then
# captures the window.
# Usage: scripts/make-screenshot.sh [path/to/mirl] [output.png]
set -euo pipefail
program=$(realpath "${1:-build/editor/mirl}")
output=$(realpath -m "${2:-docs/screenshot.png}")
work=$(mktemp -d)
numfile="$work/display"

Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
xvfb=$!
editor=""
cleanup() {
    [ -n "$editor" ] && kill "$editor" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 200); do [ -s "$numfile" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n 1 "$numfile")"

# The window sits at (400, 200) without a window manager.
wx=400 wy=200
(cd "$work" && MIRL_CONSOLE_DIALOGS=1 exec "$program" >out.txt 2>&1 </dev/null) &
editor=$!
for _ in $(seq 200); do
    xdotool search --onlyvisible --name 'Mirl 1.0.2' >/dev/null 2>&1 && break
    sleep 0.05
done

point() { xdotool mousemove $((wx + $1)) $((wy + $2)); }
menus() { xdotool search --onlyvisible --name 'freeglut menu' 2>/dev/null || true; }
wait_menus() { # wait until the number of visible menus is $1
    for _ in $(seq 200); do [ "$(menus | wc -l)" -eq "$1" ] && return 0; sleep 0.025; done
    echo "make-screenshot: menu did not appear" >&2
    exit 1
}
commands_done() { grep -o 'done 0o' "$work/out.txt" | wc -l; }
wait_done() { # wait until $1 commands have finished
    for _ in $(seq 1200); do [ "$(commands_done)" -ge "$1" ] && return 0; sleep 0.05; done
    echo "make-screenshot: command did not finish" >&2
    exit 1
}
# choose SUBMENU ITEM: right click at the window centre, walk to the entry
# of the root menu, across into its submenu, down to the item, click.
choose() {
    point 300 300
    xdotool click 3
    wait_menus 1
    local y=$((wy + 300 + 2 + 25 * $1 + 12))
    xdotool mousemove $((wx + 320)) $y
    wait_menus 2
    local sx
    for id in $(menus); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [ "$X" -gt $((wx + 300)) ]; then sx=$X sy=$Y; fi
    done
    xdotool mousemove $((sx + 20)) $y
    sleep 0.1
    xdotool mousemove $((sx + 20)) $((sy + 2 + 25 * $2 + 12))
    sleep 0.15
    xdotool click 1
    wait_menus 0
}
pick() { point "$1" "$2"; sleep 0.05; xdotool click 1; sleep 0.1; }
drag_right() { # a live preview: $1 parameter steps to the right, then commit
    point 300 300 # where the menu was opened: no step
    sleep 0.05
    for i in $(seq "$1"); do point $((300 + 4 * i)) 300; sleep 0.02; done
    xdotool click 1
}

n=0
choose 0 1; n=$((n + 1)); wait_done $n                # SELECT: Select None
pick 400 240                                          # the top face
pick 460 330                                          # the right face
choose 4 1; n=$((n + 1)); wait_done $n                # FACES: Extrude Normal
choose 4 0; n=$((n + 1)); wait_done $n                # FACES: Inset Faces
choose 5 0; drag_right 3; n=$((n + 1)); wait_done $n  # FACES Move: Move Normal
choose 1 0; n=$((n + 1)); wait_done $n                # OBJECT: Smooth
choose 10 0; n=$((n + 1)); wait_done $n               # LIGHTING: Light On/Off
point 790 590
for _ in $(seq 12); do xdotool key shift+Down; done   # step back to see it all
sleep 0.5
mkdir -p "$(dirname "$output")"
import -window root -crop 800x600+$wx+$wy +repage "$output"
echo "make-screenshot: wrote $output"
