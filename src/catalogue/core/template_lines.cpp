#include "catalogue/core/template_lines.h"

namespace catalogue {

QStringList templateLines(QStringView templateText) {
    QStringList lines;
    QString current;
    auto flush = [&] {
        if (!current.isEmpty())
            lines << current;
        current.clear();
    };
    for (qsizetype i = 0; i < templateText.size(); ++i) {
        const QChar c = templateText[i];
        if (c == u' ') {
            // The whole run of spaces is one stanza break.
            while (i + 1 < templateText.size() && templateText[i + 1] == u' ')
                ++i;
            flush();
            if (!lines.isEmpty())
                lines << QString();
            continue;
        }
        current += c;
        if (c == u'。')
            flush();
    }
    flush();
    return lines;
}

} // namespace catalogue
