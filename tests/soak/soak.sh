#!/bin/bash
# The editor under random real X events (menus, clicks, motion, keys; Load,
# Save and Export with console dialogs into a private folder) for a while.
# It must keep answering: every few seconds the i key has to print the model
# information. At the end the record is saved and mirl-tool must replay it to
# the counts the editor reports.
# usage: soak.sh EDITOR MIRL_TOOL [SECONDS [SEED]]   (SOAK_SECONDS, SOAK_SEED)
set -u
editor=$(realpath "$1") tool=$(realpath "$2")
seconds=${3:-${SOAK_SECONDS:-300}}
seed=${4:-${SOAK_SEED:-$(($(date +%s) % 32768))}}
# A model beyond this many faces is restarted, so the time goes into events
# rather than into smoothing a quarter of a million faces again and again.
face_limit=${SOAK_FACE_LIMIT:-60000}
answer_timeout=${SOAK_ANSWER_TIMEOUT:-120} # the slowest command, with margin
WinX=400 WinY=200 WinW=800 WinH=600
echo "soak: $seconds s, seed $seed (SOAK_SEED=$seed draws the same random choices again)"
RANDOM=$seed

work=$(mktemp -d /tmp/mirl-soak-XXXXXX)
xpid='' epid='' failed=1
cleanup() {
    exec 3>&- 2>/dev/null
    for p in $epid $xpid; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    if [ "$failed" = 0 ] && [ -z "${SOAK_KEEP:-}" ]; then rm -rf "$work"; else
        echo "soak: the editor's console, the events and the files are kept in $work"
    fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM # a stopped soak still stops its X server and editor
fail() {
    echo "soak: FAILED: $*"
    echo "--- last console lines:" && tail -n 15 "$work/out.txt"
    echo "--- last notices:" && tail -n 5 "$work/err.txt"
    exit 1
}

# A private X server; it writes its display number once it accepts clients.
Xvfb -displayfd 4 -screen 0 1600x1200x24 -nolisten tcp -noreset 4>"$work/display" >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 200); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
grep -q . "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

cd "$work" || exit 1
mkdir sub && mkfifo pipe.mrl stdin && head -c 1000 /dev/zero >short.mrl
MIRL_CONSOLE_DIALOGS=1 "$editor" <stdin >out.txt 2>err.txt &
epid=$!
exec 3>stdin # the file names typed at the console prompts

xdo() {
    echo "$SECONDS $*" >>events.log # kept with the console when the soak fails
    xdotool "$@" >/dev/null 2>&1
}
at() { echo mousemove $((WinX + $1)) $((WinY + $2)); } # a window point
alive() { kill -0 "$epid" 2>/dev/null || fail "the editor exited"; }
occurrences() { grep -c -F -- "$1" out.txt; } # each of these starts a line
for _ in $(seq 200); do
    xdotool search --onlyvisible --name 'Mirl 1.0.2' >/dev/null 2>&1 && break
    alive && sleep 0.1
done

# Visible freeglut menus, one "x y width height" line each.
menus() {
    xdotool search --onlyvisible --name 'freeglut menu' getwindowgeometry --shell %@ 2>/dev/null |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{print x, y, w, $2}'
}
wait_menus() { # count, tenths of a second
    local i
    for ((i = 0; i < $2; i++)); do [ "$(menus | grep -c .)" -eq "$1" ] && return 0; sleep 0.1; done
    return 1
}
# Entry rows: a 23-pixel font and 2 pixels of spacing, after a 2-pixel border.
entry_y() { echo $(($1 + 2 + 25 * $2 + 12)); }
# Up and left of every menu: a click below or right of one may leave it open.
close_menus() {
    for _ in 1 2 3 4 5; do wait_menus 0 1 && return 0; xdo $(at 2 2) click 1; wait_menus 0 20 && return 0; done
    return 1
}

# Answers a pending console prompt: good names, cancels and every kind of
# bad name (missing, a folder, a pipe, a short file, a missing folder); s?.mrl
# are missing until saved.
answered_load=0 answered_save=0
answer() { # Load|Save, then the names to draw from
    local kind=$1 n var=answered_${1,,}
    shift
    n=$(occurrences " $kind mirl object")
    ((n > ${!var})) || return 0
    printf -v "$var" %s "$n"
    names=("$@" s$((RANDOM % 4)).mrl s$((RANDOM % 4)).mrl s$((RANDOM % 4)).mrl)
    name=${names[RANDOM % ${#names[@]}]}
    echo "  ${kind,,} '$name'" && echo "$name" >&3
}
answer_prompts() {
    answer Load missing.mrl sub pipe.mrl short.mrl ''
    answer Save nowhere/s.mrl sub ''
}

# Chooses entry `item` of submenu `sub` through the right-button menu; 1 if
# no menu opened (a live preview detaches it).
choose() {
    local rx ry sx sy y
    echo "$SECONDS menu $1 $2" >>events.log
    xdo $(at $((RANDOM % 600)) $((RANDOM % 300))) sleep 0.05 click 3
    wait_menus 1 15 || { close_menus; return 1; }
    read -r rx ry _ <<<"$(menus | head -n 1)"
    y=$(entry_y "$ry" "$1")
    xdo mousemove $((rx + 20)) "$y"
    wait_menus 2 30 || { close_menus; return 1; }
    read -r sx sy _ <<<"$(menus | awk -v rx="$rx" '$1 > rx' | head -n 1)"
    [ -n "$sx" ] || { close_menus; return 1; }
    xdo mousemove $((sx + 20)) "$y" sleep 0.1 mousemove $((sx + 20)) "$(entry_y "$sy" "$2")" sleep 0.15 click 1
    wait_menus 0 50 || true
}

# The editor must answer: a click ends a live preview (or picks, or switches
# orbit and zoom), then i prints the model information. Sets info_line.
ping() {
    local before i
    answer_prompts
    close_menus
    before=$(occurrences "Number of Selected Faces:")
    xdo $(at $((100 + RANDOM % 600)) $((100 + RANDOM % 400)))
    [ "${1:-click}" = click ] && xdo click 1
    xdo key i
    for ((i = 0; i < answer_timeout * 10; i++)); do
        alive
        answer_prompts
        if (($(occurrences "Number of Selected Faces:") > before)); then
            info_line=$(grep -A 5 "^Model Info:" out.txt | tail -n 5 | tr '\n' ' ')
            return 0
        fi
        sleep 0.1
    done
    fail "no answer to the i key within $answer_timeout s"
}
field() { sed -n "s/.*$1(\([0-9]*\).*/\1/p" <<<"$info_line"; }

# FILE has 9 entries, the last of them Exit: never chosen.
entries=(8 3 3 4 6 4 4 3 8 6 4 4)
keys=(i u h space Left Right Up Down shift+Up shift+Down x U I Escape Return)
actions=0 menu_choices=0 pings=0 max_faces=0
last_ping=$SECONDS end=$((SECONDS + seconds))
while ((SECONDS < end)); do
    alive
    answer_prompts
    r=$((RANDOM % 100)) x=$((RANDOM % WinW)) y=$((RANDOM % WinH))
    if ((r < 25)); then # a horizontal sweep: drives a live preview
        step=$((RANDOM % 21 - 10)) sweep=()
        for ((n = RANDOM % 15 + 1; n > 0; n--)); do
            x=$(((x + step + WinW) % WinW)) sweep+=($(at $x $y) sleep 0.01)
        done
        xdo "${sweep[@]}"
    elif ((r < 35)); then
        xdo $(at $x $y)
    elif ((r < 48)); then
        xdo $(at $x $y) click 1
    elif ((r < 62)); then
        xdo $(at $x $y) key "${keys[RANDOM % ${#keys[@]}]}"
    elif ((r < 95)); then
        sub=$((RANDOM % 12)) item=$((RANDOM % ${entries[sub]}))
        if ((RANDOM % 5 == 0)); then # Load, Save or Export: the files matter most
            sub=8 item=$((RANDOM % 3)) item=$((item == 0 ? 4 : item))
        fi
        choose "$sub" "$item" && menu_choices=$((menu_choices + 1))
    else # a menu opened and closed again without a choice
        xdo $(at $((RANDOM % 600)) $((RANDOM % 300))) click 3 sleep 0.3
        close_menus
    fi
    actions=$((actions + 1))
    if ((SECONDS - last_ping >= 5)); then
        ping
        pings=$((pings + 1)) last_ping=$SECONDS faces=$(field "  Faces ")
        ((faces > max_faces)) && max_faces=$faces
        # a restart, or at the next answer if no menu opened now
        ((faces > face_limit)) && echo "  $faces faces: restart" && choose 8 5
    fi
done

# The end: save the record, read the editor's counts, replay the file.
ping
close_menus
saves=$(occurrences " Save mirl object")
for _ in 1 2 3 4 5; do choose 8 2 && break; ping; done
for ((i = 0; i < 100 && $(occurrences " Save mirl object") == saves; i++)); do sleep 0.1; done
(($(occurrences " Save mirl object") > saves)) || fail "Save did not ask for a file name"
answered_save=$((saves + 1))
echo final.mrl >&3
for ((i = 0; i < 100; i++)); do [ -f final.mrl ] && break; sleep 0.1; done
ping noclick # Save left the editor picking: a click would pick
echo "soak: $actions actions, $menu_choices menu choices, $pings answers, at most $max_faces faces"
echo "soak: the editor: $info_line"
replay=$("$tool" info final.mrl) || fail "mirl-tool info final.mrl failed"
echo "soak: the replay: $(tr '\n' ' ' <<<"$replay")"
for pair in "Vertices =vertices" "  Faces =faces" "Mirl Commands: =steps" "Picks: =picks" "Selected Faces: =selected faces"; do
    ours=$(field "${pair%%=*}") theirs=$(sed -n "s/^${pair##*=}: //p" <<<"$replay")
    [ -n "$ours" ] && [ "$ours" = "$theirs" ] || fail "${pair##*=}: the editor reports '$ours', the replay '$theirs'"
done
failed=0
echo "soak: passed"
