#!/usr/bin/env bash
# Peak memory and time of `lyrevane-cli txt2rtf` and `rtf2txt` on a large file, and of
# `unrtf --text` on the same RTF, each measured with GNU time in one run.
#
#   bench/converters.sh [MEGABYTES] [CLI]
#
# The input is MEGABYTES (default 20) of GBK text: the quoted lines of the Song ci in
# the chinese-poetry dataset, repeated. CLI defaults to build-bench's lyrevane-cli, so
# an older build can be measured beside the current one. Needs GNU time and unrtf
# (Debian: time unrtf).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MB="${1:-20}"
CLI="${2:-$ROOT/build-bench/src/cli/lyrevane-cli}"
NPM_DIR="${LYREVANE_NPM_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/lyrevane/npm/node_modules}"
SONGCI="$NPM_DIR/chinese-poetry/dist/songci"
for tool in /usr/bin/time unrtf iconv; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
[[ -x $CLI ]] || { echo "lyrevane-cli not found at $CLI" >&2; exit 1; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
source "$ROOT/bench/sample-text.sh"
make_sample_text $((MB * 1024 * 1024)) "$WORK/in.txt"

# Prints "seconds peak-KiB" for a command whose output is thrown away.
measure() {
    /usr/bin/time -f '%e %M' -o "$WORK/time.txt" "$@" >"$WORK/out" 2>/dev/null || true
    tail -1 "$WORK/time.txt" # GNU time notes a failed exit on a line of its own
}
size() { stat -c %s "$1"; }

"$CLI" txt2rtf "$WORK/in.txt" >"$WORK/in.rtf" || true
read -r t_txt m_txt < <(measure "$CLI" txt2rtf "$WORK/in.txt")
read -r t_rtf m_rtf < <(measure "$CLI" rtf2txt "$WORK/in.rtf")
read -r t_unrtf m_unrtf < <(measure unrtf --text "$WORK/in.rtf")
in=$(size "$WORK/in.txt")
rtf=$(size "$WORK/in.rtf")
printf 'text %d bytes (GBK), RTF %d bytes\n' "$in" "$rtf"
awk -v t="$t_txt" -v m="$m_txt" -v n="$in" \
    'BEGIN { printf "txt2rtf        %6.2f s  peak %8d KiB  %5.2f bytes per input byte\n", t, m, m * 1024 / n }'
awk -v t="$t_rtf" -v m="$m_rtf" -v n="$rtf" \
    'BEGIN { printf "rtf2txt        %6.2f s  peak %8d KiB  %5.2f x the RTF size\n", t, m, m * 1024 / n }'
awk -v t="$t_unrtf" -v m="$m_unrtf" -v r="$t_rtf" \
    'BEGIN { printf "unrtf --text   %6.2f s  peak %8d KiB  (rtf2txt takes %.2f x its time)\n", t, m, (t > 0 ? r / t : 0) }'
