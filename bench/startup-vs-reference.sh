#!/usr/bin/env bash
# The real program against a bare reference window under Xvfb: time from start to the
# first paint (the splash clicked away as soon as it shows), time from Escape to the
# end of the process, and peak memory (/usr/bin/time -v), with empty documents and
# with 1 MB of text in document 1. Medians of RUNS alternating runs. The reference is
# measured twice: at its own size and maximised, as the program's main window opens.
#
#   bench/startup-vs-reference.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR is a build with -DLYREVANE_BUILD_BENCH=ON (default build-bench); needs
# Xvfb, openbox, xdotool and GNU time (Debian: xvfb openbox xdotool time).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build-bench}" && pwd)"
RUNS="${2:-5}"
export DISPLAY="${LYREVANE_BENCH_DISPLAY:-:57}"
WORK="$(mktemp -d)"
Xvfb "$DISPLAY" -screen 0 1400x1000x24 >/dev/null 2>&1 &
XVFB=$!
sleep 0.5
openbox >/dev/null 2>&1 &
WM=$!
trap 'kill $WM $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT
sleep 0.5

now() { date +%s%N; }
ms() { echo $((($2 - $1) / 1000000)); }
# The first visible window of process $1 whose width is at least $2 (and at most $3
# when given); polls every 5 ms.
window_of() {
    local id w
    while :; do
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            w=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
            [[ -n $w && $w -ge $2 && $w -le ${3:-100000} ]] && { echo "$id"; return; }
        done
        sleep 0.005
    done
}
child_of() { local c; until c=$(pgrep -P "$1" | head -1); do sleep 0.002; done; echo "$c"; }
peak_kib() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
# The peak resident size of process $1 so far: read once its window is up and active,
# before Escape, so that it leaves out what the exit allocates.
hwm_kib() { sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status"; }

# A fresh app folder: the built tree, empty documents, the start-up notice off.
fresh_app() {
    rm -rf "$WORK/app" && cp -r "$BUILD/app" "$WORK/app"
    mkdir -p "$WORK/app/save"
    for n in 1 2 3 4 5; do printf '{\\rtf1\\ansi\\ansicpg936 \\par}' >"$WORK/app/save/mq$n.rtf"; done
    : >"$WORK/app/user.dat"; : >"$WORK/app/temp.dat"; : >"$WORK/app/data.dat"
    printf '[guide]\r\nvisible=0\r\n' >"$WORK/app/Mqini.ini"
    [[ -z ${1:-} ]] || cp "$1" "$WORK/app/save/mq1.rtf"
}

# With the first screen up: the peak memory so far, then Escape; prints the time to the
# end of the process, its peak memory over the whole run and the peak so far (KiB).
# $1: pid, $2: its window, $3: the GNU time process to wait for.
escape_and_wait() {
    xdotool windowactivate --sync "$2" >/dev/null 2>&1 || true
    local hwm t_esc t_end
    hwm=$(hwm_kib "$1")
    t_esc=$(now)
    xdotool key Escape
    wait "$3" || true
    t_end=$(now)
    echo "$(ms "$t_esc" "$t_end") $(peak_kib "$WORK/time.txt") $hwm"
}

# Prints "first-paint-ms exit-ms peak-kib peak-at-first-paint-kib" for one run of the
# program.
run_program() {
    fresh_app "${1:-}"
    local t0 t1 t2 t3 pid id
    t0=$(now)
    (cd "$WORK/app" && exec /usr/bin/time -v -o "$WORK/time.txt" ./lyrevane) &
    local timer=$!
    pid=$(child_of $timer)
    id=$(window_of "$pid" 444 444)  # the splash (the pop-up notice may show first)
    t1=$(now)
    xdotool mousemove --window "$id" 20 20 click 1
    t2=$(now)
    id=$(window_of "$pid" 600)      # the main window
    t3=$(now)
    # Not in a command substitution: only this shell can wait for the process.
    printf '%s ' "$(( $(ms "$t0" "$t1") + $(ms "$t2" "$t3") ))"
    escape_and_wait "$pid" "$id" "$timer"
}

# $1: empty, or --maximized.
run_reference() {
    local t0 t1 pid id
    t0=$(now)
    /usr/bin/time -v -o "$WORK/time.txt" "$BUILD/bench/reference_window" "$BUILD/app" ${1:-} &
    local timer=$!
    pid=$(child_of $timer)
    id=$(window_of "$pid" 600)
    t1=$(now)
    printf '%s ' "$(ms "$t0" "$t1")"
    escape_and_wait "$pid" "$id" "$timer"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

"$BUILD/bench/bench_rtf" --write-sample="$WORK/large.rtf"
: >"$WORK/ref" "$WORK/refmax" "$WORK/empty" "$WORK/large"
for ((i = 0; i < RUNS; ++i)); do
    run_reference >>"$WORK/ref"
    run_reference --maximized >>"$WORK/refmax"
    run_program >>"$WORK/empty"
    run_program "$WORK/large.rtf" >>"$WORK/large"
done
col() { awk -v c="$2" '{print $c}' "$WORK/$1" | median; }
# Peak memory over the whole run (GNU time) and up to the first screen (VmHWM).
printf '%-28s %12s %10s %14s %14s\n' "" "first paint" "exit" "peak memory" "at first paint"
for f in ref refmax empty large; do
    printf '%-28s %10s ms %7s ms %10s KiB %10s KiB\n' \
        "$(case $f in ref) echo reference window;; refmax) echo reference, maximised;; empty) echo program, empty documents;; large) echo program, 1 MB in document 1;; esac)" \
        "$(col $f 1)" "$(col $f 2)" "$(col $f 3)" "$(col $f 4)"
done
