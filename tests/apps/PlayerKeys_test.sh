#!/usr/bin/env bash
# Keys of a French keyboard typed into the player: é and ç, pressed and
# released on the X server's keyboard, reach the player as text, and it goes on
# running (under the sanitizers too, see tests/sanitizer/asan.supp); SIGTERM
# then ends it with status 0. Runs on an X server of its own, which takes a
# free display by itself: the keyboard layout is the server's.
# Usage: PlayerKeys_test.sh <player> <demo game folder>
set -u
. "$(dirname "$0")/PlayerWindow.sh"
player_test "$@"
own_x_server

# What the player said, but for the sound library's and SDL's event lines.
said() {
    grep -v -e ALSA -e "SDL EVENT" "$work/stderr" | head -20
}

setxkbmap fr || fail "no French keyboard layout"
cp -r "$demo" "$work/game"
# SDL logs the text events it hands on.
(cd "$work/game" && SDL_EVENT_LOGGING=1 exec "$player" 2>"$work/stderr") &
pid=$!
window=$(wait_for_player_window "$pid" "Demo Quest")
[ -n "$window" ] || fail "no window: $(said)"
id=${window% *}
xdotool windowfocus --sync "$id" || fail "the window takes no focus"
# Both texts logged by SDL. A loaded machine is slow to take the window's
# focus and to read the events: the keys are typed again until both came.
arrived() {
    grep -q "SDL_TEXTINPUT.*text='ç'" "$work/stderr" &&
        grep -q "SDL_TEXTINPUT.*text='é'" "$work/stderr"
}
for _ in $(seq 20); do
    xdotool key --delay 50 ccedilla eacute
    for _ in $(seq 15); do
        arrived && break 2
        sleep 0.2
    done
done
kill -0 "$pid" 2>/dev/null || fail "the player ended: $(said)"
for text in ç é; do
    grep -q "SDL_TEXTINPUT.*text='$text'" "$work/stderr" || fail "$text did not reach the player"
done

stop_player "$(said)"
echo "all passed"
