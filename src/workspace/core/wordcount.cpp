#include "workspace/core/wordcount.h"

#include <QStringEncoder>

#include <memory>

namespace workspace {

namespace {

void countBytes(QByteArrayView bytes, WordCount& count) {
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80)
            ++count.wide;
        else if (b >= 0x21 && b <= 0x7E)
            ++count.other;
    }
}

} // namespace

WordCount countWords(QStringView text) {
    WordCount count;
    // The converter's error flag survives resetState(), and a moved converter reports
    // into the old object, so after an error a new one is made in place.
    auto fresh = [] {
        return std::make_unique<QStringEncoder>("GBK", QStringConverter::Flag::Stateless);
    };
    auto encoder = fresh();
    QByteArray bytes = encoder->encode(text);
    if (!encoder->hasError()) {
        countBytes(bytes, count);
        return count;
    }
    encoder = fresh();
    // Some characters have no GBK code (line separators, rare ideographs, emoji):
    // count the rest byte by byte and those as what they are.
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringView one = text.mid(i, n);
        i += n;
        bytes = encoder->encode(one);
        if (!encoder->hasError()) {
            countBytes(bytes, count);
            continue;
        }
        encoder = fresh();
        const char32_t cp = n == 2 ? QChar::surrogateToUcs4(one[0], one[1]) : one[0].unicode();
        const auto category = QChar::category(cp);
        const bool blank = QChar::isSpace(cp) || category == QChar::Other_Control ||
                           category == QChar::Other_Format || category == QChar::Other_Surrogate;
        if (!blank)
            count.wide += 2;
    }
    return count;
}

void updateResultLines(const WordCount& count, QString* line1, QString* line2) {
    if (count.wide > 0)
        *line1 = QStringLiteral("您的诗词字数为：") + QString::number(count.characters());
    if (count.other > 0)
        *line2 = QStringLiteral("输入了 ") + QString::number(count.other) +
                 QStringLiteral(" 个英文字符");
}

} // namespace workspace
