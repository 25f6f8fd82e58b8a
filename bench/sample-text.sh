# Sourced by the converter benchmarks of bench/: the sample text, GB18030 lines of the Song
# ci quoted from the chinese-poetry dataset. Expects WORK (a work folder) and SONGCI (the
# dataset's songci folder); writes $WORK/chunk.txt (about 3 MB of whole lines), and
# make_sample_text BYTES FILE writes at least BYTES of it, repeated, to FILE.
grep -oh '"[^"]*。"' "$SONGCI"/ci.song.*.json | tr -d '"' | head -c 3000000 >"$WORK/lines.txt" || true
sed -i '$d' "$WORK/lines.txt" # head may have cut the last character in half
iconv -f UTF-8 -t GB18030 "$WORK/lines.txt" >"$WORK/chunk.txt"

make_sample_text() {
    : >"$2"
    while (($(stat -c %s "$2") < $1)); do cat "$WORK/chunk.txt" >>"$2"; done
}
