# What differs when the editor under test is mirl.exe under wine64, all in
# one place: sourced after xdrive.sh, it redefines what must change.
# Uses: $winedir (wine's folder, kept between runs), $wincheck (wincheck.exe).
#
# - Wine runs a virtual desktop of the whole screen, which does the window
#   manager's part as Windows would: with no X window manager wine loses
#   clicks on freeglut's menus. X tools then see one window, so what is on
#   the desktop comes from wincheck.exe.
# - The window's client area is where Windows puts it, inside a frame.
# - Menus use the Windows font: rows of 16 pixels. A menu's window shows
#   before it is moved into place.
# - The console's lines end in CR LF (grep -F still finds them).
Wine=/usr/lib/wine/wine64
. "$src/tests/lib/wine_folder.sh"
MenuRow=16
Title='  Mirl 1.0.2   by Orne|Wexal'

# The shared folder, with wine's virtual desktop.
wine_setup() {
    wine_folder "$winedir"
    "$Wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 &&
        "$Wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f </dev/null >/dev/null 2>&1 ||
        fail "wine's virtual desktop could not be set up"
    # A desktop started before the keys were there (a new folder's first
    # start) is not the virtual one: start the server and its desktop anew.
    /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1 || true
}

# Output through a file: a wine process that lives on (the desktop) must not
# hold a pipe of ours open.
wincheck() {
    "$Wine" "$wincheck" "$@" </dev/null >"$work/wincheck.txt" 2>/dev/null || return 1
    tr -d '\r' <"$work/wincheck.txt"
}
# Visible top-level windows: "X Y W H CX CY<TAB>OWNER<TAB>TITLE".
windows() { wincheck list; }
window_with() { windows | awk -F'\t' -v t="$1" '$3 == t { found = 1 } END { exit !found }'; }
# The owner's title of the window TITLE ("-" for none).
owner_of() { windows | awk -F'\t' -v t="$1" '$3 == t { print $2; exit }'; }
# The controls of window TITLE: "CLASS<TAB>ID<TAB>X Y W H<TAB>TEXT".
controls() { wincheck texts "$1"; }
menu_windows() { windows | awk -F'\t' '$3 == "freeglut menu" { split($1, r, " "); print r[1], r[2], r[3], r[4] }'; }
# freeglut shows a menu's window before it moves it into place: where the
# menus are once two readings agree; how many at once.
menus() {
    local before now i
    now=$(menu_windows)
    for ((i = 0; i < 20; i++)); do
        sleep 0.05
        before=$now now=$(menu_windows)
        [ "$before" = "$now" ] && break
    done
    [ -n "$now" ] && printf '%s\n' "$now"
}
menu_count() { [ "$(menu_windows | grep -c .)" -eq "$1" ]; }

# mirl.exe under wine; once its window shows, where its client area is.
launch() { exec "$Wine" "$editor"; }
editor_shown() {
    window_with "$Title" || return 1
    read -r WinX WinY <<<"$(windows | awk -F'\t' -v t="$Title" '$3 == t { split($1, r, " "); print r[5], r[6] }')"
}

# Clicks the middle of control CLASS (with ID, if given) of window TITLE: a
# click, unlike a key, reaches a window whether or not it has the focus yet.
click_control() { # TITLE CLASS [ID]
    local x y w h
    read -r x y w h <<<"$(controls "$1" | awk -F'\t' -v c="$2" -v i="${3:-}" '$1 == c && (i == "" || $2 == i) { print $3; exit }')"
    [ -n "$h" ] || fail "no $2 ${3:-} in the window '$1': $(controls "$1")"
    xdo mousemove $((x + w / 2)) $((y + h / 2)) sleep 0.2 click 1 sleep 0.2
}

# The system's file dialog ("Open"): types NAME into its name field and
# presses Return, or presses Escape there without a NAME.
file_dialog() {
    wait_for 100 window_with Open || fail "no file dialog"
    click_control Open Edit
    if [ -z "${1:-}" ]; then
        xdo key Escape
    else
        xdo type "$1"
        xdo key Return
    fi
    wait_for 100 eval '! window_with Open' || fail "the file dialog stayed open"
}
