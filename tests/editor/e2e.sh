#!/bin/bash
# The built editor driven like a user under xvfb-run: real pointer and key
# events, menus opened with the right button, the screen read back by pixel,
# the console read from the program's output.
# usage: xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" e2e.sh EDITOR
set -u
editor=$(realpath "$1")
. "$(dirname "$0")/xdrive.sh"
Selected='230 89 64' Plain='64 64 128' TopX=400 TopY=240 # the starting cube's top face
prompts=0 # file name prompts of the editor started last
file_item() { # ITEM NAME: FILE's Load (1) or Save (2), NAME typed at the prompt
    choose 8 "$1" || fail "FILE item $1"
    prompts=$((prompts + 1))
    wait_printed "file name" $prompts
    say "$2"
}

echo "a click, the keys and the meter"
start_editor keys
[ "$(xdotool getwindowname "$(xdotool search --onlyvisible --name 'Mirl 1.0.2' | head -n 1)")" = \
    "  Mirl 1.0.2   by Orne|Wexal" ] || fail "window title"
wait_for 100 pixel_near $TopX $TopY $Selected || fail "the first frame: top face $(pixel $TopX $TopY)"
[ "$(pixel $((WinW - 6)) 6)" = "$Plain" ] || fail "the meter's backing"
xdo $(at $TopX $TopY) click 1 key i # a real click picks (keyboard focus follows the pointer)
wait_printed "Number of Picks: (1, max 256)"
wait_for 100 pixel_near $TopX $TopY $Plain || fail "the pick did not show"
xdo key u i
wait_printed "Number of Picks: (0, max 256)"
xdo key h # hides the meter and shows it again
wait_for 50 eval '[ "$(pixel $((WinW - 6)) 6)" != "$Plain" ]' || fail "h did not hide the meter"
xdo key h
wait_for 50 eval '[ "$(pixel $((WinW - 6)) 6)" = "$Plain" ]' || fail "h did not show the meter again"
# Redo by r, Ctrl+Y and Ctrl+Shift+Z, undo by Ctrl+Z: the pick comes and goes.
for key in r ctrl+z ctrl+y ctrl+z ctrl+shift+z; do xdo key $key i; done
wait_printed "Number of Picks: (1, max 256)" 4
wait_printed "Number of Picks: (0, max 256)" 3
stop_editor

echo "a menu, a live preview, a cancel, save, exit and load in a fresh run"
start_editor first
xdo $(at 300 300) click 3
wait_for 50 menu_count 1 || fail "no menu"
read -r x _ _ h <<<"$(menus)"
[ "$x $h" = "$((WinX + 300)) $((2 + 12 * 25 + 2))" ] || fail "the menu: at $x, $h high (twelve titles)"
xdo $(at 20 20) key i click 1 # a key meanwhile does nothing; a click outside closes it
wait_for 50 menu_count 0 || fail "the menu stayed open"
choose 0 1 || fail "Select None"
wait_for 100 pixel_near $TopX $TopY $Plain || fail "Select None did not show"
xdo $(at $TopX $TopY) click 1
wait_for 100 pixel_near $TopX $TopY $Selected || fail "the pick did not show"
before=$(mean_column $Selected)
choose 2 0 || fail "Move X" # OBJECT Move
wait_printed " .o0 Working ..." 2
xdo click 3 sleep 0.3 # no menu during the preview
menu_count 0 || fail "a menu opened during the preview"
for ((i = 0; i < 30; i++)); do xdo $(at $((420 + 4 * i)) 420) sleep 0.01; done # right: the model follows
wait_for 100 eval '(($(mean_column $Selected) > before + 40))' ||
    fail "the model did not follow the mouse: mean column $before, then $(mean_column $Selected)"
printed " done 0o." 2 && fail "the preview ended before the click"
xdo click 1
wait_printed " done 0o." 2
choose 2 0 || fail "Move X again" # once more, left, and cancelled by Escape
for ((i = 0; i < 10; i++)); do xdo $(at $((300 - 4 * i)) 420); done
xdo key Escape
wait_printed " cancelled done 0o."
file_item 2 first.mrl
wait_printed " done 0o." 4
exit_editor
printed "Model Info" && fail "the key pressed while the menu was open ran"
[ "$(head -c 5 first.mrl | od -An -tu1 | tr -s ' ')" = " 4 31 20 50 9" ] || fail "first.mrl: the steps"
(($(stat -c %s first.mrl) >= 1537)) && (($(od -An -tu1 -j 260 -N 1 first.mrl) > 140)) ||
    fail "first.mrl: the move is not well to the right"

echo "refused loads, saves and exports keep the model and history and say why; load, save"
start_editor second
prompts=0
mkdir folder.mrl Mirljects.h && head -c 1000 /dev/zero >short.mrl
xdo $(at $TopX $TopY) click 1 # a pick, which must stay undoable
for name in missing.mrl folder.mrl short.mrl; do file_item 1 $name; done
file_item 2 nowhere/x.mrl
choose 8 4 || fail "Export"
wait_printed " Not loaded: " 3
for line in " Not loaded: missing.mrl: No such file or directory" " Not saved: nowhere/x.mrl: No such file or directory" \
    " Not exported: Mirljects.h: Is a directory"; do
    printed "$line" || fail "no line '$line'"
done
xdo $(at 20 20) key i u i # keyboard focus follows the pointer
wait_printed "Number of Picks: (1, max 256)"
wait_printed "Number of Picks: (0, max 256)"
rmdir Mirljects.h && choose 8 4 || fail "Export"
wait_for 50 grep -q "^mirlObj mrlj1 = {" Mirljects.h || fail "the second export is not mrlj1"
file_item 1 ../first/first.mrl
xdo $(at 20 20) key i
wait_printed "Number of Mirl Commands: (4, max 256)"
file_item 2 second.mrl
wait_for 50 cmp ../first/first.mrl second.mrl || fail "loaded and saved again, the file changed"

# On the loaded record (cube, Select None, the pick, Move X well to the
# right): what real events do through the list, checked in the saved files.
echo "the step list: l, a live edit of a step by a click and the mouse, Escape, Delete and undo"
row_y() { echo $((17 + 15 * $1)); } # the middle of row N (the list starts 10 pixels down)
save_as() { file_item 2 "$1" && wait_for 50 test -s "$1" || fail "$1 was not saved"; }
param3() { od -An -tu1 -j 260 -N 1 "$1" | tr -d ' '; } # step 3's byte (nothing before it is 0x0A)
xdo $(at 600 500)
[ "$(pixel 320 "$(row_y 0)")" != "$Plain" ] || fail "a list before l"
xdo key l
wait_for 50 eval '[ "$(pixel 320 "$(row_y 0)")" = "$Plain" ] && [ "$(pixel 320 "$(row_y 3)")" = "$Plain" ]' ||
    fail "l did not show four rows: $(pixel 320 "$(row_y 0)") / $(pixel 320 "$(row_y 3)")"
[ "$(pixel 320 "$(row_y 4)")" != "$Plain" ] || fail "a fifth row"
before=$(mean_column $Selected)
xdo $(at 300 "$(row_y 3)") click 1 # the move: its parameter follows the mouse, back to the left
wait_printed " step 3 trans1"
xdo click 3 sleep 0.3 # no menu during the edit
menu_count 0 || fail "a menu opened during the edit"
for ((i = 0; i < 30; i++)); do xdo $(at $((290 - 4 * i)) 300) sleep 0.01; done
wait_for 100 eval '(($(mean_column $Selected) < before - 30))' ||
    fail "the model did not follow the edit: mean column $before, then $(mean_column $Selected)"
printed " -> " && fail "the edit ended before the click"
xdo click 1
wait_printed " -> "
save_as b.mrl
(($(param3 b.mrl) < $(param3 second.mrl) - 10)) || fail "b.mrl: step 3 holds $(param3 b.mrl), before $(param3 second.mrl)"
cmp -s <(head -c 257 second.mrl) <(head -c 257 b.mrl) || fail "the edit changed other steps"
xdo $(at 100 "$(row_y 3)") click 1 # again, to the right, and Escape
wait_printed " step 3 trans1" 2
for ((i = 0; i < 20; i++)); do xdo $(at $((110 + 4 * i)) 300) sleep 0.01; done
xdo key Escape
wait_printed " cancelled done 0o."
save_as c.mrl
cmp -s b.mrl c.mrl || fail "Escape changed the record"
xdo $(at 100 "$(row_y 2)") click 1 sleep 0.2 key Delete # the pick
wait_printed " deleted step 2 select9"
wait_for 100 eval '(($(mean_column $Selected) == 0))' || fail "the deleted pick still shows"
save_as d.mrl
[ "$(head -c 4 d.mrl | od -An -tu1 | tr -s ' ')" = " 3 31 20 9" ] || fail "d.mrl: the steps"
xdo key u
wait_for 100 eval '(($(mean_column $Selected) > 0))' || fail "undo did not bring the pick back"
save_as e.mrl
cmp -s b.mrl e.mrl || fail "Delete and u did not give back the file"
failed=0
echo "passed"
