#include "workspace/core/rtfwriter.h"

#include "base/core/gbk.h"

#include <QIODevice>
#include <QStringEncoder>

#include <memory>

namespace workspace {

namespace {

// The face the control falls back to when a run names none: the documents' default.
const QString DefaultFont = QStringLiteral("宋体");
constexpr int RtfDefaultHalfPoints = 24;

const char Hex[] = "0123456789abcdef";

class Writer {
  public:
    QByteArray write(const RichDocument& doc);

  private:
    int fontIndex(const QString& name) const {
        return int(m_fonts.indexOf(name.isEmpty() ? DefaultFont : name));
    }
    int colourIndex(const std::optional<Rgb>& colour) const;
    void word(const char* w) {
        m_out += w;
        m_delimit = true;
    }
    void word(const char* w, int n) {
        m_out += w;
        m_out += QByteArray::number(n);
        m_delimit = true;
    }
    void text(QStringView text);
    void hexByte(unsigned char b) {
        m_out += "\\'";
        m_out += Hex[b >> 4];
        m_out += Hex[b & 15];
        m_delimit = false;
    }
    void plain(char c) {
        // A space after a control word would be taken as its delimiter, a letter or
        // digit as part of it.
        if (m_delimit)
            m_out += ' ';
        m_out += c;
        m_delimit = false;
    }

    void ascii(char c) {
        if (m_inFontName && (c == ';' || c < 0x20)) {
            // In a font name ';' would end the entry and \tab means nothing.
            hexByte(static_cast<unsigned char>(c));
        } else if (c == '\\' || c == '{' || c == '}') {
            if (m_delimit)
                m_out += ' ';
            m_out += '\\';
            m_out += c;
            m_delimit = false;
        } else if (c == '\t') {
            word("\\tab");
        } else if (c >= 0x20 && c < 0x7F) {
            plain(c);
        } else {
            hexByte(static_cast<unsigned char>(c)); // control characters, kept
        }
    }

    QByteArray m_out;
    bool m_delimit = false;
    bool m_inFontName = false;
    QStringList m_fonts;
    std::vector<Rgb> m_colours;
    // The converter's error flag survives resetState(), and a moved converter reports
    // into the old object, so after an error a new one is made in place.
    void freshEncoder() {
        m_encoder = std::make_unique<QStringEncoder>("GBK", QStringConverter::Flag::Stateless);
    }
    std::unique_ptr<QStringEncoder> m_encoder =
        std::make_unique<QStringEncoder>("GBK", QStringConverter::Flag::Stateless);
};

int Writer::colourIndex(const std::optional<Rgb>& colour) const {
    if (!colour)
        return 0;
    for (size_t i = 0; i < m_colours.size(); ++i)
        if (m_colours[i] == *colour)
            return int(i) + 1;
    return 0;
}

void Writer::text(QStringView s) {
    // Most runs are all GBK: encode them at once and escape the bytes.
    QByteArray whole = m_encoder->encode(s);
    const bool clean = !m_encoder->hasError();
    if (!clean)
        freshEncoder();
    if (clean) {
        for (qsizetype i = 0; i < whole.size(); ++i) {
            const auto b = static_cast<unsigned char>(whole[i]);
            if (b >= 0x81 && i + 1 < whole.size()) {
                hexByte(b);
                hexByte(static_cast<unsigned char>(whole[++i]));
            } else if (b >= 0x80) {
                hexByte(b);
            } else {
                ascii(char(b));
            }
        }
        return;
    }
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x80) {
            ascii(char(c));
        } else if (c == QChar::LineSeparator && !m_inFontName) {
            word("\\line");
        } else {
            const bool pair =
                QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate();
            QStringView one = s.mid(i, pair ? 2 : 1);
            QByteArray bytes = m_encoder->encode(one);
            if (m_encoder->hasError()) {
                freshEncoder();
                bytes.clear();
            }
            if (!bytes.isEmpty()) {
                for (char b : bytes)
                    hexByte(static_cast<unsigned char>(b));
            } else {
                // \uN? with N as a signed 16-bit number, '?' being the one fallback
                // character that \uc1 announces.
                for (QChar unit : one) {
                    word("\\u", int(qint16(unit.unicode())));
                    m_out += '?';
                    m_delimit = false;
                }
            }
            if (pair)
                ++i;
        }
    }
}

QByteArray Writer::write(const RichDocument& doc) {
    m_fonts = {DefaultFont};
    for (const Paragraph& p : doc.paragraphs) {
        for (const Run& r : p.runs) {
            QString name = r.format.font.isEmpty() ? DefaultFont : r.format.font;
            if (!m_fonts.contains(name))
                m_fonts << name;
            if (r.format.colour && colourIndex(r.format.colour) == 0)
                m_colours.push_back(*r.format.colour);
        }
    }

    m_out.reserve(qsizetype(doc.paragraphs.size()) * 64 + 256);
    m_out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
        m_delimit = false;
        m_inFontName = true;
        text(m_fonts[i]);
        m_inFontName = false;
        m_out += ";}";
    }
    m_out += "}\r\n";
    if (!m_colours.empty()) {
        m_out += "{\\colortbl ;";
        for (const Rgb& c : m_colours)
            m_out += "\\red" + QByteArray::number(c.red) + "\\green" + QByteArray::number(c.green) +
                     "\\blue" + QByteArray::number(c.blue) + ';';
        m_out += "}\r\n";
    }
    m_out += "\\viewkind4\\uc1\\pard";
    m_delimit = true;

    // What the RTF stream says at this point, so only changes are written.
    CharFormat now;
    now.font = DefaultFont;
    now.halfPoints = RtfDefaultHalfPoints;
    Alignment alignment = Alignment::Left;
    bool first = true;

    for (const Paragraph& p : doc.paragraphs) {
        if (p.alignment != alignment) {
            if (!first)
                word("\\pard");
            switch (p.alignment) {
            case Alignment::Left:
                break;
            case Alignment::Centre:
                word("\\qc");
                break;
            case Alignment::Right:
                word("\\qr");
                break;
            case Alignment::Justify:
                word("\\qj");
                break;
            }
            alignment = p.alignment;
        }
        first = false;
        for (const Run& r : p.runs) {
            const CharFormat& f = r.format;
            const QString font = f.font.isEmpty() ? DefaultFont : f.font;
            if (font != now.font) {
                word("\\f", fontIndex(font));
                now.font = font;
            }
            const int size = f.halfPoints > 0 ? f.halfPoints : RtfDefaultHalfPoints;
            if (size != now.halfPoints) {
                word("\\fs", size);
                now.halfPoints = size;
            }
            if (f.colour != now.colour) {
                word("\\cf", colourIndex(f.colour));
                now.colour = f.colour;
            }
            if (f.bold != now.bold)
                word(f.bold ? "\\b" : "\\b0");
            if (f.italic != now.italic)
                word(f.italic ? "\\i" : "\\i0");
            if (f.underline != now.underline)
                word(f.underline ? "\\ul" : "\\ulnone");
            now.bold = f.bold;
            now.italic = f.italic;
            now.underline = f.underline;
            text(r.text);
        }
        m_out += "\\par\r\n";
        m_delimit = false;
    }
    m_out += "}\r\n";
    return m_out;
}

} // namespace

QByteArray RtfWriter::toRtf(const RichDocument& doc) {
    return Writer().write(doc);
}

bool RtfWriter::write(const RichDocument& doc, QIODevice* device) {
    m_error.clear();
    const QByteArray bytes = toRtf(doc);
    if (!device || !device->isWritable()) {
        m_error = device ? device->errorString() : QStringLiteral("No device to write to.");
        if (m_error.isEmpty())
            m_error = QStringLiteral("The device is not open for writing.");
        return false;
    }
    if (device->write(bytes) != bytes.size()) {
        m_error = device->errorString();
        return false;
    }
    return true;
}

} // namespace workspace
