#!/usr/bin/env bash
# Times `lyrevane-cli rtf2txt` against `unrtf --text` on the same RTF file, in one run.
#
#   bench/rtf2txt-vs-unrtf.sh [FILE] [RUNS]
#
# Without FILE, a sample is made: about 1 MB of GBK text (Song ci from the
# chinese-poetry dataset) turned into RTF by `lyrevane-cli txt2rtf`. Each program
# runs RUNS times (default 5) with its output thrown away; the best and the mean wall
# time are shown. unrtf does not decode code page 936, so its text is not compared,
# only its time.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${LYREVANE_BUILD_DIR:-$ROOT/build}"
CLI="$BUILD_DIR/src/cli/lyrevane-cli"
NPM_DIR="${LYREVANE_NPM_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/lyrevane/npm/node_modules}"
RUNS="${2:-5}"

if ! command -v unrtf >/dev/null 2>&1; then
    echo "unrtf is not installed: apt-get install unrtf" >&2
    exit 1
fi
if [[ ! -x "$CLI" ]]; then
    echo "lyrevane-cli not found at $CLI: build first (scripts/setup)" >&2
    exit 1
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

FILE="${1:-}"
if [[ -z "$FILE" ]]; then
    SONGCI="$NPM_DIR/chinese-poetry/dist/songci"
    if [[ ! -d "$SONGCI" ]]; then
        echo "no FILE given and the chinese-poetry dataset is not at $SONGCI" >&2
        exit 1
    fi
    # The quoted lines of the poems, one a line, until 1.5 MB of UTF-8 (1 MB of GBK).
    grep -oh '"[^"]*。"' "$SONGCI"/ci.song.*.json | tr -d '"' | head -c 1600000 >"$WORK/sample.txt" || true
    # head may cut the last character in half: drop the last line.
    sed -i '$d' "$WORK/sample.txt"
    "$CLI" txt2rtf "$WORK/sample.txt" >"$WORK/sample.rtf"
    FILE="$WORK/sample.rtf"
fi

now_ns() { date +%s%N; }

measure() { # name command...
    local name="$1"
    shift
    local best=0 total=0 start end elapsed
    for ((i = 0; i < RUNS; i++)); do
        start=$(now_ns)
        "$@" >/dev/null 2>&1 || true
        end=$(now_ns)
        elapsed=$(((end - start) / 1000000))
        total=$((total + elapsed))
        if ((i == 0 || elapsed < best)); then best=$elapsed; fi
    done
    printf '%-28s best %6d ms   mean %6d ms   (%d runs)\n' "$name" "$best" $((total / RUNS)) "$RUNS"
}

printf 'file: %s (%d bytes)\n' "$FILE" "$(stat -c %s "$FILE")"
printf 'lyrevane-cli rtf2txt output: %d bytes of UTF-8\n' "$("$CLI" rtf2txt "$FILE" | wc -c)"
measure "lyrevane-cli rtf2txt" "$CLI" rtf2txt "$FILE"
measure "unrtf --text" unrtf --text "$FILE"
