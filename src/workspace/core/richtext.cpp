#include "workspace/core/richtext.h"

#include "app/core/gbk.h"

#include <QStringDecoder>

namespace workspace {

QString Paragraph::text() const {
    QString out;
    for (const Run& run : runs)
        out += run.text;
    return out;
}

void Paragraph::append(const QString& text, const CharFormat& format) {
    if (text.isEmpty())
        return;
    if (!runs.empty() && runs.back().format == format)
        runs.back().text += text;
    else
        runs.push_back({text, format});
}

QString RichDocument::plainText() const {
    QString out;
    for (const Paragraph& p : paragraphs) {
        for (const Run& run : p.runs) {
            QString text = run.text;
            text.replace(QChar::LineSeparator, QLatin1Char('\n'));
            out += text;
        }
        out += QLatin1Char('\n');
    }
    return out;
}

RichDocument RichDocument::fromPlainText(QStringView text, const CharFormat& format) {
    RichDocument doc;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        Paragraph p;
        p.append(text.mid(start, end - start).toString(), format);
        doc.paragraphs.push_back(std::move(p));
        if (end < n && text[end] == QLatin1Char('\r') && end + 1 < n &&
            text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return doc;
}

QString decodeTextFile(QByteArrayView bytes, bool* ok) {
    auto decodeWith = [&](QStringConverter::Encoding encoding, QByteArrayView data) {
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
        QString text = decoder.decode(data);
        if (ok)
            *ok = !decoder.hasError();
        return text;
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, bytes.sliced(2));

    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            if (ok)
                *ok = true;
            return text;
        }
    }
    return gbk::decode(bytes, ok);
}

} // namespace workspace
