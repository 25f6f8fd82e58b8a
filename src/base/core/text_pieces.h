#pragma once
// Cuts a long text into pieces that a decoder or writer can take one at a time.

#include <QByteArrayView>
#include <type_traits>

namespace text_pieces {

// Hands `bytes` to `f` in pieces of about a megabyte, each but the last ending just after
// a line feed. Byte 0x0A is never part of a GBK or UTF-8 character, so a decoder meets
// it in the same state however the text is cut there. When `f` returns a bool, false
// stops the walk.
template <class F> void forEach(QByteArrayView bytes, F f) {
    constexpr qsizetype Piece = qsizetype(1) << 20;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.size();
        if (end - start > Piece) {
            const qsizetype feed = bytes.indexOf('\n', start + Piece);
            if (feed >= 0)
                end = feed + 1;
        }
        const QByteArrayView piece = bytes.sliced(start, end - start);
        if constexpr (std::is_same_v<std::invoke_result_t<F&, QByteArrayView>, bool>) {
            if (!f(piece))
                return;
        } else {
            f(piece);
        }
        start = end;
    }
}

} // namespace text_pieces
