# Shared by the end-to-end scripts: a fresh work directory removed at the end, a private X server,
# run directories holding the program, and polling helpers. Sourced after `set -euo pipefail`;
# the script sets $binary (the program) and $shot (where screenshots go) first.

# e2e_begin PREFIX: the work directory $work, and the clean-up that kills everything in $pids.
e2e_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
    pids=()
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}

# fail MESSAGE: reports, keeps a screenshot of the whole screen and the ends of the logs, ends.
fail() {
    echo "FAIL: $*" >&2
    import -window root "$work/failure.png" 2>/dev/null && cp "$work/failure.png" "${shot%.png}-failure.png" &&
        echo "screen at the failure: ${shot%.png}-failure.png" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    local p
    for p in "${pids[@]}"; do
        ps -o pid=,stat=,etime=,args= -p "$p" >&2 || echo "$p has ended" >&2
    done
    exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails after SECONDS.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# xvfb_listens PID NUMBER: the process PID holds the listening socket of display NUMBER, the
# abstract one that clients try first; so every client of ":NUMBER" reaches that process.
xvfb_listens() {
    local inode
    inode=$(awk -v path="@/tmp/.X11-unix/X$2" '$6 == "01" && $8 == path { print $7 }' /proc/net/unix)
    [ -n "$inode" ] && ls -l "/proc/$1/fd" 2>/dev/null | grep -qF "socket:[$inode]"
}

# start_xvfb: a private X server on a display number it picks itself, and a per-user environment
# (the instance lock above all) inside the work directory. Servers of other tests start and end
# beside it, so the number it reports is checked to be its own before it is used; if not, a new
# server is started.
start_xvfb() {
    local attempt xvfb number
    for attempt in 1 2 3 4 5; do
        : >"$work/display"
        # No reset when the last client leaves: a client that connects just then would be cut off
        # by the reset (after the check below, or between two programs of a test).
        Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
        xvfb=$!
        pids+=("$xvfb")
        wait_for 10 test -s "$work/display" || true
        number=$(head -n1 "$work/display")
        export DISPLAY=":$number"
        [ -n "$number" ] && xvfb_listens "$xvfb" "$number" && xdpyinfo >/dev/null 2>&1 && break
        echo "Xvfb $xvfb did not take display ':$number' as its own; starting another" >&2
        kill "$xvfb" 2>/dev/null || true
        [ "$attempt" = 5 ] && fail "no private Xvfb could be started"
    done
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR="$work/xdg" XDG_CONFIG_HOME="$work/config" HOME="$work/home"
    mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
}

# new_run_dir NAME: a run directory holding only the program.
new_run_dir() {
    mkdir "$work/$1"
    cp "$binary" "$work/$1/velkora"
    echo "$work/$1"
}

# start DIR LOG: starts the program in DIR, as a user would, with no input; sets $started.
start() {
    (cd "$1" && exec ./velkora </dev/null >"$2" 2>&1) &
    started=$!
    pids+=("$started")
}

# window_named REGEX [SECONDS]: the id of the first window whose name matches, or nothing.
window_named() {
    local deadline=$((SECONDS + ${2:-30})) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# wait_exit PID [SECONDS]: waits for the program to end; sets $rc to its exit code.
wait_exit() {
    local deadline=$((SECONDS + ${2:-30}))
    while kill -0 "$1" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    kill -0 "$1" 2>/dev/null && fail "process $1 did not end"
    rc=0
    wait "$1" || rc=$?
}

# main_window: the id of the shown main window, or nothing.
main_window() { xdotool search --onlyvisible --name '^Velkora Ver ' 2>/dev/null | head -n1; }
main_window_shown() { [ -n "$(main_window)" ]; }
main_window_hidden() { [ -z "$(main_window)" ]; }
