#include "workspace/core/recovery_file.h"

#include "base/core/gbk.h"
#include "workspace/core/rtfreader.h"

#include <QList>

namespace workspace {

namespace {

const QByteArray kHeader = QByteArrayLiteral("lyrevane recovery 1\n");
const QByteArray kEnd = QByteArrayLiteral("end\n");

} // namespace

QByteArray encodeRecovery(const std::vector<RecoveredDocument>& documents) {
    QByteArray out = kHeader;
    for (const RecoveredDocument& d : documents) {
        out += QByteArray::number(d.number) + ' ' + QByteArray::number(d.rtf.size()) + '\n';
        out += d.rtf;
        out += '\n';
    }
    return out + kEnd;
}

std::optional<std::vector<RecoveredDocument>> decodeRecovery(QByteArrayView bytes) {
    if (!bytes.startsWith(kHeader))
        return std::nullopt;
    std::vector<RecoveredDocument> out;
    qsizetype at = kHeader.size();
    for (;;) {
        const QByteArrayView rest = bytes.sliced(at);
        if (rest == kEnd)
            return out;
        const qsizetype eol = rest.indexOf('\n');
        if (eol < 0)
            return std::nullopt;
        const QList<QByteArray> head = rest.first(eol).toByteArray().split(' ');
        bool numberOk = false, sizeOk = false;
        const int number = head.size() == 2 ? head[0].toInt(&numberOk) : 0;
        const qsizetype size = head.size() == 2 ? head[1].toLongLong(&sizeOk) : -1;
        // The size is bounded by what follows before it is added to anything.
        if (!numberOk || !sizeOk || number < 1 || number > 5 || size < 0 ||
            size > rest.size() - eol - 2 || rest[eol + 1 + size] != '\n')
            return std::nullopt;
        out.push_back({number, rest.sliced(eol + 1, size).toByteArray()});
        at += eol + 1 + size + 1;
    }
}

bool isTextDocument(QByteArrayView bytes) {
    if (RtfReader::looksLikeRtf(bytes))
        return true;
    bool decoded = false;
    const QString text = gbk::decodeTextFile(bytes, &decoded);
    if (!decoded)
        return false;
    for (QChar c : text) {
        // Control characters other than tab, line and page breaks, and what the
        // decoder stands in for bytes it cannot map, say the file is no text.
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f') ||
            c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

} // namespace workspace
