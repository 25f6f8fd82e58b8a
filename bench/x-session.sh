# Sourced by the start-up scripts of bench/: an Xvfb display with openbox for the rest of
# the script (LYREVANE_BENCH_DISPLAY picks it), a work folder removed at the end, and
# what both scripts need to start the program. Expects BUILD (a bench build) and a
# default display in DISPLAY_DEFAULT.
export DISPLAY="${LYREVANE_BENCH_DISPLAY:-$DISPLAY_DEFAULT}"
WORK="$(mktemp -d)"
Xvfb "$DISPLAY" -screen 0 1400x1000x24 >/dev/null 2>&1 &
XVFB=$!
sleep 0.5
openbox >/dev/null 2>&1 &
WM=$!
trap 'kill $WM $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT
sleep 0.5

# Prints "id time-ns": the first visible window of process $1 whose width is at least $2
# (and at most $3 when given), and when it was first seen (window_watch polls every
# half millisecond over one X connection; a shell loop starting xdotool per look would
# add its own delay, more for a process with more windows). With --click-after MS first,
# the window is clicked MS after it shows, and the moment of the click printed third.
window_of() { "$BUILD/bench/window_watch" "$@"; }

# A fresh app folder: the built tree, empty documents, the start-up notice off; $1, when
# given, becomes document 1.
fresh_app() {
    rm -rf "$WORK/app" && cp -r "$BUILD/app" "$WORK/app"
    mkdir -p "$WORK/app/save"
    for n in 1 2 3 4 5; do printf '{\\rtf1\\ansi\\ansicpg936 \\par}' >"$WORK/app/save/mq$n.rtf"; done
    : >"$WORK/app/user.dat"; : >"$WORK/app/temp.dat"; : >"$WORK/app/data.dat"
    printf '[guide]\r\nvisible=0\r\n' >"$WORK/app/Mqini.ini"
    [[ -z ${1:-} ]] || cp "$1" "$WORK/app/save/mq1.rtf"
}
