#!/usr/bin/env bash
# Where the resident memory of the program and of the maximised reference window is at
# first paint: Rss per mapping from /proc/PID/smaps (font files, heap, libraries, the
# executable), read once the first screen is up, side by side with the difference,
# largest first. A last line gives the total of the same reference showing the text of
# the program's first screen. The program runs as in startup-vs-reference.sh: a fresh app folder,
# empty documents, the splash clicked away.
#
#   bench/memory-at-first-paint.sh [BUILD_DIR] [ROWS]
#
# BUILD_DIR is a build with -DLYREVANE_BUILD_BENCH=ON (default build-bench); ROWS limits
# the table (default 30). Needs Xvfb, openbox and xdotool (and bench/window_watch, built
# there); LYREVANE_BENCH_DISPLAY picks the X display (default :58).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build-bench}" && pwd)"
ROWS="${2:-30}"
DISPLAY_DEFAULT=:58
source "$ROOT/bench/x-session.sh"

# Rss in KiB per mapping name of process $1, the executable itself named "executable".
rss_by_mapping() {
    awk -v exe="$(readlink "/proc/$1/exe")" '
        /^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6 ? $6 : "[anon]"); if (name == exe) name = "executable"; next }
        /^Rss:/ { rss[name] += $2 }
        END { for (n in rss) print rss[n], n }' "/proc/$1/smaps"
}

# With the first screen of process $1 (window $2) up: its mappings into $3, then Escape.
measure_and_close() {
    xdotool windowactivate --sync "$2" >/dev/null 2>&1 || true
    sleep 0.5
    rss_by_mapping "$1" >"$3"
    xdotool key Escape
}

fresh_app
(cd "$WORK/app" && exec ./lyrevane 2>/dev/null) &
pid=$!
window_of --click-after 0 "$pid" 444 444 >/dev/null # the splash, clicked away
read -r id _ < <(window_of "$pid" 600)
measure_and_close "$pid" "$id" "$WORK/program"
wait "$pid" || true

"$BUILD/bench/reference_window" "$BUILD/app" --maximized 2>/dev/null &
pid=$!
read -r id _ < <(window_of "$pid" 600)
measure_and_close "$pid" "$id" "$WORK/reference"
wait "$pid" || true

# The same reference showing the program's first-screen text, for the last line.
"$BUILD/bench/reference_window" "$BUILD/app" --maximized --first-screen-text 2>/dev/null &
pid=$!
read -r id _ < <(window_of "$pid" 600)
measure_and_close "$pid" "$id" "$WORK/text"
wait "$pid" || true

awk -v rows="$ROWS" '
    FNR == NR { name = $2; for (i = 3; i <= NF; ++i) name = name " " $i; p[name] = $1; all[name]; next }
    { name = $2; for (i = 3; i <= NF; ++i) name = name " " $i; r[name] = $1; all[name] }
    END {
        for (n in all) { tp += p[n]; tr += r[n] }
        printf "%10s %10s %10s  %s\n", "program", "reference", "difference", "mapping (Rss KiB)"
        printf "%10d %10d %+10d  %s\n", tp, tr, tp - tr, "total"
        for (n in all) print p[n] - r[n], p[n] + 0, r[n] + 0, n | "sort -k1,1nr | head -n " rows " | awk '\''{ name = $4; for (i = 5; i <= NF; ++i) name = name \" \" $i; printf \"%10d %10d %+10d  %s\\n\", $2, $3, $1, name }'\''"
    }' "$WORK/program" "$WORK/reference"
awk '{ t += $1 } END { printf "%10d KiB  the reference, maximised, with the first screen'"'"'s text\n", t }' "$WORK/text"
