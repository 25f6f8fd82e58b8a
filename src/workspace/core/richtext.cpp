#include "workspace/core/richtext.h"

#include "base/core/gbk.h"

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
    forEachPlainTextParagraph(
        text, [&doc](Paragraph&& p) { doc.paragraphs.push_back(std::move(p)); }, format);
    return doc;
}

void RichDocument::forEachPlainTextParagraph(QStringView text,
                                             const std::function<void(Paragraph&&)>& f,
                                             const CharFormat& format) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        Paragraph p;
        p.append(text.mid(start, end - start).toString(), format);
        f(std::move(p));
        if (end < n && text[end] == QLatin1Char('\r') && end + 1 < n &&
            text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
}

} // namespace workspace
