#include "workspace/core/rtf_scanner.h"

#include <algorithm>
#include <climits>

namespace workspace::rtf {

namespace {

// A longer run of letters is cut into words of this length.
constexpr int MaxWordLetters = 32;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool endsText(char c) {
    return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n';
}

} // namespace

Scanner::Scanner(QByteArrayView data) : m_data(data) {
    while (m_pos < m_data.size() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t' ||
                                     m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
        ++m_pos;
}

Token Scanner::next() {
    const qsizetype n = m_data.size();
    // Line ends in RTF are not text; they only make the file readable.
    while (m_pos < n && (m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
        ++m_pos;
    if (m_pos >= n)
        return {};
    const char c = m_data[m_pos++];
    switch (c) {
    case '{':
        return {.kind = Token::Kind::GroupOpen};
    case '}':
        return {.kind = Token::Kind::GroupClose};
    case '\\':
        if (m_pos >= n)
            return {.kind = Token::Kind::CutOff};
        if (isLetter(m_data[m_pos]))
            return controlWord();
        if (m_data[m_pos] == '\'') {
            ++m_pos;
            const int hi = m_pos < n ? hexValue(m_data[m_pos]) : -1;
            const int lo = m_pos + 1 < n ? hexValue(m_data[m_pos + 1]) : -1;
            if (hi < 0 || lo < 0) {
                if (hi >= 0)
                    ++m_pos; // half an escape is not text
                return {.kind = Token::Kind::BrokenHex};
            }
            m_pos += 2;
            return {.kind = Token::Kind::HexByte, .byte = static_cast<unsigned char>(hi * 16 + lo)};
        }
        return {.kind = Token::Kind::ControlSymbol, .symbol = m_data[m_pos++]};
    default: {
        const qsizetype start = m_pos - 1;
        while (m_pos < n && !endsText(m_data[m_pos]))
            ++m_pos;
        return {.kind = Token::Kind::Text,
                .text = std::string_view(m_data.data() + start, size_t(m_pos - start))};
    }
    }
}

Token Scanner::controlWord() {
    const qsizetype n = m_data.size();
    const qsizetype start = m_pos;
    while (m_pos < n && isLetter(m_data[m_pos]) && m_pos - start < MaxWordLetters)
        ++m_pos;
    Token word{.kind = Token::Kind::ControlWord,
               .text = std::string_view(m_data.data() + start, size_t(m_pos - start))};
    bool negative = false;
    long long value = 0;
    if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    while (m_pos < n && isDigit(m_data[m_pos])) {
        word.hasParam = true;
        if (value < INT_MAX)
            value = value * 10 + (m_data[m_pos] - '0');
        ++m_pos;
    }
    if (m_pos >= n || (m_pos + 1 == n && m_data[m_pos] == '-')) {
        // Cut off: the word may have lost letters or digits.
        stop();
        return {.kind = Token::Kind::CutOff};
    }
    if (negative)
        value = -value;
    word.param = int(std::clamp<long long>(value, INT_MIN, INT_MAX));
    if (m_data[m_pos] == ' ')
        ++m_pos; // the space that ends a word belongs to it
    return word;
}

bool Scanner::skipBinary(qint64 count) {
    if (count > m_data.size() - m_pos) {
        stop();
        return false;
    }
    m_pos += count;
    return true;
}

} // namespace workspace::rtf
