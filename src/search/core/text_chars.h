#pragma once
// Which characters of a poem are its words: the search ignores punctuation, spaces and
// symbols, except □, which the sources write for a lost character.

#include <QList>
#include <QString>

namespace search {

inline bool isWordChar(char32_t c) {
    if (c == U'□')
        return true;
    return !(QChar::isPunct(c) || QChar::isSpace(c) || QChar::isSymbol(c) || c < 0x20 ||
             QChar::category(c) == QChar::Other_Format);
}

// The characters of `text` as code points.
inline QList<char32_t> ucs4(QStringView text) {
    QList<char32_t> out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4())
        out.append(c);
    return out;
}

// The word characters of `text`, in order.
inline QList<char32_t> wordChars(QStringView text) {
    QList<char32_t> out;
    for (char32_t c : text.toUcs4()) {
        if (isWordChar(c))
            out.append(c);
    }
    return out;
}

} // namespace search
