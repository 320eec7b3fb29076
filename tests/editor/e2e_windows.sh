#!/bin/bash
# mirl.exe, the editor built for Windows, driven like a user under wine64 on
# the private X server that xvfb-run gives: real pointer and key events, the
# system's file dialog and message box, the screen read back by pixel. Then
# one scripted session played on the Linux editor and on mirl.exe must leave
# the same object file, and export headers that differ only in line ends.
# usage: xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
#            e2e_windows.sh SOURCE WINBUILD LINUX_EDITOR LINUX_TOOL
# WINBUILD is the Windows build folder (scripts/windows.sh), kept between
# runs with wine's folder. Exit status 77 (skipped) without wine64, MinGW-w64
# or freeglut's source.
set -u
src=$(realpath "$1") winbuild=$2 linux_editor=$(realpath "$3") linux_tool=$(realpath "$4")
for need in /usr/lib/wine/wine64 x86_64-w64-mingw32-g++-posix; do
    command -v $need >/dev/null || { echo "skipped: no $need (scripts/install-deps.sh installs it)"; exit 77; }
done

MIRL_PLAYER_SIZES=$(dirname "$linux_editor")/player_sizes.h "$src/scripts/windows.sh" "$winbuild" x86_64 mirl mirl-tool
case $? in 0) ;; 77) exit 77 ;; *) echo "FAILED: the Windows build"; exit 1 ;; esac
winbuild=$(realpath "$winbuild") winedir=$winbuild/wine wincheck=$winbuild/wincheck.exe
x86_64-w64-mingw32-gcc -Wall -Wextra -Werror -O2 -static "$src/tests/editor/wincheck.c" -o "$wincheck" ||
    { echo "FAILED: wincheck.exe"; exit 1; }

editor=$linux_editor
. "$src/tests/editor/xdrive.sh"
Selected='230 89 64' Plain='64 64 128' TopX=400 TopY=240 # the starting cube's top face

# The byte meter's box, exactly as drawn.
meter() { import -window root -crop 250x80+$((WinX + WinW - 250))+$WinY -depth 8 rgb:- 2>/dev/null; }

# A parametric command committed after one step: the pointer, left where the
# menu closed, moves down only. Wherever an event at that point comes from
# (the system after the menu closes, or this move), it is one step right of
# where the menu opened, and moving down adds none.
one_step() { # SUBMENU ITEM
    choose "$1" "$2" || fail "menu $1 item $2"
    xdo mousemove_relative 0 6 sleep 0.3 mousemove_relative 0 6 sleep 0.3 click 1
}
# The same steps on both systems: a pick, select similar along Z (opcode 26,
# 0x1A), the selection's and the object's Move Y (13 and 10, next to each
# other: 0x0D 0x0A), extrude and inset: ten steps (0x0A). Saved, exported
# twice, exit. SAVE saves the record as same.mrl.
session() {
    wait_for 100 pixel_near $TopX $TopY $Selected || fail "the first frame: top face $(pixel $TopX $TopY)"
    meter >meter.rgb
    choose 0 1 || fail "Select None"
    wait_for 100 pixel_near $TopX $TopY $Plain || fail "Select None did not show"
    xdo $(at $TopX $TopY) click 1
    wait_for 100 pixel_near $TopX $TopY $Selected || fail "the pick did not show"
    choose 0 7 || fail "Select Similar Z"
    wait_printed " done 0o." 2
    one_step 5 2
    wait_printed " done 0o." 3
    one_step 2 1
    wait_printed " done 0o." 4
    choose 4 1 || fail "Extrude Normal"
    choose 4 0 || fail "Inset Faces"
    wait_printed " done 0o." 6
    $1
    wait_printed " done 0o." 7
    choose 8 4 && choose 8 4 || fail "Export as C"
    wait_printed " done 0o." 9
    exit_editor
}

echo "the session on the Linux editor"
save_console() { choose 8 2 || fail "Save"; wait_printed "file name"; say same.mrl; }
start_editor linux
session save_console
linux=$here

echo "mirl.exe: the window, a pick, the keys, the meter, the occlusion shading"
editor=$winbuild/editor/mirl.exe
. "$src/tests/editor/wine.sh"
wine_setup
start_editor keys system
[ "$(windows | grep -c -F 'Mirl 1.0.2')" = 1 ] || fail "the window's title: $(windows)"
wait_for 100 pixel_near $TopX $TopY $Selected || fail "the first frame: top face $(pixel $TopX $TopY)"
[ "$(pixel $((WinW - 6)) 6)" = "$Plain" ] || fail "the meter's backing: $(pixel $((WinW - 6)) 6)"
xdo $(at $TopX $TopY) click 1 sleep 0.2 key i
wait_printed "Number of Picks: (1, max 256)"
wait_for 100 pixel_near $TopX $TopY $Plain || fail "the pick did not show"
xdo key u sleep 0.2 key i
wait_printed "Number of Picks: (0, max 256)"
wait_for 100 pixel_near $TopX $TopY $Selected || fail "the undo did not show"
xdo key r sleep 0.2 key i
wait_printed "Number of Picks: (1, max 256)" 2
choose 10 3 || fail "AAO (Aprox AO)" # the occlusion shading, on threads of its own
wait_printed " done 0o." 6
alive
# The editor's window takes no clicks while the file dialog is open: a pick
# then would enter the record being saved.
choose 8 2 || fail "Save"
wait_for 100 window_with Open || fail "no file dialog"
xdo $(at $TopX $TopY) click 1 sleep 0.5
file_dialog keys.mrl
xdo $(at 20 20) sleep 0.2 key i
wait_printed "Number of Picks: (1, max 256)" 3
printed "Number of Picks: (2, max 256)" && fail "a click went to the editor while the dialog was open"
[ "$(head -c 1 keys.mrl | od -An -tu1 | tr -d ' ')" = 2 ] || fail "keys.mrl: $(head -c 1 keys.mrl | od -An -tu1) steps"
stop_editor

echo "mirl.exe: a menu, a live preview, a cancel, save in the system's dialog, exit"
start_editor first system
xdo $(at 300 300) click 3
wait_for 50 menu_count 1 || fail "no menu"
read -r x _ _ h <<<"$(menus)"
[ "$x $h" = "$((WinX + 300)) $((2 + 12 * MenuRow + 2))" ] || fail "the menu: at $x, $h high (twelve titles)"
close_menus || fail "the menu stayed open"
choose 0 1 || fail "Select None"
wait_for 100 pixel_near $TopX $TopY $Plain || fail "Select None did not show"
xdo $(at $TopX $TopY) click 1
wait_for 100 pixel_near $TopX $TopY $Selected || fail "the pick did not show"
before=$(mean_column $Selected)
choose 2 0 || fail "Move X"
wait_printed " .o0 Working ..." 2
for ((i = 0; i < 30; i++)); do xdo $(at $((420 + 4 * i)) 420) sleep 0.02; done
wait_for 100 eval '(($(mean_column $Selected) > before + 40))' ||
    fail "the model did not follow the mouse: mean column $before, then $(mean_column $Selected)"
printed " done 0o." 2 && fail "the preview ended before the click"
xdo click 1
wait_printed " done 0o." 2
choose 2 0 || fail "Move X again"
for ((i = 0; i < 10; i++)); do xdo $(at $((300 - 4 * i)) 420) sleep 0.02; done
xdo key Escape
wait_printed " cancelled done 0o."
choose 8 2 || fail "Save"
wait_for 100 window_with Open || fail "no file dialog"
[ "$(owner_of Open)" = "-" ] || fail "the Save dialog has an owner: $(owner_of Open)"
controls Open | grep -q -P '^ComboBox\t1136\t.*\tmirl objects$' || fail "the filter: $(controls Open)"
controls Open | grep -q -P '^ComboBox\t1137\t.*\tfirst$' || fail "not in the current folder: $(controls Open)"
file_dialog first.mrl
wait_printed " done 0o." 4
# Saved into another folder that the dialog goes into, under a name
# without an ending, which stays as typed; the export still goes to the
# folder the editor started in.
mkdir kept
choose 8 2 || fail "Save into kept"
wait_for 100 window_with Open || fail "no file dialog"
click_control Open Edit
xdo type kept
xdo key Return
wait_for 50 eval "controls Open | grep -q -P '^ComboBox\t1137\t.*\tkept$'" || fail "the dialog did not go into kept"
xdo type first
xdo key Return
wait_for 100 eval '! window_with Open' || fail "the file dialog stayed open"
choose 8 4 || fail "Export"
wait_printed " done 0o." 6
cmp first.mrl kept/first || fail "kept/first: $(ls kept)"
[ -f Mirljects.h ] && [ ! -e kept/Mirljects.h ] || fail "the export followed the dialog into kept"
exit_editor
[ "$(head -c 5 first.mrl | od -An -tu1 | tr -s ' ')" = " 4 31 20 50 9" ] || fail "first.mrl: the steps"
(($(od -An -tu1 -j 260 -N 1 first.mrl) > 140)) || fail "first.mrl: the move is not well to the right"

echo "mirl.exe: load in a fresh run; Escape and a missing file change nothing"
start_editor second system
cp ../first/first.mrl loadme.mrl
choose 8 1 || fail "Load"
wait_for 100 window_with Open || fail "no file dialog"
owner=$(owner_of Open)
[ "$owner" != "-" ] || fail "the Load dialog has no owner"
echo "(the Load dialog's owner, the first top-level window: \"$owner\")"
file_dialog loadme.mrl
xdo $(at 20 20) sleep 0.2 key i # the editor's window has the keys again
wait_printed "Number of Mirl Commands: (4, max 256)"
choose 0 0 || fail "Select All"
state="Number of Modelling commands: (1)"
xdo $(at 20 20) click 1 sleep 0.2 key i # the click makes the window active again
wait_printed "$state"
choose 8 1 || fail "Load"
file_dialog ''
wait_printed " done 0o." 5
choose 8 1 || fail "Load"
file_dialog missing.mrl
box="Unable to read from file"
wait_for 100 window_with "$box" || fail "no message box: $(windows)"
[ "$(owner_of "$box")" = "-" ] || fail "the message box has an owner"
controls "$box" | grep -q -P '^Static\t65535\t.*\tFATAL ERROR$' || fail "the message box's text: $(controls "$box")"
[ "$(controls "$box" | grep -c '^Button')" = 1 ] && controls "$box" | grep -q -P '^Button\t1\t.*\tOK$' ||
    fail "the message box's buttons: $(controls "$box")"
click_control "$box" Button 1
wait_for 100 eval '! window_with "$box"' || fail "the message box stayed open"
wait_printed " Not loaded: "
printed "missing.mrl: No such file or directory" || fail "the console does not say why"
xdo $(at 20 20) click 1 sleep 0.2 key i # the click makes the window active again
wait_printed "$state" 2
wait_printed "Number of Mirl Commands: (5, max 256)" 2
xdo key u sleep 0.2 key i # the history still holds Select All
wait_printed "Number of Mirl Commands: (4, max 256)" 2
stop_editor

echo "mirl.exe with MIRL_CONSOLE_DIALOGS=1: names from the console, notices to standard error"
start_editor console
choose 8 2 || fail "Save"
wait_printed "file name"
say console.mrl
wait_printed " done 0o."
wait_for 50 test -s console.mrl || fail "console.mrl was not saved"
choose 8 1 || fail "Load"
wait_printed "file name" 2
say missing.mrl
wait_printed " Not loaded: "
grep -q -F "mirl: FATAL ERROR: Unable to read from file" err.txt || fail "no notice on standard error"
window_with "Unable to read from file" && fail "a message box despite MIRL_CONSOLE_DIALOGS"
stop_editor

echo "the session on mirl.exe: the same object file, headers that differ only in line ends"
save_dialog() { choose 8 2 || fail "Save"; file_dialog same.mrl; }
start_editor same system
session save_dialog
cmp -s meter.rgb "$linux/meter.rgb" || fail "the byte meter differs from the Linux editor's"
cmp "$linux/same.mrl" same.mrl || fail "the object files differ"
# The image's count 0x0A and its opcodes 13, 10 as written: 0x0D 0x0A and 0x0D 0x0D 0x0A.
[ "$(head -c 13 same.mrl | od -An -tu1 | tr -s ' ')" = " 13 10 31 20 50 26 13 13 10 29 15 29 8" ] ||
    fail "same.mrl: $(head -c 13 same.mrl | od -An -tu1)"
grep -q $'\r' "$linux/Mirljects.h" && fail "the Linux editor's Mirljects.h holds a CR"
lines=$(wc -l <Mirljects.h)
[ "$(grep -c $'\r$' Mirljects.h)" = "$lines" ] && [ "$(tr -cd '\r' <Mirljects.h | wc -c)" = "$lines" ] ||
    fail "mirl.exe's Mirljects.h: not every line ends in CR LF, or a CR stands elsewhere"
tr -d '\r' <Mirljects.h | cmp - "$linux/Mirljects.h" || fail "the headers differ in more than line ends"
grep -c '^mirlObj mrlj[01] = {' "$linux/Mirljects.h" | grep -qx 2 || fail "the header does not hold two objects"
"$linux_tool" info "$linux/same.mrl" >"$work/info.linux" || fail "mirl-tool info"
"$Wine" "$winbuild/tools/mirl-tool.exe" info same.mrl </dev/null 2>&1 | tr -d '\r' >"$work/info.windows"
cmp "$work/info.linux" "$work/info.windows" || fail "mirl-tool info differs: $(diff "$work/info.linux" "$work/info.windows")"
grep -qx 'steps: 10' "$work/info.linux" || fail "mirl-tool info: $(cat "$work/info.linux")"
failed=0
echo "passed"
