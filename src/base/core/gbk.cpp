#include "base/core/gbk.h"
#include "base/core/text_pieces.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <bitset>
#include <optional>

namespace gbk {

namespace {

bool isLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

bool isFourByte(QByteArrayView b, qsizetype i) {
    if (i + 3 >= b.size())
        return false;
    auto c1 = static_cast<unsigned char>(b[i + 1]);
    auto c2 = static_cast<unsigned char>(b[i + 2]);
    auto c3 = static_cast<unsigned char>(b[i + 3]);
    return isLead(static_cast<unsigned char>(b[i])) && c1 >= 0x30 && c1 <= 0x39 && isLead(c2) &&
           c3 >= 0x30 && c3 <= 0x39;
}

bool endsInsideCharacter(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (isLead(c) && i + 1 == bytes.size())
            return true;
        i += charLength(bytes, i);
    }
    return false;
}

} // namespace

qsizetype charLength(QByteArrayView bytes, qsizetype i) {
    auto c = static_cast<unsigned char>(bytes[i]);
    if (!isLead(c) || i + 1 >= bytes.size())
        return 1;
    if (isFourByte(bytes, i))
        return 4;
    return 2;
}

// Both directions go through GB18030, GBK's standard superset: its two-byte codes are
// GBK's, and it gives the 81 characters that GBK tables list as private-use code points
// (ǹ, ḿ, the CJK radicals, the ideographic description characters, a few Ext-A
// ideographs) their proper code points, so every one of them reads back as written.
// The one GBK code GB18030 lacks is the single byte 0x80, the euro sign of code page
// 936: it is written and read apart.

QString decode(QByteArrayView bytes, bool* ok) {
    // Opening the converter by name costs more than decoding a short run, and the RTF
    // reader decodes one run at a time: each thread keeps one while it stays clean.
    thread_local std::optional<QStringDecoder> kept;
    if (!kept)
        kept.emplace("GB18030", QStringConverter::Flag::Stateless);
    QStringDecoder& decoder = *kept;
    QString text; // null, so that the usual single decode below is taken over, not copied
    qsizetype start = 0;
    if (bytes.contains('\x80')) {
        text.reserve(bytes.size());
        for (qsizetype i = 0; i < bytes.size(); i += charLength(bytes, i)) {
            if (static_cast<unsigned char>(bytes[i]) != 0x80)
                continue;
            text += decoder.decode(bytes.sliced(start, i - start));
            text += QChar(0x20AC);
            start = i + 1;
        }
    }
    text += decoder.decode(bytes.sliced(start));
    bool clean = !decoder.hasError();
    if (endsInsideCharacter(bytes)) {
        // The converter keeps a dangling lead byte as pending state; for whole
        // texts that is a cut-off character, shown like any other damage.
        text += QChar(QChar::ReplacementCharacter);
        clean = false;
    }
    if (!clean) // its error, or a dangling lead byte, would carry over to the next text
        kept.reset();
    if (ok)
        *ok = clean;
    return text;
}

RoundTripRepairs findRoundTripRepairs(const Converter& encoder, const Converter& decoder) {
    RoundTripRepairs found;
    QString all;
    all.reserve(0x10000);
    for (char32_t u = 0x80; u < 0x10000; ++u) {
        if (!QChar::isSurrogate(u) && u != 0x20AC)
            all += QChar(char16_t(u));
    }
    const QByteArray bytes = encoder.toBytes(all);
    const QString back = decoder.toText(bytes);
    // Most often every character comes back in place and one comparison says so.
    if (back == all)
        return found;
    QList<char16_t> astray;
    qsizetype at = 0;
    for (QChar c : all) {
        const qsizetype n = charLength(bytes, at);
        if (decoder.toText(bytes.sliced(at, n)) != QString(c))
            astray << c.unicode();
        at += n;
    }
    if (astray.isEmpty())
        return found;
    // The bytes the converter reads as each of them: among the two-byte codes and the
    // four-byte codes of the Basic Multilingual Plane, whichever reads back as the
    // character and is written back the same way.
    QHash<char16_t, QByteArray> reads;
    auto consider = [&](std::initializer_list<int> codeBytes) {
        QByteArray code;
        for (int b : codeBytes)
            code += char(b);
        const QString text = decoder.toText(code);
        if (text.size() == 1 && !reads.contains(text[0].unicode()))
            reads.insert(text[0].unicode(), code);
    };
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F)
                consider({lead, trail});
        }
    }
    for (int linear = 0; linear < 39420; ++linear) {
        consider({0x81 + linear / 12600, 0x30 + linear / 1260 % 10, 0x81 + linear / 10 % 126,
                  0x30 + linear % 10});
    }
    for (char16_t u : astray) {
        if (auto code = reads.constFind(u); code != reads.cend())
            found.insert(u, *code);
    }
    return found;
}

namespace {

struct SystemConverter : Converter {
    QByteArray toBytes(QStringView text) const override {
        QStringEncoder encoder("GB18030");
        return encoder.encode(text);
    }
    QString toText(QByteArrayView bytes) const override { return decode(bytes); }
};

// The characters the converter of this system writes with bytes it reads as another
// character, and the bytes to write instead, found once per run. Some converter versions
// write a few private-use code points with the two-byte code of the ideograph that took
// their place (U+E84F as FE 8B, which reads as U+4986); other versions, none.
struct Repairs {
    RoundTripRepairs bytes;
    std::bitset<0x10000> marked;
};

const Repairs& repairs() {
    static const Repairs found = [] {
        Repairs r;
        const SystemConverter system;
        r.bytes = findRoundTripRepairs(system, system);
        for (auto it = r.bytes.cbegin(); it != r.bytes.cend(); ++it)
            r.marked.set(it.key());
        return r;
    }();
    return found;
}

} // namespace

QByteArray encode(QStringView text, bool* exact) {
    QStringEncoder encoder("GB18030");
    const Repairs& written = repairs();
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != 0x20AC && !written.marked.test(c))
            continue;
        out += encoder.encode(text.sliced(start, i - start));
        out += c == 0x20AC ? QByteArray("\x80") : written.bytes.value(c);
        start = i + 1;
    }
    out += encoder.encode(text.sliced(start));
    if (exact) {
        *exact = true;
        for (qsizetype i = 0; i < out.size(); i += charLength(out, i)) {
            if (charLength(out, i) == 4) {
                *exact = false;
                break;
            }
        }
    }
    return out;
}

bool representable(QStringView text) {
    bool exact = true;
    encode(text, &exact);
    return exact;
}

QByteArrayView truncated(QByteArrayView bytes, qsizetype maxBytes) {
    qsizetype cut = 0;
    while (cut < bytes.size() && cut + charLength(bytes, cut) <= maxBytes)
        cut += charLength(bytes, cut);
    return bytes.first(cut);
}

namespace {

// How plausible GBK bytes are as Chinese text: the mean weight of their non-ASCII
// characters, where the common ideographs (GB 2312 level 1) and the punctuation rows
// count fully, the less common level 2 half, and everything else (rare ideographs,
// Greek, kana, box drawing, characters beyond GBK) not at all. Kept as sums so that
// a text can be weighed piece by piece.
struct ChineseShare {
    double weight = 0;
    qsizetype count = 0;

    void add(QByteArrayView bytes) {
        for (qsizetype i = 0; i < bytes.size(); i += charLength(bytes, i)) {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            if (lead < 0x80)
                continue;
            ++count;
            if (charLength(bytes, i) != 2)
                continue;
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (trail < 0xA1)
                continue;
            if ((lead >= 0xB0 && lead <= 0xD7) || lead == 0xA1 || lead == 0xA3)
                weight += 1;
            else if (lead >= 0xD8 && lead <= 0xF7)
                weight += 0.5;
        }
    }
    double value() const { return count == 0 ? 0 : weight / double(count); }

    // Counts the letters of an alphabet (é in café, the letters of a Cyrillic word)
    // that stand beside a letter of the same script, as plausible as Chinese: the
    // characters themselves were already counted, without weight, by add().
    void addWordLetters(QStringView text) {
        auto sameScriptLetter = [&](qsizetype i, QChar::Script script) {
            return i >= 0 && i < text.size() && text[i].isLetter() && text[i].script() == script;
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.unicode() < 0x80 || !c.isLetter() || c.script() == QChar::Script_Han)
                continue;
            if (sameScriptLetter(i - 1, c.script()) || sameScriptLetter(i + 1, c.script()))
                weight += 1;
        }
    }
};

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QStringConverter::Encoding converterOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringConverter::Utf8;
    case TextEncoding::Utf16LE:
        return QStringConverter::Utf16LE;
    case TextEncoding::Utf16BE:
        return QStringConverter::Utf16BE;
    case TextEncoding::Gbk:
        break;
    }
    return QStringConverter::Utf8;
}

// The line feed after which a text in `encoding` may be cut into pieces.
text_pieces::LineFeed lineFeedOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return text_pieces::LineFeed::Utf16LE;
    case TextEncoding::Utf16BE:
        return text_pieces::LineFeed::Utf16BE;
    case TextEncoding::Gbk:
    case TextEncoding::Utf8:
        break;
    }
    return text_pieces::LineFeed::Byte;
}

} // namespace

TextEncoding textFileEncoding(QByteArrayView bytes, qsizetype* markLength) {
    text_pieces::Source text(bytes);
    return textFileEncoding(text, markLength);
}

TextEncoding textFileEncoding(text_pieces::Source& text, qsizetype* markLength) {
    auto marked = [&](TextEncoding encoding, qsizetype length) {
        if (markLength)
            *markLength = length;
        return encoding;
    };
    const QByteArray head = text.head(3);
    if (head.startsWith("\xEF\xBB\xBF"))
        return marked(TextEncoding::Utf8, 3);
    if (head.startsWith("\xFF\xFE"))
        return marked(TextEncoding::Utf16LE, 2);
    if (head.startsWith("\xFE\xFF"))
        return marked(TextEncoding::Utf16BE, 2);
    if (markLength)
        *markLength = 0;

    // Both readings are tried piece by piece, and only their verdicts kept, so that a
    // large file is never held as text twice over. A piece of ASCII reads the same
    // either way and weighs nothing: it is passed over, and a text of nothing else is
    // GBK, the program's own encoding.
    bool ascii = true;
    bool gbkClean = true;
    ChineseShare gbkShare;
    ChineseShare utf8Share;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // Only to weigh the UTF-8 reading by the GBK rows its characters fall in: the plain
    // converter does, without encode()'s search for the characters it writes astray. Opened
    // at the first piece that needs it.
    std::optional<QStringEncoder> asGbk;
    text.forEach(0, text_pieces::LineFeed::Byte, [&](QByteArrayView piece) {
        if (isAscii(piece))
            return true;
        ascii = false;
        bool clean = true;
        decode(piece, &clean);
        gbkClean = gbkClean && clean;
        gbkShare.add(piece);
        if (utf8.hasError())
            return true;
        const QString asUtf8 = utf8.decode(piece);
        if (!utf8.hasError()) {
            if (!asGbk)
                asGbk.emplace("GB18030");
            utf8Share.add(QByteArray(asGbk->encode(asUtf8)));
            utf8Share.addWordLetters(asUtf8);
        }
        return true;
    });
    if (ascii)
        return TextEncoding::Gbk;
    // Valid UTF-8 is UTF-8, unless GBK reads the same bytes as far more plausible
    // Chinese (a short GBK text that happens to be valid UTF-8 as well).
    if (utf8.hasError())
        return TextEncoding::Gbk;
    if (gbkClean && gbkShare.value() >= 0.5 && gbkShare.value() > 2 * utf8Share.value())
        return TextEncoding::Gbk;
    return TextEncoding::Utf8;
}

bool decodeTextFilePieces(QByteArrayView bytes, const std::function<void(const QString&)>& piece) {
    text_pieces::Source text(bytes);
    return decodeTextFilePieces(text, piece);
}

bool decodeTextFilePieces(text_pieces::Source& text,
                          const std::function<void(const QString&)>& piece) {
    qsizetype mark = 0;
    const TextEncoding encoding = textFileEncoding(text, &mark);
    bool clean = true;
    if (encoding == TextEncoding::Gbk) {
        text.forEach(mark, text_pieces::LineFeed::Byte, [&](QByteArrayView part) {
            bool ok = true;
            piece(decode(part, &ok));
            clean = clean && ok;
            return true;
        });
        return clean;
    }
    // One decoder for all the pieces: each ends with a whole line, so none leaves it
    // waiting for the rest of a character.
    QStringDecoder decoder(converterOf(encoding), QStringConverter::Flag::Stateless);
    text.forEach(mark, lineFeedOf(encoding), [&](QByteArrayView part) {
        piece(decoder.decode(part));
        return true;
    });
    return !decoder.hasError();
}

QString decodeTextFile(QByteArrayView bytes, bool* ok) {
    qsizetype mark = 0;
    const TextEncoding encoding = textFileEncoding(bytes, &mark);
    bytes = bytes.sliced(mark);
    if (encoding == TextEncoding::Gbk)
        return decode(bytes, ok);
    QStringDecoder decoder(converterOf(encoding), QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (ok)
        *ok = !decoder.hasError();
    return text;
}

} // namespace gbk
