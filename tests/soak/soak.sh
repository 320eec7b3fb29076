#!/bin/bash
# The editor under random real X events (menus, clicks, motion, keys; Load,
# Save and Export with console dialogs into a private folder) for a while.
# It must keep answering: every few seconds the i key has to print the model
# information. At the end the record is saved and mirl-tool must replay it to
# the counts the editor reports.
# usage: xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" soak.sh EDITOR MIRL_TOOL [SECONDS [SEED]]
#   (SOAK_SECONDS, SOAK_SEED)
set -u
editor=$(realpath "$1") tool=$(realpath "$2")
seconds=${3:-${SOAK_SECONDS:-300}}
seed=${4:-${SOAK_SEED:-$(($(date +%s) % 32768))}}
# A model beyond this many faces is restarted, so the time goes into events
# rather than into smoothing a quarter of a million faces again and again.
face_limit=${SOAK_FACE_LIMIT:-60000}
answer_timeout=${SOAK_ANSWER_TIMEOUT:-120} # the slowest command, with margin
echo "soak: $seconds s, seed $seed (SOAK_SEED=$seed draws the same random choices again)"
RANDOM=$seed

. "$(dirname "$0")/../editor/xdrive.sh"
start_editor soak
mkdir sub && mkfifo pipe.mrl && head -c 1000 /dev/zero >short.mrl

# Answers a pending console prompt with a good name, a cancel or every kind
# of bad name (missing, a folder, a pipe, a short file, a missing folder);
# s?.mrl are missing until saved.
answered=0
answer_prompts() {
    local n names
    n=$(occurrences "file name")
    ((n > answered)) || return 0
    answered=$n
    names=(missing.mrl sub pipe.mrl short.mrl '' s$((RANDOM % 4)).mrl s$((RANDOM % 4)).mrl)
    [ "$(grep -o ' [LS][a-z]* mirl object' out.txt | tail -n 1)" = " Save mirl object" ] &&
        names=(nowhere/s.mrl sub '' s$((RANDOM % 4)).mrl) # a pipe would wait for a reader
    name=${names[RANDOM % ${#names[@]}]}
    echo "  answered '$name'" && say "$name"
}

# The editor must answer: a click ends a live preview or an edit of a step
# (or picks, or switches orbit and zoom), then i prints the model
# information. Sets info_line. It clicks right of the step list, where a
# click would start an edit.
ping() {
    local before i
    answer_prompts
    close_menus
    before=$(occurrences "Number of Selected Faces:")
    xdo $(at $((350 + RANDOM % 350)) $((100 + RANDOM % 400)))
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
keys=(i u h space Left Right Up Down shift+Up shift+Down x U I Escape Return l l Delete Prior Next)
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
        xdo $(at $x $y) click $((RANDOM % 6 ? 1 : 4 + RANDOM % 2)) # sometimes the wheel
    elif ((r < 62)); then
        xdo $(at $x $y) key "${keys[RANDOM % ${#keys[@]}]}"
    elif ((r < 95)); then
        sub=$((RANDOM % 12)) item=$((RANDOM % ${entries[sub]}))
        if ((RANDOM % 5 == 0)); then # Load, Save or Export: the files matter most
            sub=8 item=$((RANDOM % 3)) item=$((item == 0 ? 4 : item))
        fi
        choose "$sub" "$item" $((RANDOM % 600)) $((RANDOM % 300)) && menu_choices=$((menu_choices + 1))
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
wait_for 100 printed " Save mirl object" $((saves + 1)) || fail "Save did not ask for a file name"
answered=$(occurrences "file name")
say final.mrl
wait_for 100 test -f final.mrl
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
