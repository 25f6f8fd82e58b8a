#include "workspace/core/rtf_scanner.h"

#include <QIODevice>

#include <algorithm>
#include <climits>
#include <cstring>

namespace workspace::rtf {

namespace {

// A longer run of letters is cut into words of this length.
constexpr int MaxWordLetters = 32;

// How much is read from a device at a time.
constexpr qsizetype ReadBytes = qsizetype(64) << 10;

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
    skipWhiteSpace();
}

Scanner::Scanner(QIODevice* device) : m_device(device) {
    skipWhiteSpace();
}

void Scanner::skipWhiteSpace() {
    for (;;) {
        while (m_pos < m_data.size() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t' ||
                                         m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
            ++m_pos;
        m_kept = m_pos;
        if (m_pos < m_data.size() || !readMore(0))
            return;
    }
}

// The bytes before the token being scanned are let go before the next part is read, so
// offsets into the token are kept from its start (m_kept), which moves.
bool Scanner::readMore(qsizetype ahead) {
    while (m_device) {
        if (m_kept > 0) {
            // Moved to the front by hand: QByteArray::remove(0, n) leaves the room at the
            // front, and the next resize() grows the allocation instead of reusing it.
            const qsizetype left = m_buffer.size() - m_kept;
            std::memmove(m_buffer.data(), m_buffer.constData() + m_kept, size_t(left));
            m_buffer.resize(left);
            m_pos -= m_kept;
            m_kept = 0;
        }
        const qsizetype held = m_buffer.size();
        m_buffer.resize(held + ReadBytes);
        const qint64 got = m_device->read(m_buffer.data() + held, ReadBytes);
        m_buffer.resize(held + std::max<qint64>(got, 0));
        m_data = m_buffer;
        if (got <= 0) {
            m_readFailed = got < 0;
            m_device = nullptr;
        }
        if (m_pos + ahead < m_data.size())
            return true;
    }
    return false;
}

Token Scanner::next() {
    // Line ends in RTF are not text; they only make the file readable.
    for (;;) {
        while (m_pos < m_data.size() && (m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
            ++m_pos;
        m_kept = m_pos;
        if (m_pos < m_data.size() || !readMore(0))
            break;
    }
    if (m_pos >= m_data.size())
        return {};
    const char c = m_data[m_pos++];
    switch (c) {
    case '{':
        return {.kind = Token::Kind::GroupOpen};
    case '}':
        return {.kind = Token::Kind::GroupClose};
    case '\\':
        if (!has(0))
            return {.kind = Token::Kind::CutOff};
        if (isLetter(m_data[m_pos]))
            return controlWord();
        if (m_data[m_pos] == '\'') {
            ++m_pos;
            const int hi = has(0) ? hexValue(m_data[m_pos]) : -1;
            const int lo = has(1) ? hexValue(m_data[m_pos + 1]) : -1;
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
        // Up to the end of what was read: the rest of the run comes as the next token.
        const qsizetype start = m_pos - 1;
        while (m_pos < m_data.size() && !endsText(m_data[m_pos]))
            ++m_pos;
        return {.kind = Token::Kind::Text,
                .text = std::string_view(m_data.data() + start, size_t(m_pos - start))};
    }
    }
}

Token Scanner::controlWord() {
    const qsizetype start = m_pos - m_kept; // from the backslash, which reading on moves
    while (has(0) && isLetter(m_data[m_pos]) && m_pos - (m_kept + start) < MaxWordLetters)
        ++m_pos;
    const qsizetype letters = m_pos - (m_kept + start);
    bool negative = false;
    bool hasParam = false;
    long long value = 0;
    if (has(0) && m_data[m_pos] == '-' && has(1) && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    while (has(0) && isDigit(m_data[m_pos])) {
        hasParam = true;
        if (value < INT_MAX)
            value = value * 10 + (m_data[m_pos] - '0');
        ++m_pos;
    }
    if (!has(0) || (!has(1) && m_data[m_pos] == '-')) {
        // Cut off: the word may have lost letters or digits.
        stop();
        return {.kind = Token::Kind::CutOff};
    }
    if (negative)
        value = -value;
    // Only now that nothing more is read may the word's letters be pointed at.
    Token word{.kind = Token::Kind::ControlWord,
               .text = std::string_view(m_data.data() + m_kept + start, size_t(letters)),
               .hasParam = hasParam,
               .param = int(std::clamp<long long>(value, INT_MIN, INT_MAX))};
    if (m_data[m_pos] == ' ')
        ++m_pos; // the space that ends a word belongs to it
    return word;
}

bool Scanner::skipBinary(qint64 count) {
    while (count > m_data.size() - m_pos) {
        count -= m_data.size() - m_pos;
        m_pos = m_kept = m_data.size();
        if (!readMore(0)) {
            stop();
            return false;
        }
    }
    m_pos += count;
    return true;
}

bool Scanner::startsWith(QByteArrayView prefix) {
    has(prefix.size() - 1);
    return m_data.sliced(m_pos).startsWith(prefix);
}

QByteArrayView Scanner::takeRest() {
    m_kept = m_pos;
    if (!has(0))
        return {};
    const QByteArrayView rest = m_data.sliced(m_pos);
    m_pos = m_kept = m_data.size();
    return rest;
}

void Scanner::stop() {
    m_pos = m_data.size();
    m_device = nullptr;
}

} // namespace workspace::rtf
