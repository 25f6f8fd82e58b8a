#include "workspace/core/rtfreader.h"

#include "base/core/gbk.h"
#include "base/core/text_pieces.h"
#include "workspace/core/rtf_scanner.h"
#include "workspace/core/rtf_tables.h"

#include <QIODevice>
#include <QStringDecoder>

#include <map>
#include <memory>
#include <unordered_map>

namespace workspace {

namespace {

using rtf::Token;

// Deeper nesting than this is not a document but damage (or an attack on the stack of
// states); reading stops there.
constexpr int MaxDepth = 1024;

enum class Dest {
    Text, // document text
    Skip, // a destination whose content is not text (pictures, info, ...)
    FontTable,
    ColourTable,
    Upr, // {\upr ansi-text {\*\ud unicode-text}}: only the \ud part is read
};

// Which font the following characters use: \loch, \hich and \dbch name it, and the
// "associated" properties (\af, \afs, \ab, \ai) written after \dbch belong to the
// double-byte font. After \rtlch they describe right-to-left text, which we ignore.
enum class ByteMode { Loch, Hich, Dbch, Rtl };

struct State {
    Dest dest = Dest::Text;
    int font = -1;
    ByteMode mode = ByteMode::Loch;
    int dbchFont = -1;
    int dbchHalfPoints = 0;
    int dbchBold = -1;   // -1: as \b says
    int dbchItalic = -1; // -1: as \i says
    int halfPoints = 24;
    int colour = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int uc = 1;
    Alignment alignment = Alignment::Left;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's code page
};

// A control word as its handler sees it: the parameter written after it, and the value
// its entry in the keyword table gives (a code page, an alignment, a character, ...).
struct Word {
    bool hasParam;
    int param;
    int value;
    // A toggle such as \b is on without a parameter and with any but \b0.
    bool on() const { return !hasParam || param != 0; }
};

class Parser {
  public:
    // With a sink, each paragraph goes there as it ends and the document stays empty.
    explicit Parser(rtf::Scanner scanner, const RtfReader::ParagraphSink* sink = nullptr)
        : m_scanner(std::move(scanner)), m_sink(sink && *sink ? sink : nullptr) {}

    RichDocument run(QString* error);

  private:
    using Handler = void (Parser::*)(const Word&);
    // Most words act only inside a destination that is read and once the fallback
    // characters after \u are passed; these act before either is looked at.
    enum class Reach { Ordinary, UnicodeDestination, Binary, UnicodeCharacter };
    struct Keyword {
        Handler handler = nullptr;
        int value = 0;
        Reach reach = Reach::Ordinary;
    };
    static const std::unordered_map<std::string_view, Keyword>& keywords();

    void fail(const QString& message) {
        if (m_error.isEmpty())
            m_error = message;
    }

    State& state() { return m_stack.back(); }

    // Text bytes wait here until something other than text or a \'xx escape comes,
    // so that a double-byte character written as two escapes decodes as one.
    void addByte(char c) { m_pending += c; }
    void flush();
    void output(const QString& text);
    void emitChar(char16_t c) {
        flush();
        output(QString(QChar(c)));
    }

    int currentCodePage() const;
    int codePageOfFont(int number) const;
    CharFormat currentFormat() const;
    void endParagraph();
    void keep(Paragraph&& p) {
        if (m_sink)
            (*m_sink)(std::move(p));
        else
            m_document.paragraphs.push_back(std::move(p));
    }
    void finishFontEntry();
    bool skipFallback();

    // One call per token.
    bool openGroup();
    bool closeGroup();
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);
    void controlSymbol(char c);
    void controlWord(const Token& token);
    void checkAfterEnd();

    // The handlers of the keyword table, a group of control words each.
    void destination(const Word& w);
    void documentCodePage(const Word& w);
    void ansiCodePage(const Word& w);
    void defaultFont(const Word& w);
    void fontNumber(const Word& w);
    void fontCharset(const Word& w);
    void fontCodePage(const Word& w);
    void colourComponent(const Word& w);
    void associatedFont(const Word& w);
    void associatedSize(const Word& w);
    void associatedBold(const Word& w);
    void associatedItalic(const Word& w);
    void byteMode(const Word& w);
    void plain(const Word& w);
    void fontSize(const Word& w);
    void colour(const Word& w);
    void bold(const Word& w);
    void italic(const Word& w);
    void underline(const Word& w);
    void underlineNone(const Word& w);
    void fallbackCount(const Word& w);
    void alignment(const Word& w);
    void paragraphEnd(const Word& w);
    void lineBreak(const Word& w);
    void tab(const Word& w);
    void namedCharacter(const Word& w);
    void unicodeCharacter(const Word& w);
    void binary(const Word& w);

    rtf::Scanner m_scanner;
    const RtfReader::ParagraphSink* m_sink;
    std::vector<State> m_stack;
    QByteArray m_pending;
    QString m_error;
    bool m_undecodable = false;

    int m_codePage = 1252;
    int m_defaultFont = -1;
    std::map<int, Font> m_fonts;
    std::vector<std::optional<Rgb>> m_colours;

    // the font table entry being read
    bool m_inFontEntry = false;
    int m_entryNumber = 0;
    int m_entryCharset = -1;
    int m_entryCodePage = 0;
    QString m_entryName;

    // the colour table entry being read
    Rgb m_entryRgb;
    bool m_entryHasRgb = false;

    bool m_starPending = false; // just after \*
    int m_skipCount = 0;        // fallback characters still to skip after \u

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
    Alignment m_lastAlignment = Alignment::Left;
    RichDocument m_document;
    Paragraph m_paragraph;
};

const std::unordered_map<std::string_view, Parser::Keyword>& Parser::keywords() {
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t;
        // destinations
        t["fonttbl"] = {&Parser::destination, int(Dest::FontTable)};
        t["colortbl"] = {&Parser::destination, int(Dest::ColourTable)};
        for (std::string_view d : rtf::skippedDestinations())
            t[d] = {&Parser::destination, int(Dest::Skip)};
        t["upr"] = {&Parser::destination, int(Dest::Upr)};
        t["ud"] = {nullptr, 0, Reach::UnicodeDestination};
        // the document's code page and default font
        t["ansi"] = {&Parser::documentCodePage, 1252};
        t["mac"] = {&Parser::documentCodePage, 10000};
        t["pc"] = {&Parser::documentCodePage, 437};
        t["pca"] = {&Parser::documentCodePage, 850};
        t["ansicpg"] = {&Parser::ansiCodePage};
        t["deff"] = {&Parser::defaultFont};
        // font and colour tables
        t["f"] = {&Parser::fontNumber};
        t["fcharset"] = {&Parser::fontCharset};
        t["cpg"] = {&Parser::fontCodePage};
        t["red"] = {&Parser::colourComponent, 0};
        t["green"] = {&Parser::colourComponent, 1};
        t["blue"] = {&Parser::colourComponent, 2};
        // which font the bytes are in, and the double-byte font's own properties
        t["af"] = {&Parser::associatedFont};
        t["afs"] = {&Parser::associatedSize};
        t["ab"] = {&Parser::associatedBold};
        t["ai"] = {&Parser::associatedItalic};
        t["rtlch"] = {&Parser::byteMode, int(ByteMode::Rtl)};
        t["ltrch"] = {&Parser::byteMode, int(ByteMode::Loch)};
        t["loch"] = {&Parser::byteMode, int(ByteMode::Loch)};
        t["hich"] = {&Parser::byteMode, int(ByteMode::Hich)};
        t["dbch"] = {&Parser::byteMode, int(ByteMode::Dbch)};
        // character formatting
        t["plain"] = {&Parser::plain};
        t["fs"] = {&Parser::fontSize};
        t["cf"] = {&Parser::colour};
        t["b"] = {&Parser::bold};
        t["i"] = {&Parser::italic};
        for (std::string_view u : rtf::underlineWords())
            t[u] = {&Parser::underline};
        t["ulnone"] = {&Parser::underlineNone};
        t["uc"] = {&Parser::fallbackCount};
        t["u"] = {&Parser::unicodeCharacter, 0, Reach::UnicodeCharacter};
        t["bin"] = {&Parser::binary, 0, Reach::Binary};
        // paragraphs
        t["pard"] = {&Parser::alignment, int(Alignment::Left)};
        t["ql"] = {&Parser::alignment, int(Alignment::Left)};
        t["qc"] = {&Parser::alignment, int(Alignment::Centre)};
        t["qr"] = {&Parser::alignment, int(Alignment::Right)};
        t["qj"] = {&Parser::alignment, int(Alignment::Justify)};
        t["qd"] = {&Parser::alignment, int(Alignment::Justify)};
        t["par"] = {&Parser::paragraphEnd};
        t["sect"] = {&Parser::paragraphEnd};
        t["row"] = {&Parser::paragraphEnd};
        t["nestrow"] = {&Parser::paragraphEnd};
        t["line"] = {&Parser::lineBreak};
        t["tab"] = {&Parser::tab};
        t["cell"] = {&Parser::tab};
        t["nestcell"] = {&Parser::tab};
        for (const rtf::NamedCharacter& c : rtf::namedCharacters())
            t[c.word] = {&Parser::namedCharacter, c.character};
        return t;
    }();
    return table;
}

int Parser::codePageOfFont(int number) const {
    auto it = m_fonts.find(number);
    if (it == m_fonts.end() || it->second.codePage == 0)
        return m_codePage;
    return it->second.codePage;
}

int Parser::currentCodePage() const {
    const State& s = m_stack.back();
    if (s.dest == Dest::FontTable)
        return m_entryCodePage
                   ? m_entryCodePage
                   : (m_entryCharset >= 0 ? rtf::codePageOfCharset(m_entryCharset, m_codePage)
                                          : m_codePage);
    if (s.mode == ByteMode::Dbch && m_fonts.count(s.dbchFont))
        return codePageOfFont(s.dbchFont);
    return codePageOfFont(s.font >= 0 ? s.font : m_defaultFont);
}

CharFormat Parser::currentFormat() const {
    const State& s = m_stack.back();
    CharFormat f;
    const bool dbch = s.mode == ByteMode::Dbch;
    int number = s.font >= 0 ? s.font : m_defaultFont;
    if (dbch && m_fonts.count(s.dbchFont))
        number = s.dbchFont;
    if (auto it = m_fonts.find(number); it != m_fonts.end())
        f.font = it->second.name;
    f.halfPoints = dbch && s.dbchHalfPoints > 0 ? s.dbchHalfPoints : s.halfPoints;
    if (s.colour >= 0 && s.colour < int(m_colours.size()))
        f.colour = m_colours[s.colour];
    f.bold = dbch && s.dbchBold >= 0 ? s.dbchBold != 0 : s.bold;
    f.italic = dbch && s.dbchItalic >= 0 ? s.dbchItalic != 0 : s.italic;
    f.underline = s.underline;
    return f;
}

void Parser::flush() {
    if (m_pending.isEmpty())
        return;
    const int cp = currentCodePage();
    QString text;
    bool ok = true;
    if (cp == 936) {
        text = gbk::decode(m_pending, &ok);
    } else {
        auto& decoder = m_decoders[cp];
        if (!decoder) {
            decoder = std::make_unique<QStringDecoder>(rtf::encodingName(cp),
                                                       QStringConverter::Flag::Stateless);
            if (!decoder->isValid())
                decoder = std::make_unique<QStringDecoder>(QStringConverter::Latin1,
                                                           QStringConverter::Flag::Stateless);
        }
        text = decoder->decode(m_pending);
        ok = !decoder->hasError();
        if (!ok)
            decoder.reset(); // its error flag would outlive resetState()
    }
    m_pending.clear();
    if (!ok)
        m_undecodable = true;
    output(text);
}

void Parser::output(const QString& text) {
    switch (state().dest) {
    case Dest::Text:
        m_paragraph.append(text, currentFormat());
        break;
    case Dest::FontTable:
        if (m_inFontEntry)
            m_entryName += text;
        break;
    default:
        break;
    }
}

void Parser::endParagraph() {
    flush();
    m_paragraph.alignment = state().alignment;
    keep(std::move(m_paragraph));
    m_paragraph = Paragraph();
}

void Parser::finishFontEntry() {
    if (!m_inFontEntry)
        return;
    flush();
    Font font;
    font.name = m_entryName.trimmed();
    if (m_entryCodePage)
        font.codePage = m_entryCodePage;
    else if (m_entryCharset >= 0)
        font.codePage = rtf::codePageOfCharset(m_entryCharset, 0);
    m_fonts[m_entryNumber] = font;
    m_inFontEntry = false;
}

// Called for each character of text while fallback characters after \u remain.
bool Parser::skipFallback() {
    if (m_skipCount <= 0)
        return false;
    --m_skipCount;
    return true;
}

bool Parser::openGroup() {
    flush();
    m_skipCount = 0;
    m_starPending = false;
    if (m_stack.size() >= size_t(MaxDepth)) {
        fail(QStringLiteral("The RTF document is nested too deeply."));
        m_scanner.stop();
        return false;
    }
    m_stack.push_back(m_stack.empty() ? State() : m_stack.back());
    return true;
}

// Returns true when the brace closes the document (or closes nothing).
bool Parser::closeGroup() {
    if (m_stack.empty()) {
        fail(QStringLiteral("The RTF document has an unmatched closing brace."));
        return true;
    }
    flush();
    m_skipCount = 0;
    m_starPending = false;
    if (state().dest == Dest::FontTable)
        finishFontEntry();
    if (m_stack.size() == 1)
        m_lastAlignment = state().alignment;
    m_stack.pop_back();
    return m_stack.empty();
}

void Parser::text(std::string_view bytes) {
    for (const char c : bytes) {
        m_starPending = false;
        if (skipFallback())
            continue;
        const State& s = state();
        if (c == ';' && s.dest == Dest::FontTable) {
            finishFontEntry();
            continue;
        }
        if (c == ';' && s.dest == Dest::ColourTable) {
            m_colours.push_back(m_entryHasRgb ? std::optional<Rgb>(m_entryRgb) : std::nullopt);
            m_entryRgb = {};
            m_entryHasRgb = false;
            continue;
        }
        if (c == '\t') {
            if (s.dest == Dest::Text)
                emitChar(u'\t');
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20)
            continue;
        if (s.dest == Dest::Text || s.dest == Dest::FontTable)
            addByte(c);
    }
}

void Parser::hexByte(unsigned char byte) {
    if (skipFallback())
        return;
    if (state().dest == Dest::Text || state().dest == Dest::FontTable)
        addByte(char(byte));
}

void Parser::controlSymbol(char c) {
    if (c == '*') {
        m_starPending = true;
        return;
    }
    if (skipFallback())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        if (state().dest == Dest::Text || state().dest == Dest::FontTable)
            addByte(c);
        break;
    case '~':
        if (state().dest == Dest::Text)
            emitChar(u'\u00A0');
        break;
    case '_':
        if (state().dest == Dest::Text)
            emitChar(u'\u2011');
        break;
    case '\r':
    case '\n':
        // A backslash before a line end is a paragraph mark.
        if (state().dest == Dest::Text)
            endParagraph();
        break;
    case '\t':
        if (state().dest == Dest::Text)
            emitChar(u'\t');
        break;
    default: // \- (optional hyphen), \| and \: (index marks), and unknown symbols
        break;
    }
}

void Parser::controlWord(const Token& token) {
    const auto& table = keywords();
    const auto it = table.find(token.text);
    const Keyword keyword = it == table.end() ? Keyword{} : it->second;
    const Word word{token.hasParam, token.param, keyword.value};

    if (m_starPending) {
        m_starPending = false;
        // An optional destination we do not read is skipped whole, whatever it is.
        if (keyword.reach != Reach::UnicodeDestination) {
            flush();
            state().dest = Dest::Skip;
            return;
        }
    }
    if (keyword.reach == Reach::Binary) {
        binary(word); // its bytes are passed over wherever it stands
        return;
    }
    State& s = state();
    if (s.dest == Dest::Skip)
        return;
    if (s.dest == Dest::Upr) {
        if (keyword.reach == Reach::UnicodeDestination)
            s.dest = Dest::Text;
        return;
    }
    if (keyword.reach == Reach::UnicodeCharacter) {
        unicodeCharacter(word);
        return;
    }
    if (skipFallback())
        return;
    flush();
    if (keyword.handler)
        (this->*keyword.handler)(word);
}

void Parser::destination(const Word& w) {
    state().dest = Dest(w.value);
    if (state().dest == Dest::ColourTable) {
        m_colours.clear();
        m_entryHasRgb = false;
        m_entryRgb = {};
    }
}

void Parser::documentCodePage(const Word& w) {
    m_codePage = w.value;
}

void Parser::ansiCodePage(const Word& w) {
    if (w.hasParam && w.param > 0)
        m_codePage = w.param;
}

void Parser::defaultFont(const Word& w) {
    m_defaultFont = w.param;
}

// \fN starts a font table entry inside the table and picks a font outside it.
void Parser::fontNumber(const Word& w) {
    State& s = state();
    if (s.dest == Dest::FontTable) {
        finishFontEntry();
        m_inFontEntry = true;
        m_entryNumber = w.param;
        m_entryCharset = -1;
        m_entryCodePage = 0;
        m_entryName.clear();
    } else {
        s.font = w.param;
        if (s.mode == ByteMode::Dbch)
            s.dbchFont = w.param;
    }
}

void Parser::fontCharset(const Word& w) {
    if (state().dest == Dest::FontTable)
        m_entryCharset = w.param;
}

// \cpgN gives a font table entry's code page, or elsewhere the document's.
void Parser::fontCodePage(const Word& w) {
    if (state().dest == Dest::FontTable && w.param > 0)
        m_entryCodePage = w.param;
    else if (w.param > 0)
        m_codePage = w.param;
}

void Parser::colourComponent(const Word& w) {
    if (state().dest != Dest::ColourTable)
        return;
    const quint8 v = quint8(qBound(0, w.param, 255));
    (w.value == 0 ? m_entryRgb.red : w.value == 1 ? m_entryRgb.green : m_entryRgb.blue) = v;
    m_entryHasRgb = true;
}

void Parser::associatedFont(const Word& w) {
    if (state().mode == ByteMode::Dbch)
        state().dbchFont = w.param;
}

void Parser::associatedSize(const Word& w) {
    if (state().mode == ByteMode::Dbch && w.param > 0)
        state().dbchHalfPoints = w.param;
}

void Parser::associatedBold(const Word& w) {
    if (state().mode == ByteMode::Dbch)
        state().dbchBold = w.on();
}

void Parser::associatedItalic(const Word& w) {
    if (state().mode == ByteMode::Dbch)
        state().dbchItalic = w.on();
}

void Parser::byteMode(const Word& w) {
    state().mode = ByteMode(w.value);
}

void Parser::plain(const Word&) {
    State& s = state();
    s.font = m_defaultFont;
    s.dbchFont = -1;
    s.dbchHalfPoints = 0;
    s.dbchBold = s.dbchItalic = -1;
    s.halfPoints = 24;
    s.colour = 0;
    s.bold = s.italic = s.underline = false;
}

void Parser::fontSize(const Word& w) {
    if (w.hasParam && w.param > 0)
        state().halfPoints = w.param;
}

void Parser::colour(const Word& w) {
    state().colour = w.param;
}

void Parser::bold(const Word& w) {
    state().bold = w.on();
}

void Parser::italic(const Word& w) {
    state().italic = w.on();
}

void Parser::underline(const Word& w) {
    state().underline = w.on();
}

void Parser::underlineNone(const Word&) {
    state().underline = false;
}

void Parser::fallbackCount(const Word& w) {
    state().uc = qMax(0, w.param);
}

void Parser::alignment(const Word& w) {
    state().alignment = Alignment(w.value);
}

void Parser::paragraphEnd(const Word&) {
    if (state().dest == Dest::Text)
        endParagraph();
}

void Parser::lineBreak(const Word&) {
    if (state().dest == Dest::Text)
        output(QString(QChar::LineSeparator));
}

void Parser::tab(const Word&) {
    if (state().dest == Dest::Text)
        output(QStringLiteral("\t"));
}

void Parser::namedCharacter(const Word& w) {
    if (state().dest == Dest::Text)
        output(QString(QChar(char16_t(w.value))));
}

// \uN is the character; the \uc fallback characters after it are passed over.
void Parser::unicodeCharacter(const Word& w) {
    if (!w.hasParam)
        return;
    flush();
    int n = w.param;
    if (n < 0)
        n += 65536;
    output(QString(QChar(char16_t(n & 0xFFFF))));
    m_skipCount = state().uc;
}

void Parser::binary(const Word& w) {
    flush();
    if (!m_scanner.skipBinary(w.hasParam && w.param > 0 ? w.param : 0))
        fail(QStringLiteral("The RTF document ends inside binary data."));
}

// After the document's closing brace only padding may follow.
void Parser::checkAfterEnd() {
    for (QByteArrayView part = m_scanner.takeRest(); !part.isEmpty(); part = m_scanner.takeRest()) {
        for (const char c : part) {
            if (c != '\0' && c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != 0x1A) {
                fail(QStringLiteral("The RTF document has data after its end."));
                return;
            }
        }
    }
}

RichDocument Parser::run(QString* error) {
    for (Token token = m_scanner.next(); token.kind != Token::Kind::End; token = m_scanner.next()) {
        if (token.kind == Token::Kind::GroupClose) {
            if (closeGroup()) {
                checkAfterEnd();
                break;
            }
            continue;
        }
        if (token.kind == Token::Kind::GroupOpen) {
            openGroup();
            continue;
        }
        if (m_stack.empty())
            continue; // nothing stands outside the document's group
        switch (token.kind) {
        case Token::Kind::ControlWord:
            controlWord(token);
            break;
        case Token::Kind::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case Token::Kind::HexByte:
            hexByte(token.byte);
            break;
        case Token::Kind::BrokenHex:
            fail(QStringLiteral("The RTF document has a broken \\' escape."));
            break;
        case Token::Kind::Text:
            text(token.text);
            break;
        case Token::Kind::CutOff:
            fail(QStringLiteral("The RTF document ends inside a control word."));
            break;
        default:
            break;
        }
    }
    if (!m_stack.empty()) {
        fail(QStringLiteral("The RTF document ends before all of its groups are closed."));
        flush();
        if (!m_paragraph.runs.empty())
            endParagraph();
    } else if (!m_paragraph.runs.empty()) {
        // Text after the last paragraph mark still forms a paragraph; its alignment is
        // the one in force when the document closed.
        m_paragraph.alignment = m_lastAlignment;
        keep(std::move(m_paragraph));
    }
    if (m_undecodable)
        fail(QStringLiteral("Some characters of the RTF document could not be decoded."));
    if (m_scanner.readFailed())
        fail(QStringLiteral("The file could not be read to its end."));
    if (error)
        *error = m_error;
    return std::move(m_document);
}

} // namespace

bool RtfReader::looksLikeRtf(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i).startsWith("{\\rtf");
}

bool RtfReader::read(QByteArrayView bytes) {
    return read(bytes, ParagraphSink());
}

bool RtfReader::read(QByteArrayView bytes, const ParagraphSink& sink) {
    m_error.clear();
    m_document = {};
    m_wasRtf = looksLikeRtf(bytes);
    if (m_wasRtf) {
        m_document = Parser(rtf::Scanner(bytes), &sink).run(&m_error);
    } else if (sink) {
        text_pieces::Source text(bytes);
        readText(text, sink);
    } else {
        bool ok = true;
        m_document = RichDocument::fromPlainText(gbk::decodeTextFile(bytes, &ok));
        if (!ok)
            m_error = QStringLiteral("Some characters of the text file could not be decoded.");
    }
    return m_error.isEmpty();
}

bool RtfReader::read(QIODevice* device, const ParagraphSink& sink) {
    m_error.clear();
    m_document = {};
    m_wasRtf = false;
    if (!device || (!device->isOpen() && !device->open(QIODevice::ReadOnly))) {
        m_error = device ? device->errorString() : QStringLiteral("No device to read from.");
        return false;
    }
    if (device->isSequential()) { // plain text would be read twice
        const QByteArray bytes = device->readAll();
        return read(QByteArrayView(bytes), sink);
    }
    const qint64 start = device->pos();
    rtf::Scanner scanner(device);
    m_wasRtf = scanner.startsWith("{\\rtf");
    if (m_wasRtf) {
        m_document = Parser(std::move(scanner), &sink).run(&m_error);
    } else if (device->seek(start)) {
        text_pieces::Source text(device);
        const ParagraphSink keep = [this](Paragraph&& p) {
            m_document.paragraphs.push_back(std::move(p));
        };
        readText(text, sink ? sink : keep);
        if (text.failed())
            m_error = QStringLiteral("The file could not be read to its end.");
    } else {
        m_error = device->errorString();
    }
    return m_error.isEmpty();
}

void RtfReader::readText(text_pieces::Source& text, const ParagraphSink& sink) {
    // A piece of text ends with a line end, so its lines are whole paragraphs.
    const bool ok = gbk::decodeTextFilePieces(text, [&sink](const QString& piece) {
        RichDocument::forEachPlainTextParagraph(piece, sink);
    });
    if (!ok)
        m_error = QStringLiteral("Some characters of the text file could not be decoded.");
}

bool RtfReader::read(QIODevice* device) {
    if (!device || (!device->isOpen() && !device->open(QIODevice::ReadOnly))) {
        m_document = {};
        m_wasRtf = false;
        m_error = device ? device->errorString() : QStringLiteral("No device to read from.");
        return false;
    }
    const QByteArray bytes = device->readAll();
    return read(QByteArrayView(bytes));
}

} // namespace workspace
