#pragma once
// GBK (code page 936) text, the encoding of every file the program reads and writes.

#include "base/core/text_pieces.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>

namespace gbk {

// Decodes GBK bytes. Bytes that form no GBK character become U+FFFD (shown, never
// dropped); four-byte GB18030 sequences, which encode() writes for characters GBK
// lacks, decode back to those characters. `ok`, when given, is false if any byte
// could not be decoded. decode(encode(t)) == t for every text t.
QString decode(QByteArrayView bytes, bool* ok = nullptr);

// Encodes text as GBK. A character GBK lacks (an emoji, a rare ideograph) is written
// as its four-byte GB18030 sequence, GBK's standard superset, so no text is lost and
// decode() brings it back. `exact`, when given, is false if any such character occurred.
QByteArray encode(QStringView text, bool* exact = nullptr);

// True when every character of `text` has a GBK code.
bool representable(QStringView text);

// Length in bytes of the GBK character starting at bytes[i] (1 or 2; 4 for a GB18030
// four-byte sequence), used where a byte limit must not split a character.
qsizetype charLength(QByteArrayView bytes, qsizetype i);

// The longest prefix of `bytes` of at most `maxBytes` that does not cut a character.
QByteArrayView truncated(QByteArrayView bytes, qsizetype maxBytes);

// The text of a text file of either platform: UTF-8 or UTF-16 when a byte-order mark
// says so; otherwise UTF-8 when the bytes are valid UTF-8 (a file saved by an editor),
// unless GBK, the program's own encoding, reads them as far more plausible Chinese: a
// short GBK text can be valid UTF-8 too (喜迁莺 in GBK reads as ϲǨݺ). Bytes that are
// not UTF-8 are GBK. `ok` is false when some bytes could not be decoded (they show
// as U+FFFD).
QString decodeTextFile(QByteArrayView bytes, bool* ok = nullptr);

// The encoding decodeTextFile() reads `bytes` in; `markLength`, when given, is the
// length of the byte-order mark before the text (0 when there is none).
enum class TextEncoding { Gbk, Utf8, Utf16LE, Utf16BE };
TextEncoding textFileEncoding(QByteArrayView bytes, qsizetype* markLength = nullptr);

// The text decodeTextFile() gives, handed to `piece` a part at a time (each but the
// last ending with a line end), for files too large to hold as text at once. Returns
// false when some bytes could not be decoded.
bool decodeTextFilePieces(QByteArrayView bytes, const std::function<void(const QString&)>& piece);

// Both of the above for a text in a file, which is read a piece at a time and never
// held whole; the caller asks `text` afterwards whether it could be read to its end.
TextEncoding textFileEncoding(text_pieces::Source& text, qsizetype* markLength = nullptr);
bool decodeTextFilePieces(text_pieces::Source& text,
                          const std::function<void(const QString&)>& piece);

// A converter between GB18030 bytes and text, as the system provides it.
struct Converter {
    virtual ~Converter() = default;
    virtual QByteArray toBytes(QStringView text) const = 0;
    virtual QString toText(QByteArrayView bytes) const = 0;
};
// The characters of the Basic Multilingual Plane that `encoder` writes with bytes that
// `decoder` reads as something else, each with bytes that `decoder` reads as it (none
// where no bytes do). encode() writes these in place of what the system's converter
// gives, so that every character written reads back as itself.
using RoundTripRepairs = QHash<char16_t, QByteArray>;
RoundTripRepairs findRoundTripRepairs(const Converter& encoder, const Converter& decoder);

} // namespace gbk
