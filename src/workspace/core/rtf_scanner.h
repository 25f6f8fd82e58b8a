#pragma once
// Turns the bytes of an RTF document into tokens: group braces, control words with
// their parameter, control symbols, \'xx escapes and runs of text bytes. It knows the
// syntax only; what a word means is the reader's business.

#include <QByteArrayView>

#include <string_view>

namespace workspace::rtf {

struct Token {
    enum class Kind {
        End,           // no bytes left
        GroupOpen,     // {
        GroupClose,    // }
        ControlWord,   // \word or \word-123: `text` holds the letters
        ControlSymbol, // \ and one character that is not a letter: `symbol`
        HexByte,       // \'xx: `byte`
        BrokenHex,     // \' without two hex digits after it
        Text,          // bytes up to the next brace, backslash or line end: `text`
        CutOff,        // the input ends inside a control word
    };
    Kind kind = Kind::End;
    std::string_view text;
    bool hasParam = false;
    int param = 0;
    char symbol = 0;
    unsigned char byte = 0;
};

class Scanner {
  public:
    // Leading white space before the document's opening brace is passed over.
    explicit Scanner(QByteArrayView data);

    Token next();
    // Passes over `count` bytes of binary data after \binN; false when fewer are left
    // (the scanner is at the end then).
    bool skipBinary(qint64 count);
    // The bytes not yet scanned, and a way to stop scanning.
    QByteArrayView rest() const { return m_data.sliced(m_pos); }
    void stop() { m_pos = m_data.size(); }

  private:
    Token controlWord();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

} // namespace workspace::rtf
