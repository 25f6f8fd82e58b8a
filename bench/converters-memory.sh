#!/usr/bin/env bash
# Peak memory and time of `lyrevane-cli txt2rtf` and `rtf2txt` as their input grows, each
# measured with GNU time: on 1 MB of GBK text and on MEGABYTES (default 40), and on the
# RTF those give (about four times as large). Both converters read a file in pieces, so
# the peak on the large input must stay within 1.2 times the peak on 1 MB; the script
# says so and fails when it does not.
#
#   bench/converters-memory.sh [MEGABYTES] [CLI]
#
# The text is the quoted lines of the Song ci in the chinese-poetry dataset, repeated and
# cut at a line end. CLI defaults to build-bench's lyrevane-cli, so an older build can be
# measured beside the current one. Needs GNU time (Debian: time) and iconv.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MB="${1:-40}"
CLI="${2:-$ROOT/build-bench/src/cli/lyrevane-cli}"
NPM_DIR="${LYREVANE_NPM_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/lyrevane/npm/node_modules}"
SONGCI="$NPM_DIR/chinese-poetry/dist/songci"
GROWTH_LIMIT=1.2
for tool in /usr/bin/time iconv; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
[[ -x $CLI ]] || { echo "lyrevane-cli not found at $CLI" >&2; exit 1; }
[[ -d $SONGCI ]] || { echo "the chinese-poetry dataset is not at $NPM_DIR" >&2; exit 1; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
source "$ROOT/bench/sample-text.sh"

# MEGABYTES of the text, ending with a whole line.
make_text() {
    local bytes=$(($1 * 1024 * 1024)) out=$2
    make_sample_text "$bytes" "$WORK/long.txt"
    head -c "$bytes" "$WORK/long.txt" | LC_ALL=C sed '$d' >"$out"
    rm "$WORK/long.txt"
}

# Prints "seconds peak-KiB" for a command whose output is thrown away.
measure() {
    /usr/bin/time -f '%e %M' -o "$WORK/time.txt" "$@" >/dev/null 2>&1 || true
    tail -1 "$WORK/time.txt" # GNU time notes a failed exit on a line of its own
}

make_text 1 "$WORK/small.txt"
make_text "$MB" "$WORK/large.txt"
"$CLI" txt2rtf "$WORK/small.txt" >"$WORK/small.rtf"
"$CLI" txt2rtf "$WORK/large.txt" >"$WORK/large.rtf"

status=0
report() { # converter, extension
    local small large t1 m1 t2 m2
    small="$WORK/small.$2"
    large="$WORK/large.$2"
    read -r t1 m1 < <(measure "$CLI" "$1" "$small")
    read -r t2 m2 < <(measure "$CLI" "$1" "$large")
    awk -v c="$1" -v s="$(stat -c %s "$small")" -v l="$(stat -c %s "$large")" \
        -v t1="$t1" -v m1="$m1" -v t2="$t2" -v m2="$m2" -v limit="$GROWTH_LIMIT" 'BEGIN {
        printf "%s  %7.1f MB: %6.2f s  peak %7d KiB\n", c, s / 1048576, t1, m1
        printf "%s  %7.1f MB: %6.2f s  peak %7d KiB  (%.2f x the peak on the small input, goal <= %.1f)\n",
            c, l / 1048576, t2, m2, m2 / m1, limit
        exit (m2 > limit * m1) }' || status=1
}
report txt2rtf txt
report rtf2txt rtf
((status == 0)) || echo "peak memory grows with the input" >&2
exit "$status"
