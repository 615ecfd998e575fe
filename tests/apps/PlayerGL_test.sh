#!/usr/bin/env bash
# The player as a whole program, started in a copy of the demo game folder:
#   no display at all: it says so and fails instead of running unseen;
#   SIGTERM and SIGINT: it ends through its quit routine, with status 0;
#   a window size out of range in game.ini: it says so and runs.
# Usage: PlayerGL_test.sh <player> <demo game folder>
set -u
. "$(dirname "$0")/PlayerWindow.sh"
player_test "$@"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A fresh copy of the demo game; prints its folder.
fresh_game() {
    local game="$work/game$1"
    cp -r "$demo" "$game"
    echo "$game"
}

# Starts the player in folder $1, sends signal $2 once it runs and checks that
# it ends by itself with status 0 within ten seconds. Its standard error goes
# to $1/stderr.
stop_with() {
    local game=$1 signal=$2
    (cd "$game" && exec "$player" 2>"$game/stderr") &
    local pid=$!
    # The signal goes once the window is there: the player runs its frames.
    [ -n "$(wait_for_player_window "$pid" "Demo Quest")" ] ||
        { fail "$signal: no window: $(cat "$game/stderr")"; kill -KILL "$pid" 2>/dev/null; return; }
    kill "-$signal" "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        fail "$signal: the player did not end"
    fi
    wait "$pid"
    local status=$?
    [ "$status" = 0 ] || fail "$signal: exit status $status: $(tail -n 20 "$game/stderr")"
}

# No display.
game=$(fresh_game 1)
(cd "$game" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$player") \
    >/dev/null 2>"$work/nodisplay"
status=$?
[ "$status" != 0 ] && [ "$status" != 124 ] || fail "no display: exit status $status"
grep -q "Cannot start the display" "$work/nodisplay" || fail "no display: nothing said"

# The rest runs on an X server of the test's own.
own_x_server

# Stop signals.
stop_with "$(fresh_game 2)" TERM
stop_with "$(fresh_game 3)" INT

# A window far too wide and one pixel high.
game=$(fresh_game 4)
sed -i -e 's/^Width=.*/Width=100000\r/' -e 's/^Height=.*/Height=1\r/' "$game/game.ini"
stop_with "$game" TERM
grep -q "Width" "$game/stderr" || fail "window size: nothing said about the width"
grep -q "Height" "$game/stderr" || fail "window size: nothing said about the height"

[ "$failures" = 0 ] && echo "all passed"
exit "$failures"
