#pragma once
// Turns the bytes of an RTF document into tokens: group braces, control words with
// their parameter, control symbols, \'xx escapes and runs of text bytes. It knows the
// syntax only; what a word means is the reader's business.

#include <QByteArray>
#include <QByteArrayView>

#include <string_view>

class QIODevice;

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

// A token's `text` stays valid until the next call.
class Scanner {
  public:
    // Leading white space before the document's opening brace is passed over.
    explicit Scanner(QByteArrayView data);
    // Scans what `device` gives from its position on, reading a part at a time as the
    // scan goes, so that only about one part is held. A run of text that goes on past
    // the part read comes as two Text tokens.
    explicit Scanner(QIODevice* device);

    Token next();
    // Passes over `count` bytes of binary data after \binN; false when fewer are left
    // (the scanner is at the end then).
    bool skipBinary(qint64 count);
    // True when the bytes not yet scanned start with `prefix`.
    bool startsWith(QByteArrayView prefix);
    // The bytes not yet scanned, a part at a time; empty at the end.
    QByteArrayView takeRest();
    void stop();
    // True when the device could not be read to its end.
    bool readFailed() const { return m_readFailed; }

  private:
    Token controlWord();
    void skipWhiteSpace();
    // Whether the byte `ahead` places after the current one is there, reading on when
    // that is needed; the bytes from m_kept on stay.
    bool has(qsizetype ahead) { return m_pos + ahead < m_data.size() || readMore(ahead); }
    bool readMore(qsizetype ahead);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    QIODevice* m_device = nullptr;
    QByteArray m_buffer;  // what was read from the device, which m_data views (a move keeps it)
    qsizetype m_kept = 0; // the start of the token being scanned
    bool m_readFailed = false;
};

} // namespace workspace::rtf
