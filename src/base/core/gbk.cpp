#include "base/core/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

QString decode(QByteArrayView bytes, bool* ok) {
    QStringDecoder gbkDecoder("GBK", QStringConverter::Flag::Stateless);
    QString text = gbkDecoder.decode(bytes);
    bool clean = !gbkDecoder.hasError();
    if (!clean) {
        // Only a byte sequence GBK cannot read brings us here: either a four-byte
        // GB18030 sequence of our own writing, or damaged bytes. GB18030 reads every
        // GBK character the same way and also the four-byte forms.
        QStringDecoder gb18030("GB18030", QStringConverter::Flag::Stateless);
        QString wide = gb18030.decode(bytes);
        clean = !gb18030.hasError();
        if (clean ||
            wide.count(QChar::ReplacementCharacter) < text.count(QChar::ReplacementCharacter))
            text = wide;
    }
    if (endsInsideCharacter(bytes)) {
        // The converter keeps a dangling lead byte as pending state; for whole
        // texts that is a cut-off character, shown like any other damage.
        text += QChar(QChar::ReplacementCharacter);
        clean = false;
    }
    if (ok)
        *ok = clean;
    return text;
}

QByteArray encode(QStringView text, bool* exact) {
    QStringEncoder gbkEncoder("GBK");
    QByteArray out = gbkEncoder.encode(text);
    bool clean = !gbkEncoder.hasError();
    if (!clean) {
        // Encode character by character: what GBK holds as GBK, the rest as GB18030.
        // A converter keeps its error flag even after resetState(), so each character
        // that needs checking gets a fresh one.
        out.clear();
        qsizetype i = 0;
        while (i < text.size()) {
            if (text[i].unicode() < 0x80) {
                out += char(text[i].unicode());
                ++i;
                continue;
            }
            qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QStringView one = text.mid(i, n);
            QStringEncoder single("GBK");
            QByteArray bytes = single.encode(one);
            if (single.hasError()) {
                QStringEncoder wide("GB18030");
                bytes = wide.encode(one);
            }
            out += bytes;
            i += n;
        }
    }
    if (exact)
        *exact = clean;
    return out;
}

bool representable(QStringView text) {
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder.encode(text); // encode() is lazy until converted
    return !encoder.hasError();
}

QByteArrayView truncated(QByteArrayView bytes, qsizetype maxBytes) {
    qsizetype cut = 0;
    while (cut < bytes.size() && cut + charLength(bytes, cut) <= maxBytes)
        cut += charLength(bytes, cut);
    return bytes.first(cut);
}

QString decodeTextFile(QByteArrayView bytes, bool* ok) {
    auto decodeWith = [&](QStringConverter::Encoding encoding, QByteArrayView data) {
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
        QString text = decoder.decode(data);
        if (ok)
            *ok = !decoder.hasError();
        return text;
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, bytes.sliced(2));

    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            if (ok)
                *ok = true;
            return text;
        }
    }
    return decode(bytes, ok);
}

} // namespace gbk
