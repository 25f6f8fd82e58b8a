#include "workspace/core/rtfreader.h"

#include "base/core/gbk.h"

#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace workspace {

namespace {

// Deeper nesting than this is not a document but damage (or an attack on the stack of
// states); reading stops there.
constexpr int MaxDepth = 1024;
constexpr int MaxWordLetters = 32;

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

enum class Kw {
    Unknown,
    // destinations
    FontTable,
    ColourTable,
    SkipDest,
    Upr,
    Ud,
    // document
    Ansi,
    AnsiCpg,
    Mac,
    Pc,
    Pca,
    Deff,
    // font table
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // characters
    Af,
    Afs,
    Ab,
    Ai,
    Loch,
    Hich,
    Dbch,
    Rtlch,
    Ltrch,
    Plain,
    Fs,
    Cf,
    B,
    I,
    Ul,
    UlNone,
    Uc,
    U,
    // paragraphs
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Bin,
    // special characters
    Char,
};

struct KwInfo {
    Kw kw;
    char16_t ch = 0; // for Kw::Char
};

const std::unordered_map<std::string_view, KwInfo>& keywords() {
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t;
        t["fonttbl"] = {Kw::FontTable};
        t["colortbl"] = {Kw::ColourTable};
        for (const char* d : {"stylesheet",
                              "info",
                              "pict",
                              "object",
                              "header",
                              "headerl",
                              "headerr",
                              "headerf",
                              "footer",
                              "footerl",
                              "footerr",
                              "footerf",
                              "footnote",
                              "annotation",
                              "atnid",
                              "atnauthor",
                              "fldinst",
                              "themedata",
                              "colorschememapping",
                              "latentstyles",
                              "datastore",
                              "xmlnstbl",
                              "listtable",
                              "listoverridetable",
                              "rsidtbl",
                              "generator",
                              "filetbl",
                              "revtbl",
                              "pgdsctbl",
                              "mmathPr",
                              "nonshppict",
                              "bkmkstart",
                              "bkmkend",
                              "xe",
                              "tc",
                              "template",
                              "userprops",
                              "docvar",
                              "wgrffmtfilter",
                              "pnseclvl",
                              "fontemb",
                              "fontfile",
                              "objdata",
                              "shpinst",
                              "sp",
                              "sn",
                              "sv",
                              "blipuid",
                              "passwordhash",
                              "protusertbl"})
            t[d] = {Kw::SkipDest};
        t["upr"] = {Kw::Upr};
        t["ud"] = {Kw::Ud};
        t["ansi"] = {Kw::Ansi};
        t["ansicpg"] = {Kw::AnsiCpg};
        t["mac"] = {Kw::Mac};
        t["pc"] = {Kw::Pc};
        t["pca"] = {Kw::Pca};
        t["deff"] = {Kw::Deff};
        t["f"] = {Kw::F};
        t["fcharset"] = {Kw::FCharset};
        t["cpg"] = {Kw::Cpg};
        t["red"] = {Kw::Red};
        t["green"] = {Kw::Green};
        t["blue"] = {Kw::Blue};
        t["af"] = {Kw::Af};
        t["afs"] = {Kw::Afs};
        t["ab"] = {Kw::Ab};
        t["ai"] = {Kw::Ai};
        t["rtlch"] = {Kw::Rtlch};
        t["ltrch"] = {Kw::Ltrch};
        t["loch"] = {Kw::Loch};
        t["hich"] = {Kw::Hich};
        t["dbch"] = {Kw::Dbch};
        t["plain"] = {Kw::Plain};
        t["fs"] = {Kw::Fs};
        t["cf"] = {Kw::Cf};
        t["b"] = {Kw::B};
        t["i"] = {Kw::I};
        for (const char* u : {"ul", "uld", "uldb", "ulw", "ulwave", "ulth", "uldash", "uldashd",
                              "uldashdd", "ulhwave", "ulldash", "ulthd", "ulthdash", "ulthdashd",
                              "ulthdashdd", "ulthldash", "ululdbwave"})
            t[u] = {Kw::Ul};
        t["ulnone"] = {Kw::UlNone};
        t["uc"] = {Kw::Uc};
        t["u"] = {Kw::U};
        t["pard"] = {Kw::Pard};
        t["ql"] = {Kw::Ql};
        t["qc"] = {Kw::Qc};
        t["qr"] = {Kw::Qr};
        t["qj"] = {Kw::Qj};
        t["qd"] = {Kw::Qj};
        t["par"] = {Kw::Par};
        t["sect"] = {Kw::Par};
        t["line"] = {Kw::Line};
        t["tab"] = {Kw::Tab};
        t["cell"] = {Kw::Cell};
        t["nestcell"] = {Kw::Cell};
        t["row"] = {Kw::Row};
        t["nestrow"] = {Kw::Row};
        t["bin"] = {Kw::Bin};
        t["emdash"] = {Kw::Char, u'\u2014'};
        t["endash"] = {Kw::Char, u'\u2013'};
        t["bullet"] = {Kw::Char, u'\u2022'};
        t["lquote"] = {Kw::Char, u'\u2018'};
        t["rquote"] = {Kw::Char, u'\u2019'};
        t["ldblquote"] = {Kw::Char, u'\u201C'};
        t["rdblquote"] = {Kw::Char, u'\u201D'};
        t["emspace"] = {Kw::Char, u'\u2003'};
        t["enspace"] = {Kw::Char, u'\u2002'};
        t["qmspace"] = {Kw::Char, u'\u2005'};
        return t;
    }();
    return table;
}

int codePageOfCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: their bytes are glyph numbers
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return documentCodePage; // 1 (the system's ANSI) and unknown sets
    }
}

const char* encodingName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "windows-932";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 10000:
        return "macintosh";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    default:
        return "windows-1252";
    }
}

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

class Parser {
  public:
    // With a sink, each paragraph goes there as it ends and the document stays empty.
    explicit Parser(QByteArrayView data, const RtfReader::ParagraphSink* sink = nullptr)
        : m_data(data), m_sink(sink && *sink ? sink : nullptr) {}

    RichDocument run(QString* error);

  private:
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

    void controlWord(std::string_view word, bool hasParam, int param);
    void controlSymbol(char c);
    bool skipFallback();

    QByteArrayView m_data;
    const RtfReader::ParagraphSink* m_sink;
    qsizetype m_pos = 0;
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
                   : (m_entryCharset >= 0 ? codePageOfCharset(m_entryCharset, m_codePage)
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
            decoder = std::make_unique<QStringDecoder>(encodingName(cp),
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
        font.codePage = codePageOfCharset(m_entryCharset, 0);
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

void Parser::controlSymbol(char c) {
    if (c == '\'') {
        int hi = m_pos < m_data.size() ? hexValue(m_data[m_pos]) : -1;
        int lo = m_pos + 1 < m_data.size() ? hexValue(m_data[m_pos + 1]) : -1;
        if (hi < 0 || lo < 0) {
            fail(QStringLiteral("The RTF document has a broken \\' escape."));
            if (hi >= 0)
                ++m_pos; // half an escape is not text
            return;
        }
        m_pos += 2;
        if (skipFallback())
            return;
        if (state().dest == Dest::Text || state().dest == Dest::FontTable)
            addByte(char(hi * 16 + lo));
        return;
    }
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

void Parser::controlWord(std::string_view word, bool hasParam, int param) {
    const auto& table = keywords();
    auto it = table.find(word);
    const KwInfo info = it == table.end() ? KwInfo{Kw::Unknown} : it->second;

    if (m_starPending) {
        m_starPending = false;
        // An optional destination we do not read is skipped whole, whatever it is.
        if (info.kw != Kw::Ud) {
            flush();
            state().dest = Dest::Skip;
            return;
        }
    }

    if (info.kw == Kw::Bin) {
        flush();
        qint64 n = hasParam && param > 0 ? param : 0;
        if (n > m_data.size() - m_pos) {
            fail(QStringLiteral("The RTF document ends inside binary data."));
            n = m_data.size() - m_pos;
        }
        m_pos += n;
        return;
    }

    State& s = state();
    if (s.dest == Dest::Skip)
        return;
    if (s.dest == Dest::Upr) {
        if (info.kw == Kw::Ud)
            s.dest = Dest::Text;
        return;
    }

    if (info.kw == Kw::U) {
        if (!hasParam)
            return;
        flush();
        int n = param;
        if (n < 0)
            n += 65536;
        output(QString(QChar(char16_t(n & 0xFFFF))));
        m_skipCount = s.uc;
        return;
    }
    if (skipFallback())
        return;
    flush();

    switch (info.kw) {
    case Kw::Unknown:
    case Kw::Bin:
    case Kw::U:
        break;
    case Kw::FontTable:
        s.dest = Dest::FontTable;
        break;
    case Kw::ColourTable:
        s.dest = Dest::ColourTable;
        m_colours.clear();
        m_entryHasRgb = false;
        m_entryRgb = {};
        break;
    case Kw::SkipDest:
        s.dest = Dest::Skip;
        break;
    case Kw::Upr:
        s.dest = Dest::Upr;
        break;
    case Kw::Ud:
        break;
    case Kw::Ansi:
        m_codePage = 1252;
        break;
    case Kw::AnsiCpg:
        if (hasParam && param > 0)
            m_codePage = param;
        break;
    case Kw::Mac:
        m_codePage = 10000;
        break;
    case Kw::Pc:
        m_codePage = 437;
        break;
    case Kw::Pca:
        m_codePage = 850;
        break;
    case Kw::Deff:
        m_defaultFont = param;
        break;
    case Kw::F:
        if (s.dest == Dest::FontTable) {
            finishFontEntry();
            m_inFontEntry = true;
            m_entryNumber = param;
            m_entryCharset = -1;
            m_entryCodePage = 0;
            m_entryName.clear();
        } else {
            s.font = param;
            if (s.mode == ByteMode::Dbch)
                s.dbchFont = param;
        }
        break;
    case Kw::FCharset:
        if (s.dest == Dest::FontTable)
            m_entryCharset = param;
        break;
    case Kw::Cpg:
        if (s.dest == Dest::FontTable && param > 0)
            m_entryCodePage = param;
        else if (param > 0)
            m_codePage = param;
        break;
    case Kw::Red:
    case Kw::Green:
    case Kw::Blue:
        if (s.dest == Dest::ColourTable) {
            quint8 v = quint8(qBound(0, param, 255));
            (info.kw == Kw::Red     ? m_entryRgb.red
             : info.kw == Kw::Green ? m_entryRgb.green
                                    : m_entryRgb.blue) = v;
            m_entryHasRgb = true;
        }
        break;
    case Kw::Af:
        if (s.mode == ByteMode::Dbch)
            s.dbchFont = param;
        break;
    case Kw::Afs:
        if (s.mode == ByteMode::Dbch && param > 0)
            s.dbchHalfPoints = param;
        break;
    case Kw::Ab:
        if (s.mode == ByteMode::Dbch)
            s.dbchBold = !hasParam || param != 0;
        break;
    case Kw::Ai:
        if (s.mode == ByteMode::Dbch)
            s.dbchItalic = !hasParam || param != 0;
        break;
    case Kw::Rtlch:
        s.mode = ByteMode::Rtl;
        break;
    case Kw::Ltrch:
        s.mode = ByteMode::Loch;
        break;
    case Kw::Loch:
        s.mode = ByteMode::Loch;
        break;
    case Kw::Hich:
        s.mode = ByteMode::Hich;
        break;
    case Kw::Dbch:
        s.mode = ByteMode::Dbch;
        break;
    case Kw::Plain:
        s.font = m_defaultFont;
        s.dbchFont = -1;
        s.dbchHalfPoints = 0;
        s.dbchBold = s.dbchItalic = -1;
        s.halfPoints = 24;
        s.colour = 0;
        s.bold = s.italic = s.underline = false;
        break;
    case Kw::Fs:
        if (hasParam && param > 0)
            s.halfPoints = param;
        break;
    case Kw::Cf:
        s.colour = param;
        break;
    case Kw::B:
        s.bold = !hasParam || param != 0;
        break;
    case Kw::I:
        s.italic = !hasParam || param != 0;
        break;
    case Kw::Ul:
        s.underline = !hasParam || param != 0;
        break;
    case Kw::UlNone:
        s.underline = false;
        break;
    case Kw::Uc:
        s.uc = qMax(0, param);
        break;
    case Kw::Pard:
        s.alignment = Alignment::Left;
        break;
    case Kw::Ql:
        s.alignment = Alignment::Left;
        break;
    case Kw::Qc:
        s.alignment = Alignment::Centre;
        break;
    case Kw::Qr:
        s.alignment = Alignment::Right;
        break;
    case Kw::Qj:
        s.alignment = Alignment::Justify;
        break;
    case Kw::Par:
    case Kw::Row:
        if (s.dest == Dest::Text)
            endParagraph();
        break;
    case Kw::Line:
        if (s.dest == Dest::Text)
            output(QString(QChar::LineSeparator));
        break;
    case Kw::Tab:
    case Kw::Cell:
        if (s.dest == Dest::Text)
            output(QStringLiteral("\t"));
        break;
    case Kw::Char:
        if (s.dest == Dest::Text)
            output(QString(QChar(info.ch)));
        break;
    }
}

RichDocument Parser::run(QString* error) {
    const qsizetype n = m_data.size();
    // Leading white space before the opening brace is tolerated.
    while (m_pos < n && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t' || m_data[m_pos] == '\r' ||
                         m_data[m_pos] == '\n'))
        ++m_pos;
    bool ended = false;
    while (m_pos < n) {
        const char c = m_data[m_pos++];
        if (ended) {
            if (c != '\0' && c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != 0x1A) {
                fail(QStringLiteral("The RTF document has data after its end."));
                break;
            }
            continue;
        }
        switch (c) {
        case '{':
            flush();
            m_skipCount = 0;
            m_starPending = false;
            if (m_stack.size() >= size_t(MaxDepth)) {
                fail(QStringLiteral("The RTF document is nested too deeply."));
                m_pos = n;
                break;
            }
            m_stack.push_back(m_stack.empty() ? State() : m_stack.back());
            break;
        case '}': {
            if (m_stack.empty()) {
                fail(QStringLiteral("The RTF document has an unmatched closing brace."));
                ended = true;
                break;
            }
            flush();
            m_skipCount = 0;
            m_starPending = false;
            Dest closing = state().dest;
            if (closing == Dest::FontTable)
                finishFontEntry();
            if (m_stack.size() == 1)
                m_lastAlignment = state().alignment;
            m_stack.pop_back();
            if (m_stack.empty())
                ended = true;
            break;
        }
        case '\\': {
            if (m_stack.empty())
                break;
            if (m_pos >= n) {
                fail(QStringLiteral("The RTF document ends inside a control word."));
                break;
            }
            if (!isLetter(m_data[m_pos])) {
                controlSymbol(m_data[m_pos++]);
                break;
            }
            qsizetype start = m_pos;
            while (m_pos < n && isLetter(m_data[m_pos]) && m_pos - start < MaxWordLetters)
                ++m_pos;
            std::string_view word(m_data.data() + start, size_t(m_pos - start));
            bool hasParam = false;
            bool negative = false;
            long long value = 0;
            if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n && isDigit(m_data[m_pos + 1])) {
                negative = true;
                ++m_pos;
            }
            while (m_pos < n && isDigit(m_data[m_pos])) {
                hasParam = true;
                if (value < INT_MAX)
                    value = value * 10 + (m_data[m_pos] - '0');
                ++m_pos;
            }
            if (m_pos >= n || (m_pos + 1 == n && m_data[m_pos] == '-')) {
                // Cut off: the word may have lost letters or digits, so it is not run.
                fail(QStringLiteral("The RTF document ends inside a control word."));
                m_pos = n;
                break;
            }
            if (negative)
                value = -value;
            value = std::clamp<long long>(value, INT_MIN, INT_MAX);
            if (m_pos < n && m_data[m_pos] == ' ')
                ++m_pos;
            controlWord(word, hasParam, int(value));
            break;
        }
        case '\r':
        case '\n':
            break;
        default: {
            if (m_stack.empty())
                break;
            m_starPending = false;
            if (skipFallback())
                break;
            State& s = state();
            if (c == ';' && s.dest == Dest::FontTable) {
                finishFontEntry();
                break;
            }
            if (c == ';' && s.dest == Dest::ColourTable) {
                m_colours.push_back(m_entryHasRgb ? std::optional<Rgb>(m_entryRgb) : std::nullopt);
                m_entryRgb = {};
                m_entryHasRgb = false;
                break;
            }
            if (c == '\t') {
                if (s.dest == Dest::Text)
                    emitChar(u'\t');
                break;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                break;
            if (s.dest == Dest::Text || s.dest == Dest::FontTable)
                addByte(c);
            break;
        }
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
        m_document = Parser(bytes, &sink).run(&m_error);
    } else if (sink) {
        // A piece of text ends with a line end, so its lines are whole paragraphs.
        const bool ok = gbk::decodeTextFilePieces(bytes, [&sink](const QString& piece) {
            for (Paragraph& p : RichDocument::fromPlainText(piece).paragraphs)
                sink(std::move(p));
        });
        if (!ok)
            m_error = QStringLiteral("Some characters of the text file could not be decoded.");
    } else {
        bool ok = true;
        m_document = RichDocument::fromPlainText(gbk::decodeTextFile(bytes, &ok));
        if (!ok)
            m_error = QStringLiteral("Some characters of the text file could not be decoded.");
    }
    return m_error.isEmpty();
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
