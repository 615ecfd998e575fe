# Shell helpers of the player tests, sourced by them.

# Prints "<id> <width>x<height>" of the mapped window titled $2 that belongs to
# process $1 (its _NET_WM_PID), or nothing. Windows of other tests running on
# the same X server are told apart by their process.
player_window() {
    local pid=$1 title=$2 id size
    while read -r id size; do
        if xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $pid\$"; then
            echo "$id $size"
            return
        fi
    done < <(xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\"" 'index($0, t) {print $1, $(NF-1)}')
}

# Waits up to 30 s for process $1 to map its window titled $2 and prints it as
# player_window does; prints nothing when the process ends first or the time
# runs out.
wait_for_player_window() {
    local pid=$1 title=$2 window
    for _ in $(seq 300); do
        window=$(player_window "$pid" "$title")
        [ -n "$window" ] && { echo "$window"; return; }
        kill -0 "$pid" 2>/dev/null || return
        sleep 0.1
    done
}

# The set-up of a test of one run of the player: $1 the player, $2 the demo
# game folder; a scratch folder $work, removed at the end together with the
# player's process $pid (once started).
player_test() {
    player=$1
    demo=$2
    work=$(mktemp -d)
    pid=
    server=
    trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; [ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
}

# Starts an X server of the test's own (1024 x 768, 24 bits), which takes a
# free display by itself, so that tests started together never race for one,
# and points DISPLAY at it. Once player_test has run. The server does not
# reset when its last client leaves, so a player started right after another
# never meets it resetting; what it says goes to $work/server.log.
own_x_server() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
        2>"$work/server.log" &
    server=$!
    for _ in $(seq 300); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "no X server"
    export DISPLAY=":$(cat "$work/display")"
}

# Says why the test failed and ends it; with the state of the test's own X
# server when it has one.
fail() {
    echo "FAIL: $*"
    if [ -n "${server:-}" ]; then
        kill -0 "$server" 2>/dev/null && echo "its X server ${DISPLAY:-} runs" ||
            echo "its X server ${DISPLAY:-} has ended"
        tail -5 "$work/server.log"
    fi
    exit 1
}

# Ends the player $pid with SIGTERM: it must end by itself, with status 0,
# within ten seconds. $1: what to add to a failure's message, which ends with
# the player's last lines on its standard error.
stop_player() {
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "SIGTERM did not end the player"
    wait "$pid"
    local status=$?
    pid=
    if [ "$status" != 0 ]; then
        [ -f "$work/stderr" ] && tail -n 20 "$work/stderr"
        fail "exit status $status${1:+: $1}"
    fi
}
