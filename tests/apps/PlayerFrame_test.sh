#!/usr/bin/env bash
# The player's window as the X server shows it, read back from the server:
# started in a copy of the demo game folder, the player opens a window with
# the game's title, its menu bar above a client area of game.ini's size
# (640 × 480), and shows its frames there: the demo's three-second developer
# video first, then the title clip, which draws nothing (black); SIGTERM then
# ends it with status 0.
# Usage: PlayerFrame_test.sh <player> <demo game folder>
set -u
. "$(dirname "$0")/PlayerWindow.sh"
player_test "$@"

cp -r "$demo" "$work/game"
(cd "$work/game" && exec "$player" 2>"$work/stderr") &
pid=$!

# The window of the game's title, once mapped: "<id> <width>x<height>".
window=$(wait_for_player_window "$pid" "Demo Quest")
kill -0 "$pid" 2>/dev/null || fail "the player ended: $(cat "$work/stderr")"
[ -n "$window" ] || fail "no window titled Demo Quest"
id=${window% *}
size=${window#* }
size=${size%%+*}
width=${size%x*}
height=${size#*x}
strip=$((height - 480))
[ "$width" = 640 ] && [ "$strip" -gt 0 ] && [ "$strip" -lt 60 ] ||
    fail "window size $size, not 640 x 480 below a menu bar"

# The brightest value of the client area, read back from the server.
client_brightest() {
    import -window "$id" "$work/frame.ppm" || fail "the window cannot be read back"
    read -r width height < <(identify -format "%w %h\n" "$work/frame.ppm")
    [ "$width" = 640 ] && [ "$height" = $((480 + strip)) ] || fail "frame read back is ${width}x$height"
    menu=$(convert "$work/frame.ppm" -crop "640x$strip+0+0" -format "%[max]" info:)
    [ "$menu" != 0 ] || fail "no menu bar drawn above the frame"
    convert "$work/frame.ppm" -crop "640x480+0+$strip" -format "%[max]" info:
}

sleep 1  # frames run meanwhile
[ "$(client_brightest)" != 0 ] || fail "the developer video does not show"
sleep 4
brightest=$(client_brightest)
[ "$brightest" = 0 ] || fail "the title frame is not black (brightest value $brightest)"

stop_player
echo "all passed"
