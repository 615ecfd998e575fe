#!/usr/bin/env bash
# The dialogs and the save and load flow of the player, driven from outside as
# a person drives them (key and text events put into the X server with
# xdotool) and read back from the server, in a copy of the demo game folder:
#   the options dialog opened with Ctrl+O, the Ctrl held until the dialog is
#   up, draws on the title screen the picture it draws in play, and the Ctrl
#   of the shortcut binds nothing (F4 writes the bindings as they were);
#   a slot name typed fast and ended with Enter, without a click in the field,
#   is saved whole, and the next save's field starts empty;
#   the load dialog draws its second opening as its first;
#   a slot loaded from the title screen of a new run, chosen with the keys,
#   shows the frame that the same load showed in the run that saved it.
# Usage: PlayerDialogs_test.sh <player> <demo game folder>
set -u
. "$(dirname "$0")/PlayerWindow.sh"
player_test "$@"
own_x_server
game="$work/game"
cp -r "$demo" "$game"

# Polls `$@` every 0.1 s for up to 30 s (a loaded machine is slow), or for
# up to $within tenths of a second; false when it never held.
within=300
wait_until() {
    for _ in $(seq "$within"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

step() {
    echo "$(date +%T) $*"
}

# The id of the player's window titled $1 while it is shown, or nothing.
window_id() {
    local window
    window=$(player_window "$pid" "$1")
    window=${window%% *}
    [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q "IsViewable" && echo "$window"
}
shown() { [ -n "$(window_id "$1")" ]; }
gone() { [ -z "$(window_id "$1")" ]; }

start_player() {
    (cd "$game" && exec "$player" 2>>"$work/stderr") &
    pid=$!
    main=$(wait_for_player_window "$pid" "Demo Quest")
    main=${main%% *}
    [ -n "$main" ] || fail "no window: $(cat "$work/stderr")"
    xdotool mousemove 0 0  # the pointer hovers over no control
}

focus_main() {
    xdotool windowfocus "$main"
    sleep 0.2
}

# Window $1 read back into $work/$2.ppm.
read_back() {
    [ -n "$1" ] || fail "no window to read back into $2"
    timeout 20 import -window "$1" "$work/$2.ppm" || fail "window $2 cannot be read back"
}

# Dialog window $1 read back into $work/$2.ppm once it is drawn and two
# read-backs a quarter of a second apart agree (a loaded machine may show a
# dialog a few frames late).
read_back_dialog() {
    local _
    for _ in $(seq 60); do
        read_back "$1" "$2"
        if drawn "$2" && [ -f "$work/$2.last.ppm" ] && same_picture "$2" "$2.last"; then
            return 0
        fi
        mv "$work/$2.ppm" "$work/$2.last.ppm"
        sleep 0.25
    done
    return 1
}

# Whether picture $1 (a dialog) is drawn: a third of it or more is the
# dialog's face or white, never a black box.
drawn() {
    local light
    light=$(convert "$work/$1.ppm" -fill black +opaque "rgb(240,240,240)" -fill black \
        -opaque black -fill white -opaque "rgb(240,240,240)" -format "%[fx:mean]" info:)
    light=$(echo "$light" | awk '{print ($1 >= 0.33)}')
    white=$(convert "$work/$1.ppm" -threshold 99% -format "%[fx:mean]" info: | awk '{print $1}')
    awk -v a="$light" -v b="$white" 'BEGIN {exit !(a == 1 || b >= 0.33)}'
}

# The share of pixels of pictures $1 and $2 that differ by more than 10%.
difference() {
    compare -metric AE -fuzz 10% "$work/$1.ppm" "$work/$2.ppm" null: 2>&1 |
        awk -v n="$(identify -format "%[fx:w*h]" "$work/$1.ppm")" '{print $1 / n}'
}

same_picture() {
    [ "$(compare -metric AE "$work/$1.ppm" "$work/$2.ppm" null: 2>&1)" = 0 ]
}

# Opens the options dialog with Ctrl+O, the Ctrl let go only once it is up,
# and reads it back into $work/$1.ppm; the dialog is then put away.
options_dialog() {
    focus_main
    xdotool keydown ctrl key o
    wait_until shown Options || { xdotool keyup ctrl; fail "Ctrl+O opened no options dialog"; }
    sleep 0.5
    xdotool keyup ctrl
    sleep 0.5
    local id
    id=$(window_id Options)
    read_back_dialog "$id" "$1" || fail "the options dialog is not drawn ($1)"
    xdotool windowunmap "$id"
    wait_until gone Options || fail "the options dialog stays"
}

# The save dialog's window, opened by F2 in play.
save_dialog() {
    focus_main
    xdotool key F2
    wait_until shown "Sauver la partie"
}

# Types slot name $1 fast, ends it with Enter and waits for the slot.
save_as() {
    save_dialog || fail "F2 opened no save dialog"
    xdotool type --delay 0 "$1"
    xdotool key Return
    wait_until test -f "$game/SAVEGAME/$1/savegame.bin" ||
        fail "no slot $1 saved: $(ls "$game/SAVEGAME")"
    wait_until gone "Sauver la partie" || fail "the save dialog stays"
}

# Loads slot $1 (the first listed) through the load dialog, read back into
# $work/$2.ppm, and waits for the frame after the load. The slot is clicked,
# or with $3 "keys" chosen with the keyboard alone (End, then Home).
load_first_slot() {
    focus_main
    xdotool key F3
    wait_until shown "Charger une partie" || fail "F3 opened no load dialog"
    read_back_dialog "$(window_id "Charger une partie")" "$2" || fail "the load dialog is not drawn"
    local list
    list=$(window_id "Charger une partie")
    if [ "${3:-}" = keys ]; then
        xdotool windowfocus "$list"
        sleep 0.3
        xdotool key End Home
    else
        xdotool mousemove --window "$list" 60 9 click 1
    fi
    sleep 0.3
    xdotool key Return
    wait_until gone "Charger une partie" || fail "the load dialog stays"
    xdotool mousemove 0 0
    sleep 1
}

# ---- First run: options on the title screen and in play, saves, a load ----
step "options on the title screen"
start_player
sleep 1
options_dialog options_title
focus_main
xdotool key F4
wait_until grep -q "^KeyMoveUp=38" "$game/game.ini" ||
    fail "the Ctrl of Ctrl+O was bound: $(grep KeyMoveUp "$game/game.ini")"

# A new game: the title takes a button once its clip runs; F2 saves only in play.
step "a new game"
for _ in $(seq 60); do
    focus_main
    xdotool key space
    sleep 0.5
    within=30 save_dialog && break
done
shown "Sauver la partie" || fail "no game started"
xdotool key Escape
wait_until gone "Sauver la partie" || fail "Esc does not close the save dialog"
sleep 6  # the opening cut-scene and its message end
step "options in play"
options_dialog options_play
same_picture options_title options_play || fail "the options dialog draws otherwise in play"

step "two saves"
save_as alpha1
save_as bravo2
step "two loads"
load_first_slot alpha1 load_first
read_back "$main" frame_saved
load_first_slot alpha1 load_second
same_picture load_first load_second || fail "the load dialog draws otherwise at its second opening"
stop_player

# ---- Second run: the load straight from the title screen ----
step "a load from the title screen"
start_player
sleep 5
load_first_slot alpha1 load_title keys
# A loaded machine may show it late: read back until it shows (or 30 s).
near_saved() {
    read_back "$main" frame_loaded
    share=$(difference frame_saved frame_loaded)
    awk -v s="$share" 'BEGIN {exit !(s < 0.1)}'
}
wait_until near_saved ||
    fail "the frame after a load from the title screen differs ($share of its pixels)"
stop_player
echo "all passed"
