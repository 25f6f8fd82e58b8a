#include "base/core/text_pieces.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace text_pieces {

namespace {

// How much a walk reads at a time: a piece is cut from what was read once it holds
// PieceBytes and a line feed, so little more than a piece is held.
constexpr qsizetype ReadBytes = qsizetype(64) << 10;

qsizetype unitBytes(LineFeed lf) {
    return lf == LineFeed::Byte ? 1 : 2;
}

// The offset just after the first line feed at `from` or later, -1 when there is none.
qsizetype lineFeedEnd(QByteArrayView bytes, qsizetype from, LineFeed lf) {
    if (lf == LineFeed::Byte) {
        const qsizetype at = bytes.indexOf('\n', from);
        return at < 0 ? -1 : at + 1;
    }
    const QByteArrayView unit =
        lf == LineFeed::Utf16LE ? QByteArrayView("\n\0", 2) : QByteArrayView("\0\n", 2);
    for (qsizetype at = bytes.indexOf(unit, from); at >= 0; at = bytes.indexOf(unit, at + 1)) {
        if (at % 2 == 0) // else the halves of two other units
            return at + 2;
    }
    return -1;
}

} // namespace

qsizetype pieceLength(QByteArrayView bytes, LineFeed lf, bool complete, qsizetype* searched) {
    const qsizetype size = bytes.size();
    if (size > PieceBytes) {
        const qsizetype unit = unitBytes(lf);
        const qsizetype from = std::max(PieceBytes, searched ? *searched : 0);
        const qsizetype end = lineFeedEnd(bytes, from, lf);
        // A piece is cut only with a whole unit after it: a lone last byte that reached
        // the UTF-16 decoder by itself would be dropped, where after a unit it shows as
        // U+FFFD, as in the whole file.
        if (end >= 0 && size - end >= unit)
            return end;
        if (searched)
            *searched = std::max(from, end >= 0 ? end - unit : size - unit + 1);
    }
    return complete ? size : -1;
}

Source::Source(QByteArrayView bytes) : m_bytes(bytes) {}

Source::Source(QIODevice* device) {
    if (device->isSequential()) {
        m_held = device->readAll();
        m_holds = true;
        return;
    }
    m_device = device;
    m_start = device->pos();
}

bool Source::fail() {
    m_error = m_device->errorString();
    if (m_error.isEmpty())
        m_error = QStringLiteral("Unknown error");
    return false;
}

QByteArray Source::head(qsizetype n) {
    if (!m_device)
        return bytes().first(std::min(n, bytes().size())).toByteArray();
    if (!m_device->seek(m_start)) {
        fail();
        return {};
    }
    QByteArray bytes(n, Qt::Uninitialized);
    qsizetype held = 0;
    while (held < n) { // a device may give fewer bytes than asked before its end
        const qint64 got = m_device->read(bytes.data() + held, n - held);
        if (got < 0)
            fail();
        if (got <= 0)
            break;
        held += got;
    }
    bytes.resize(held);
    return bytes;
}

bool Source::forEach(qsizetype from, LineFeed lf, const std::function<bool(QByteArrayView)>& f) {
    if (!m_device) {
        text_pieces::forEach(bytes().sliced(std::min(from, bytes().size())), f, lf);
        return true;
    }
    if (!m_device->seek(m_start + from))
        return fail();
    // The buffer holds the piece being cut and what was read past its end.
    QByteArray buffer;
    qsizetype searched = 0;
    bool atEnd = false;
    for (;;) {
        const qsizetype length = pieceLength(buffer, lf, atEnd, &searched);
        if (length < 0) {
            const qsizetype held = buffer.size();
            buffer.resize(held + ReadBytes);
            const qint64 got = m_device->read(buffer.data() + held, ReadBytes);
            buffer.resize(held + std::max<qint64>(got, 0));
            if (got < 0)
                return fail();
            atEnd = got == 0;
            continue;
        }
        if (length == 0)
            return true;
        if (!f(QByteArrayView(buffer).first(length)))
            return true;
        // Not remove(0, length): that leaves the room at the front, and the next
        // resize() grows the allocation instead of reusing it.
        std::memmove(buffer.data(), buffer.constData() + length, size_t(buffer.size() - length));
        buffer.resize(buffer.size() - length);
        searched = 0;
    }
}

} // namespace text_pieces
