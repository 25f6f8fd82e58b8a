#include "base/core/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

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
    QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    if (bytes.contains('\x80')) {
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
    if (ok)
        *ok = clean;
    return text;
}

QByteArray encode(QStringView text, bool* exact) {
    QStringEncoder encoder("GB18030");
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() != 0x20AC)
            continue;
        out += encoder.encode(text.sliced(start, i - start));
        out += '\x80';
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

// How plausible the GBK bytes are as Chinese text: the mean weight of their
// non-ASCII characters, where the common ideographs (GB 2312 level 1) and the
// punctuation rows count fully, the less common level 2 half, and everything else
// (rare ideographs, Greek, kana, box drawing, characters beyond GBK) not at all.
double chineseShare(QByteArrayView bytes) {
    double weight = 0;
    qsizetype count = 0;
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
    return count == 0 ? 0 : weight / double(count);
}

} // namespace

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

    bool gbkClean = true;
    QString text = decode(bytes, &gbkClean);
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString asUtf8 = utf8.decode(bytes);
        if (!utf8.hasError()) {
            // Valid UTF-8 wins when GBK cannot read the bytes, or when it reads them as
            // far less plausible Chinese than UTF-8 does.
            const double utf8Share = chineseShare(encode(asUtf8));
            if (!gbkClean || (utf8Share >= 0.5 && utf8Share > 2 * chineseShare(bytes))) {
                if (ok)
                    *ok = true;
                return asUtf8;
            }
        }
    }
    if (ok)
        *ok = gbkClean;
    return text;
}

} // namespace gbk
