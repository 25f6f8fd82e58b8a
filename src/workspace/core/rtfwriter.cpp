#include "workspace/core/rtfwriter.h"

#include "base/core/gbk.h"

#include <QIODevice>
#include <QStringEncoder>

#include <algorithm>
#include <memory>

namespace workspace {

// The face the control falls back to when a run names none: the documents' default.
const QString DefaultFont = QStringLiteral("宋体");
constexpr int RtfDefaultHalfPoints = 24;

const char Hex[] = "0123456789abcdef";

// Builds the RTF in a byte buffer, piece by piece: the tables, each paragraph, the end.
class RtfEmitter {
  public:
    void begin(QStringList fonts, std::vector<Rgb> colours);
    void paragraph(const Paragraph& p);
    void end() { m_out += "}\r\n"; }
    QByteArray& out() { return m_out; }

    // The faces and colours the runs of `doc` use, the default face first.
    static QStringList fontsOf(const RichDocument& doc);
    static std::vector<Rgb> coloursOf(const RichDocument& doc);

  private:
    // A face missing from the table is written as the default one.
    int fontIndex(const QString& name) const {
        return std::max(0, int(m_fonts.indexOf(name.isEmpty() ? DefaultFont : name)));
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

    // What the RTF stream says at this point, so only changes are written.
    CharFormat m_now;
    Alignment m_alignment = Alignment::Left;
    bool m_first = true;
};

int RtfEmitter::colourIndex(const std::optional<Rgb>& colour) const {
    if (!colour)
        return 0;
    for (size_t i = 0; i < m_colours.size(); ++i)
        if (m_colours[i] == *colour)
            return int(i) + 1;
    return 0;
}

void RtfEmitter::text(QStringView s) {
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

QStringList RtfEmitter::fontsOf(const RichDocument& doc) {
    QStringList fonts = {DefaultFont};
    for (const Paragraph& p : doc.paragraphs) {
        for (const Run& r : p.runs) {
            QString name = r.format.font.isEmpty() ? DefaultFont : r.format.font;
            if (!fonts.contains(name))
                fonts << name;
        }
    }
    return fonts;
}

std::vector<Rgb> RtfEmitter::coloursOf(const RichDocument& doc) {
    std::vector<Rgb> colours;
    for (const Paragraph& p : doc.paragraphs)
        for (const Run& r : p.runs)
            if (r.format.colour &&
                std::find(colours.begin(), colours.end(), *r.format.colour) == colours.end())
                colours.push_back(*r.format.colour);
    return colours;
}

void RtfEmitter::begin(QStringList fonts, std::vector<Rgb> colours) {
    m_fonts = std::move(fonts);
    if (!m_fonts.contains(DefaultFont))
        m_fonts.prepend(DefaultFont);
    m_colours = std::move(colours);
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

    m_now = CharFormat();
    m_now.font = DefaultFont;
    m_now.halfPoints = RtfDefaultHalfPoints;
    m_alignment = Alignment::Left;
    m_first = true;
}

void RtfEmitter::paragraph(const Paragraph& p) {
    if (p.alignment != m_alignment) {
        if (!m_first)
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
        m_alignment = p.alignment;
    }
    m_first = false;
    for (const Run& r : p.runs) {
        const CharFormat& f = r.format;
        const QString font = f.font.isEmpty() ? DefaultFont : f.font;
        if (font != m_now.font) {
            word("\\f", fontIndex(font));
            m_now.font = font;
        }
        const int size = f.halfPoints > 0 ? f.halfPoints : RtfDefaultHalfPoints;
        if (size != m_now.halfPoints) {
            word("\\fs", size);
            m_now.halfPoints = size;
        }
        if (f.colour != m_now.colour) {
            word("\\cf", colourIndex(f.colour));
            m_now.colour = f.colour;
        }
        if (f.bold != m_now.bold)
            word(f.bold ? "\\b" : "\\b0");
        if (f.italic != m_now.italic)
            word(f.italic ? "\\i" : "\\i0");
        if (f.underline != m_now.underline)
            word(f.underline ? "\\ul" : "\\ulnone");
        m_now.bold = f.bold;
        m_now.italic = f.italic;
        m_now.underline = f.underline;
        text(r.text);
    }
    m_out += "\\par\r\n";
    m_delimit = false;
}

namespace {

// Bytes gathered before they go to the device.
constexpr qsizetype StreamBuffer = 64 * 1024;

} // namespace

QByteArray RtfWriter::toRtf(const RichDocument& doc) {
    RtfEmitter e;
    e.out().reserve(qsizetype(doc.paragraphs.size()) * 64 + 256);
    e.begin(RtfEmitter::fontsOf(doc), RtfEmitter::coloursOf(doc));
    for (const Paragraph& p : doc.paragraphs)
        e.paragraph(p);
    e.end();
    return std::move(e.out());
}

bool RtfWriter::write(const RichDocument& doc, QIODevice* device) {
    m_error.clear();
    RtfStreamWriter writer(device, RtfEmitter::fontsOf(doc), RtfEmitter::coloursOf(doc));
    for (const Paragraph& p : doc.paragraphs)
        if (!writer.writeParagraph(p))
            break;
    const bool ok = writer.finish();
    m_error = writer.errorString();
    return ok;
}

RtfStreamWriter::RtfStreamWriter(QIODevice* device, QStringList fonts, std::vector<Rgb> colours)
    : m_device(device), m_emitter(std::make_unique<RtfEmitter>()) {
    if (!device || !device->isWritable()) {
        m_error = device ? device->errorString() : QStringLiteral("No device to write to.");
        if (m_error.isEmpty())
            m_error = QStringLiteral("The device is not open for writing.");
        return;
    }
    m_emitter->begin(std::move(fonts), std::move(colours));
}

RtfStreamWriter::~RtfStreamWriter() = default;

bool RtfStreamWriter::writeParagraph(const Paragraph& p) {
    if (!m_error.isEmpty())
        return false;
    m_emitter->paragraph(p);
    return m_emitter->out().size() < StreamBuffer || drain();
}

bool RtfStreamWriter::finish() {
    if (!m_error.isEmpty())
        return false;
    m_emitter->end();
    return drain();
}

bool RtfStreamWriter::drain() {
    QByteArray& out = m_emitter->out();
    if (m_device->write(out) != out.size()) {
        m_error = m_device->errorString();
        if (m_error.isEmpty())
            m_error = QStringLiteral("The device did not take every byte.");
        return false;
    }
    out.clear(); // keeps its capacity for the next paragraphs
    return true;
}

} // namespace workspace
