#include "sample_document.h"

#include "base/core/gbk.h"

using namespace workspace;

namespace bench {

RichDocument sampleDocument(qsizetype gbkSize) {
    const CharFormat body{QStringLiteral("宋体"), 18, {}, false, false, false};
    const CharFormat title{QStringLiteral("楷体"), 28, Rgb{192, 0, 0}, true, false, false};
    const CharFormat note{QStringLiteral("Arial"), 20, Rgb{0, 0, 160}, false, true, false};

    QByteArray ideographs;
    for (int lead = 0xB0; lead <= 0xD7; ++lead)
        for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail)
            ideographs += char(lead), ideographs += char(trail);
    const QString pool = gbk::decode(ideographs);

    RichDocument doc;
    qsizetype gbkBytes = 0;
    qsizetype next = 0;
    int line = 0;
    while (gbkBytes < gbkSize) {
        Paragraph p;
        if (line % 24 == 0) {
            p.alignment = Alignment::Centre;
            p.append(pool.mid(next % (pool.size() - 8), 4), title);
            next += 4;
        } else {
            const int length = 5 + line % 7;
            QString text = pool.mid(next % (pool.size() - 16), length) +
                           (line % 2 ? QStringLiteral("。") : QStringLiteral("，"));
            next += length;
            p.append(text, body);
            if (line % 8 == 3)
                p.append(QStringLiteral(" (note %1)").arg(line), note);
        }
        for (const Run& r : p.runs)
            gbkBytes += gbk::encode(r.text).size();
        doc.paragraphs.push_back(std::move(p));
        ++line;
    }
    return doc;
}

} // namespace bench
