#!/usr/bin/env bash
# The real program against a bare reference window under Xvfb: time from start to the
# first paint (the splash clicked away, see CLICK_MS), time from Escape to the
# end of the process, and peak memory (/usr/bin/time -v), with empty documents and
# with 1 MB of text in document 1. Medians of RUNS alternating runs. The reference is
# measured twice: at its own size and maximised, as the program's main window opens.
#
#   bench/startup-vs-reference.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR is a build with -DLYREVANE_BUILD_BENCH=ON (default build-bench); needs
# Xvfb, openbox, xdotool and GNU time (Debian: xvfb openbox xdotool time).
# Windows are found with bench/window_watch, built there.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build-bench}" && pwd)"
RUNS="${2:-5}"
# How long after the splash shows it is clicked away: a quick user's reaction by
# default; LYREVANE_BENCH_CLICK_MS=0 clicks at once, so that the window built behind
# the splash is waited for too.
CLICK_MS="${LYREVANE_BENCH_CLICK_MS:-150}"
DISPLAY_DEFAULT=:57
source "$ROOT/bench/x-session.sh"

now() { date +%s%N; }
ms() { echo $((($2 - $1) / 1000000)); }
child_of() { local c; until c=$(pgrep -P "$1" | head -1); do sleep 0.002; done; echo "$c"; }
peak_kib() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
# The peak resident size of process $1 so far: read once its window is up and active,
# before Escape, so that it leaves out what the exit allocates.
hwm_kib() { sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status"; }

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
    # The splash (the pop-up notice may show first), clicked CLICK_MS after it shows; then
    # the main window. The time is the wait for the splash plus the wait from the click
    # to the main window: what the user waits for, without the user's own time to click.
    read -r id t1 t2 < <(window_of --click-after "$CLICK_MS" "$pid" 444 444)
    read -r id t3 < <(window_of "$pid" 600)
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
    read -r id t1 < <(window_of "$pid" 600)
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
