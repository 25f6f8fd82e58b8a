#pragma once
// Reading the checker's generated data files (see data/checker/README.md). The tables a
// check looks into are stored as plain text and mapped, so that a check touches only the
// pages it reads; the tunes' poems, read whole when asked for, are compressed.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QHash>
#include <QString>
#include <cstring>
#include <memory>
#include <utility>

namespace checker {

// The text of a compressed data file; empty when it is missing or cannot be read.
inline QByteArray readDataFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return qUncompress(f.readAll());
}

// A plain data file's text: the file's own pages where it can be mapped (`file` then keeps
// them, and `text` must not outlive it), else read.
struct MappedText {
    std::shared_ptr<QFile> file;
    QByteArray text;
};

inline MappedText mapDataFile(const QString& path) {
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || file->size() == 0)
        return {};
    if (uchar* at = file->map(0, file->size()))
        return {file, QByteArray::fromRawData(reinterpret_cast<const char*>(at),
                                              qsizetype(file->size()))};
    return {nullptr, file->readAll()};
}

// The first character of UTF-8 bytes, without making a string of them; 0 for bytes that do
// not begin with a whole, well-formed character.
inline char32_t firstCodePoint(const char* p, qsizetype n) {
    if (n <= 0)
        return 0;
    const auto b0 = static_cast<unsigned char>(p[0]);
    int length = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (length == 0 || length > n)
        return 0;
    char32_t c = length == 1 ? b0 : b0 & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if ((b >> 6) != 2)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    return c;
}

// The length in bytes of the first UTF-8 character that firstCodePoint() reads.
inline int firstCodePointLength(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The blocks of a text in which each begins with a heading line, "@key" or "@key<TAB>…": each
// key and the span of its block, from its heading to the next ('@' begins no other line).
inline QHash<QString, std::pair<qsizetype, qsizetype>> headedBlocks(QByteArrayView text) {
    QHash<QString, std::pair<qsizetype, qsizetype>> out;
    const char* t = text.data();
    const qsizetype size = text.size();
    QString key;
    qsizetype start = -1;
    for (qsizetype at = 0; at < size;) {
        const char* mark = static_cast<const char*>(std::memchr(t + at, '@', size_t(size - at)));
        if (!mark)
            break;
        const qsizetype heading = mark - t;
        at = heading + 1;
        if (heading > 0 && t[heading - 1] != '\n')
            continue;
        const char* nl = static_cast<const char*>(std::memchr(mark, '\n', size_t(size - heading)));
        const qsizetype end = nl ? nl - t : size;
        const char* tab = static_cast<const char*>(std::memchr(mark, '\t', size_t(end - heading)));
        if (start >= 0)
            out.insert(key, {start, heading});
        key = QString::fromUtf8(mark + 1, (tab ? tab - t : end) - heading - 1);
        start = heading;
        at = end;
    }
    if (start >= 0)
        out.insert(key, {start, size});
    return out;
}

} // namespace checker
