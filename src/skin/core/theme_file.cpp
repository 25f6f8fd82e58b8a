#include "skin/core/theme_file.h"

#include "base/core/gbk.h"

#include <QIODevice>
#include <QSet>
#include <QtEndian>

#include <atomic>

namespace style {

namespace {

// Far larger than any theme; a device that claims more is not read.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

bool fits(qint64 offset, qint64 length, qint64 size) {
    return offset >= 0 && length >= 0 && offset <= size && length <= size - offset;
}

quint32 u32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace

bool ThemeFile::read(QIODevice& in, QString* error) {
    m_entries.clear();
    if (!in.isReadable()) {
        if (error)
            *error = QStringLiteral("不能读取主题文件");
        return false;
    }
    // A file says how long it is; a stream is read to its end, but no further than the
    // limit.
    QByteArray bytes;
    if (!in.isSequential()) {
        bytes = in.read(std::min(in.size() - in.pos(), kMaxFileSize + 1));
    } else {
        while (!in.atEnd() && bytes.size() <= kMaxFileSize)
            bytes += in.read(64 * 1024);
    }
    if (bytes.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("主题文件过大");
        return false;
    }
    return read(bytes, error);
}

bool ThemeFile::read(const QByteArray& bytes, QString* error) {
    static std::atomic<quint64> reads{0};
    m_generation = ++reads;
    m_entries.clear();
    const qint64 size = bytes.size();
    auto fail = [&](const QString& why) {
        m_entries.clear();
        if (error)
            *error = why;
        return false;
    };
    if (size < 24)
        return fail(QStringLiteral("主题文件的文件头不完整"));
    const qint64 headerLength = u32(bytes, 12);
    if (headerLength < 24 || headerLength > size)
        return fail(QStringLiteral("主题文件的文件头长度不对"));

    QSet<qint64> visited;
    qint64 at = u32(bytes, 20);
    for (;;) {
        if (!fits(at, kRecordSize, size))
            return fail(QStringLiteral("主题文件的条目超出文件范围"));
        if (visited.contains(at))
            break; // the chain comes back on itself: what was read so far stands
        visited.insert(at);
        const char* record = bytes.constData() + at;
        const qint64 next = qFromLittleEndian<quint32>(record + 73);
        if (next == 0)
            break; // the last record carries no property
        const qint64 dataAt = qFromLittleEndian<quint32>(record + 65);
        const qint64 dataLength = qFromLittleEndian<quint32>(record + 69);
        if (!fits(dataAt, dataLength, size))
            return fail(QStringLiteral("主题文件的数据超出文件范围"));
        const auto kind = quint8(record[64]);
        const QByteArrayView rawName(record, qstrnlen(record, kNameSize));
        const QString name = gbk::decode(rawName);
        const QByteArray data = bytes.mid(dataAt, dataLength);
        if (!m_entries.contains(name) && kind <= Text) {
            Stored s{DataKind(kind), {}};
            if (kind == Integer && data.size() == 4)
                s.data = QByteArray::number(qFromLittleEndian<qint32>(data.constData()));
            else if (kind == Boolean && data.size() == 1)
                s.data = QByteArray::number(data[0] != 0 ? 1 : 0);
            else if (kind == Picture || kind == Text)
                s.data = data;
            m_entries.insert(name, s); // a malformed number is kept empty: it reads as missing
        }
        at = next;
    }
    return true;
}

qint32 ThemeFile::integer(QStringView name) const {
    auto it = m_entries.constFind(name.toString());
    if (it == m_entries.cend() || it->kind != Integer || it->data.isEmpty())
        return -1;
    return it->data.toInt();
}

bool ThemeFile::boolean(QStringView name) const {
    auto it = m_entries.constFind(name.toString());
    return it != m_entries.cend() && it->kind == Boolean && it->data == "1";
}

QByteArray ThemeFile::picture(QStringView name) const {
    auto it = m_entries.constFind(name.toString());
    return it != m_entries.cend() && it->kind == Picture ? it->data : QByteArray();
}

QString ThemeFile::text(QStringView name) const {
    auto it = m_entries.constFind(name.toString());
    return it != m_entries.cend() && it->kind == Text ? gbk::decode(it->data) : QString();
}

QByteArray ThemeFile::integerData(qint32 value) {
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(value, b.data());
    return b;
}

QByteArray ThemeFile::write(const QList<Entry>& entries) {
    constexpr int kHeader = 24;
    QByteArray out(kHeader, '\0');
    qToLittleEndian<quint32>(kHeader, out.data() + 12);
    qToLittleEndian<quint32>(kHeader, out.data() + 20);
    // Records first, then the data blocks after them.
    const qint64 records = qint64(entries.size() + 1) * kRecordSize;
    qint64 dataAt = kHeader + records;
    QByteArray data;
    for (qsizetype i = 0; i <= entries.size(); ++i) {
        QByteArray record(kRecordSize, '\0');
        if (i < entries.size()) {
            const Entry& e = entries[i];
            std::copy_n(e.name.constData(), std::min<qsizetype>(e.name.size(), kNameSize - 1),
                        record.data());
            record[64] = char(e.kind);
            qToLittleEndian<quint32>(quint32(dataAt + data.size()), record.data() + 65);
            qToLittleEndian<quint32>(quint32(e.data.size()), record.data() + 69);
            qToLittleEndian<quint32>(quint32(kHeader + (i + 1) * kRecordSize), record.data() + 73);
            data += e.data;
        }
        out += record;
    }
    return out + data;
}

} // namespace style
