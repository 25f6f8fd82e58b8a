#pragma once
// Cuts a long text into pieces that a decoder or writer can take one at a time, from
// memory or from a file read a piece at a time.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <type_traits>

class QIODevice;

namespace text_pieces {

// A piece is at least this long, unless it is the last.
constexpr qsizetype PieceBytes = qsizetype(1) << 20;

// What a piece ends after: the byte 0x0A, which is never part of a GBK or UTF-8
// character, or in UTF-16 the unit of U+000A (at an even offset), never half of a pair.
// A decoder meets either in the same state however the text is cut there.
enum class LineFeed { Byte, Utf16LE, Utf16BE };

// The length of the piece at the start of `bytes`: up to and with the first line feed at
// PieceBytes or later that has a whole unit after it, or else all of `bytes`. When
// `complete` is false more bytes may follow `bytes`, and -1 says that they are needed to
// tell. `searched`, when given, is where an earlier call on the same bytes, shorter then,
// stopped looking; it is moved on.
qsizetype pieceLength(QByteArrayView bytes, LineFeed lf, bool complete,
                      qsizetype* searched = nullptr);

// Hands `bytes` to `f` in pieces of about a megabyte, each but the last ending just after
// a line feed. When `f` returns a bool, false stops the walk.
template <class F> void forEach(QByteArrayView bytes, F f, LineFeed lf = LineFeed::Byte) {
    while (!bytes.isEmpty()) {
        const qsizetype length = pieceLength(bytes, lf, true);
        const QByteArrayView piece = bytes.first(length);
        if constexpr (std::is_same_v<std::invoke_result_t<F&, QByteArrayView>, bool>) {
            if (!f(piece))
                return;
        } else {
            f(piece);
        }
        bytes = bytes.sliced(length);
    }
}

// A text's bytes, in memory or in a file, to be walked in the pieces forEach() cuts as
// often as a reader needs (once to guess the encoding, once to decode). A file is read
// a part at a time for each walk, so that about two pieces are in memory at once, never
// the file; a device that cannot seek back (a pipe) is read whole at the start instead.
class Source {
  public:
    explicit Source(QByteArrayView bytes);
    // The bytes from the device's position on. It stays the caller's and must stay open.
    explicit Source(QIODevice* device);

    // The first `n` bytes, or all of them when there are fewer.
    QByteArray head(qsizetype n);
    // Hands `f` the pieces of the bytes from offset `from` on (past a byte-order mark);
    // false from `f` stops the walk. Returns false when the device could not be read
    // to its end: errorString() says why.
    bool forEach(qsizetype from, LineFeed lf, const std::function<bool(QByteArrayView)>& f);

    bool failed() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

  private:
    bool fail();
    QByteArrayView bytes() const { return m_holds ? QByteArrayView(m_held) : m_bytes; }

    QIODevice* m_device = nullptr;
    qint64 m_start = 0;
    QByteArrayView m_bytes;
    bool m_holds = false;
    QByteArray m_held; // a sequential device's bytes
    QString m_error;
};

} // namespace text_pieces
