# Drives the built editor like a user, with real pointer and key events
# (xdotool) on the X server the caller runs under (xvfb-run): its menus, the
# screen's pixels and its console. Sourced by e2e.sh and soak.sh.
# Uses: $editor (the program). Gives: $work, a private folder kept when the
# caller fails, and $here, the working folder of the editor started last.
WinX=400 WinY=200 WinW=800 WinH=600 # no window manager: exactly where it asks
MenuRow=25 # a menu entry's height: a 23-pixel font and 2 pixels of spacing
work=$(mktemp -d /tmp/mirl-xdrive-XXXXXX)
epid='' failed=1 here=$work
cleanup() {
    exec 3>&- 2>/dev/null
    [ -n "$epid" ] && kill "$epid" 2>/dev/null && wait "$epid" 2>/dev/null
    if [ "$failed" = 0 ] && [ -z "${MIRL_KEEP:-}" ]; then rm -rf "$work"; else
        echo "the editor's console, the events and the files are kept in $work"
    fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
    echo "FAILED: $*"
    echo "--- last console lines:" && tail -n 15 "$here/out.txt"
    echo "--- last notices:" && tail -n 5 "$here/err.txt"
    exit 1
}

# Starts the editor in $work/FOLDER and waits for its window; its standard
# input is a pipe (say NAME answers a console prompt). With console dialogs
# unless DIALOGS is "system". launch and editor_shown are what wine.sh changes.
start_editor() { # FOLDER [DIALOGS]
    here=$work/$1
    mkdir -p "$here" && cd "$here" || exit 1
    rm -f stdin && mkfifo stdin
    if [ "${2:-}" = system ]; then
        launch <stdin >out.txt 2>err.txt &
    else
        MIRL_CONSOLE_DIALOGS=1 launch <stdin >out.txt 2>err.txt &
    fi
    epid=$!
    exec 3>stdin
    wait_for 300 editor_shown || fail "no window"
}
launch() { exec "$editor"; }
editor_shown() { xdotool search --onlyvisible --name 'Mirl 1.0.2'; }
stop_editor() { kill "$epid" && wait "$epid" 2>/dev/null; epid=''; }
exit_editor() { # FILE, Exit: status 0
    choose 8 8 || fail "Exit"
    wait "$epid" || fail "Exit: status $?"
    epid=''
}
say() { echo "$1" >&3; }

xdo() {
    echo "$SECONDS $*" >>"$work/events.log" # kept with the console when a test fails
    xdotool "$@" >/dev/null 2>&1
}
at() { echo mousemove $((WinX + $1)) $((WinY + $2)); } # a window point
alive() { kill -0 "$epid" 2>/dev/null || fail "the editor exited"; }
occurrences() { grep -c -F -- "$1" "$here/out.txt"; } # each of these starts a line
wait_for() { # TENTHS COMMAND...: until the command succeeds
    local i n=$1
    shift
    for ((i = 0; i < n; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
printed() { (($(occurrences "$1") >= ${2:-1})); } # TEXT [COUNT]
wait_printed() { wait_for 150 printed "$@" || fail "the console did not show '$1' ${2:-1} times"; }

# Visible freeglut menus, one "x y width height" line each.
menus() {
    xdotool search --onlyvisible --name 'freeglut menu' getwindowgeometry --shell %@ 2>/dev/null |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{print x, y, w, $2}'
}
menu_count() { [ "$(menus | grep -c .)" -eq "$1" ]; }
# The middle of entry row N of a menu at Y, after a 2-pixel border.
entry_y() { echo $(($1 + 2 + MenuRow * $2 + MenuRow / 2)); }
# Up and left of every menu: a click below or right of one may leave it open.
close_menus() {
    for _ in 1 2 3 4 5; do
        menu_count 0 && return 0
        xdo $(at 2 2) click 1
        wait_for 20 menu_count 0 && return 0
    done
    return 1
}
# Chooses entry ITEM of submenu SUB through the right-button menu, opened at
# X Y (default 300 300) in the window; 1 if no menu opened (a live preview
# detaches it).
choose() {
    local rx ry sx sy y
    echo "$SECONDS menu $1 $2" >>"$work/events.log"
    xdo $(at "${3:-300}" "${4:-300}") sleep 0.05 click 3
    wait_for 15 menu_count 1 || { close_menus; return 1; }
    read -r rx ry _ <<<"$(menus | head -n 1)"
    y=$(entry_y "$ry" "$1")
    xdo mousemove $((rx + 20)) "$y" # the submenu opens to the right
    wait_for 30 menu_count 2 || { close_menus; return 1; }
    read -r sx sy _ <<<"$(menus | awk -v rx="$rx" '$1 > rx' | head -n 1)"
    [ -n "$sx" ] || { close_menus; return 1; }
    xdo mousemove $((sx + 20)) "$y" sleep 0.1 mousemove $((sx + 20)) "$(entry_y "$sy" "$2")" sleep 0.15 click 1
    wait_for 50 menu_count 0
}

# The colour "R G B" at a window point.
pixel() {
    import -window root -crop 1x1+$((WinX + $1))+$((WinY + $2)) -depth 8 rgb:- 2>/dev/null | od -An -tu1 |
        awk '{print $1, $2, $3}'
}
# Whether the pixel is within one unit of R G B: the rasteriser interpolates
# even a constant colour.
pixel_near() { # X Y R G B
    pixel "$1" "$2" | awk -v r="$3" -v g="$4" -v b="$5" \
        'function d(a, c) { return a > c ? a - c : c - a } { exit !(d($1, r) <= 1 && d($2, g) <= 1 && d($3, b) <= 1) }'
}
# The mean column of the window's pixels near R G B (0 when hardly any).
mean_column() {
    import -window root -crop ${WinW}x${WinH}+$WinX+$WinY -depth 8 rgb:- 2>/dev/null | od -An -v -tu1 -w3 |
        awk -v r="$1" -v g="$2" -v b="$3" -v w="$WinW" \
            'function d(a, c) { return a > c ? a - c : c - a }
             { if (d($1, r) <= 1 && d($2, g) <= 1 && d($3, b) <= 1) { s += (NR - 1) % w; n++ } }
             END { print (n > 500 ? int(s / n) : 0) }'
}
