#!/usr/bin/env bash
# Frames per second of the two whole players, PlayerGL and PlayerD3D, in play
# on the demo game at one window size: each starts in a fresh copy of the demo
# folder whose game.ini asks for that size, a new game is started from the
# title screen, and the hero turns in place (the look-left key held) while the
# frames shown in the window are counted from outside the program, by the X
# server's damage reports (FrameCounter). The two programs run in turn,
# several rounds, on an X server of the script's own; it prints each
# program's figures, their medians and the ratio of the medians.
# Usage: CompareBackends_bench.sh [WIDTHxHEIGHT] [build folder] [rounds] [seconds]
#   defaults: 640x480, build, 5 rounds, 10 seconds counted per run.
# The build folder holds PlayerGL, PlayerD3D, demo/ and bench/FrameCounter.
set -eu
size=${1:-640x480}
build=$(cd "${2:-build}" && pwd)
rounds=${3:-5}
seconds=${4:-10}
width=${size%x*}
height=${size#*x}
case "$width$height" in *[!0-9]* | "") echo "size $size is not WIDTHxHEIGHT" >&2; exit 2 ;; esac
here=$(cd "$(dirname "$0")" && pwd)

# On an X server of its own, a little larger than the window with its menu bar.
if [ -z "${COMPARE_BACKENDS_SERVER:-}" ]; then
    export COMPARE_BACKENDS_SERVER=1
    exec xvfb-run -a -s "-screen 0 $((width + 64))x$((height + 128))x24" "$0" "$size" "$build" \
        "$rounds" "$seconds"
fi
. "$here/../../apps/PlayerWindow.sh"
counter=$build/bench/FrameCounter
for f in "$build/PlayerGL" "$build/PlayerD3D" "$counter" "$build/demo/game.ini"; do
    [ -e "$f" ] || { echo "missing $f (build the players and FrameCounter)" >&2; exit 1; }
done
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# The brightest value of the client area of window $1 (below its menu bar).
brightest() {
    import -window "$1" "$work/frame.ppm" 2>/dev/null || { echo 0; return; }
    convert "$work/frame.ppm" -gravity south -crop "${width}x$height+0+0" -format "%[max]" info:
}

# Frames per second of player $1 in play, turning in place; "-" when it could
# not be measured (the reason goes to standard error).
play_fps() {
    local player=$1 game="$work/game" window id fps=-
    rm -rf "$game"
    cp -r "$build/demo" "$game"
    sed -i -e "s/^Width=.*/Width=$width/" -e "s/^Height=.*/Height=$height/" \
        -e "s/^Top=.*/Top=0/" -e "s/^Left=.*/Left=0/" "$game/game.ini"
    (cd "$game" && exec "$player" 2>"$work/stderr") &
    pid=$!
    window=$(wait_for_player_window "$pid" "Demo Quest")
    if [ -z "$window" ]; then
        echo "$(basename "$player"): no window: $(cat "$work/stderr")" >&2
    else
        id=${window% *}
        # The developer video, then the black title screen, where any button
        # starts a new game; a button also skips the game's opening
        # cut-scene. In play once three looks in a row, a button pressed
        # before each, find the window drawn, and still so after the count.
        local drawn=0
        "$counter" "$id" wait 4
        for _ in $(seq 40); do
            "$counter" "$id" tap Shift_L wait 0.5
            if [ "$(brightest "$id")" = 0 ]; then drawn=0; else drawn=$((drawn + 1)); fi
            [ "$drawn" = 3 ] && break
        done
        if [ "$drawn" = 3 ]; then
            fps=$("$counter" "$id" hold Left wait 2 count "$seconds" release Left)
            [ "$(brightest "$id")" != 0 ] || fps=-
        fi
        [ "$fps" != - ] || echo "$(basename "$player"): no game in play" >&2
    fi
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    echo "$fps"
}

median() { printf '%s\n' "$@" | grep -v '^-$' | sort -g | awk '{v[NR] = $1} END {
    if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

gl=() d3d=()
for _ in $(seq "$rounds"); do
    gl+=("$(play_fps "$build/PlayerGL")")
    d3d+=("$(play_fps "$build/PlayerD3D")")
done
g=$(median "${gl[@]}")
d=$(median "${d3d[@]}")
echo "window ${width} x ${height}, in play on the demo, turning in place, $rounds rounds of $seconds s"
echo "PlayerGL  (OpenGL, Mesa): ${gl[*]} fps, median $g"
echo "PlayerD3D (software device): ${d3d[*]} fps, median $d"
awk -v d="$d" -v g="$g" 'BEGIN {
    if (d == "-" || g == "-" || g == 0) print "PlayerD3D / PlayerGL: -"
    else printf "PlayerD3D / PlayerGL: %.2f\n", d / g }'
