#!/usr/bin/env bash
# The player's window as the X server shows it, read back from the server:
# started in a copy of the demo game folder, the player opens a window with
# the game's title, its menu bar above a client area of game.ini's size
# (640 × 480), and shows its frames there: the demo's three-second developer
# video first, then the title card (the game's name and the key that starts
# it, on a dark blue ground); SIGTERM then ends it with status 0. The frames
# are watched for up to half a minute each, so that a loaded machine only
# makes the test slower.
# Usage: PlayerFrame_test.sh <player> <demo game folder>
set -u
. "$(dirname "$0")/PlayerWindow.sh"
player_test "$@"
own_x_server

cp -r "$demo" "$work/game"
(cd "$work/game" && exec "$player" 2>"$work/stderr") &
pid=$!

# The window of the game's title: "<id> <width>x<height>". It appears at its
# designed small size and takes game.ini's once the game starts (a loaded
# machine may take seconds for that).
window=$(wait_for_player_window "$pid" "Demo Quest")
kill -0 "$pid" 2>/dev/null || fail "the player ended: $(cat "$work/stderr")"
[ -n "$window" ] || fail "no window titled Demo Quest"
id=${window% *}
for _ in $(seq 300); do
    size=${window#* }
    size=${size%%+*}
    width=${size%x*}
    height=${size#*x}
    strip=$((height - 480))
    [ "$width" = 640 ] && [ "$strip" -gt 0 ] && [ "$strip" -lt 60 ] && break
    sleep 0.1
    window=$(player_window "$pid" "Demo Quest")
done
[ "$width" = 640 ] && [ "$strip" -gt 0 ] && [ "$strip" -lt 60 ] ||
    fail "window size $size, not 640 x 480 below a menu bar"

# The client area read back from the server into $work/client.ppm; the menu
# bar's strip above it must hold a drawn bar.
read_client() {
    import -window "$id" "$work/frame.ppm" || fail "the window cannot be read back"
    read -r width height < <(identify -format "%w %h\n" "$work/frame.ppm")
    [ "$width" = 640 ] && [ "$height" = $((480 + strip)) ] || fail "frame read back is ${width}x$height"
    menu=$(convert "$work/frame.ppm" -crop "640x$strip+0+0" -format "%[max]" info:)
    [ "$menu" != 0 ] || fail "no menu bar drawn above the frame"
    convert "$work/frame.ppm" -crop "640x480+0+$strip" +repage "$work/client.ppm"
}

# The developer video: anything but black.
video_shown() {
    read_client
    [ "$(convert "$work/client.ppm" -format "%[max]" info:)" != 0 ]
}

# The title card: its ground in the top left corner (the card's colour
# (16, 20, 64) give or take what the video's encoding changes) and bright text.
title_card_shown() {
    read_client
    local corner
    corner=$(convert "$work/client.ppm" -crop 32x32+4+4 -scale 1x1\! -depth 8 \
        -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:)
    read -r r g b <<<"$corner"
    [ $((r < 32 && g < 36 && b > 48 && b < 80)) = 1 ] &&
        [ "$(convert "$work/client.ppm" -format "%[fx:maxima.r > 0.7]" info:)" = 1 ]
}

# Polls `$@` every 0.2 s for up to 30 s.
within_30s() {
    for _ in $(seq 150); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || fail "the player ended: $(cat "$work/stderr")"
        sleep 0.2
    done
    return 1
}

within_30s video_shown || fail "the developer video does not show"
within_30s title_card_shown || fail "no title card after the developer video"

stop_player
echo "all passed"
