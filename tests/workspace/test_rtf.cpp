#include "base/core/gbk.h"
#include "support/trickle_device.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/richtext_print.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace workspace;

namespace {

// Lines of 水调歌头 (苏轼), as the chinese-poetry dataset gives them.
const QString Line1 = QStringLiteral("明月几时有，把酒问青天。");
const QString Line2 = QStringLiteral("不知天上宫阙，今夕是何年。");

CharFormat fmt(const QString& font, int halfPoints, std::optional<Rgb> colour = {}, bool b = false,
               bool i = false, bool u = false) {
    return CharFormat{font, halfPoints, colour, b, i, u};
}

Paragraph para(Alignment a, std::vector<Run> runs) {
    return Paragraph{a, std::move(runs)};
}

const CharFormat Song9 = fmt(QStringLiteral("宋体"), 18);
const Rgb Red{255, 0, 0};

RichDocument readRtf(const QByteArray& bytes, bool* ok = nullptr, QString* error = nullptr) {
    RtfReader reader;
    bool result = reader.read(QByteArrayView(bytes));
    if (ok)
        *ok = result;
    if (error)
        *error = reader.errorString();
    return reader.takeDocument();
}

// A document that uses every feature the files keep.
RichDocument sampleDocument() {
    RichDocument doc;
    doc.paragraphs.push_back(
        para(Alignment::Centre,
             {{QStringLiteral("水调歌头"), fmt(QStringLiteral("楷体"), 32, Red, true)}}));
    doc.paragraphs.push_back(para(Alignment::Right, {{QStringLiteral("苏轼"), Song9}}));
    doc.paragraphs.push_back(
        para(Alignment::Left,
             {{Line1, Song9},
              {Line2, fmt(QStringLiteral("宋体"), 18, Rgb{0, 0, 255}, false, true, true)}}));
    doc.paragraphs.push_back(para(Alignment::Left, {}));
    doc.paragraphs.push_back(
        para(Alignment::Justify, {{QStringLiteral("tab\there") + QChar(QChar::LineSeparator) +
                                       QStringLiteral("{\\} 𠀀😀 丂€"),
                                   fmt(QStringLiteral("Arial"), 21)}}));
    return doc;
}

} // namespace

TEST(RtfWriter, WritesWhatTheRichTextControlWrites) {
    RichDocument doc;
    doc.paragraphs.push_back(para(
        Alignment::Centre, {{QStringLiteral("中"), Song9},
                            {QStringLiteral("a{b}"), fmt(QStringLiteral("楷体"), 24, Red, true)}}));
    doc.paragraphs.push_back(para(Alignment::Left, {{QStringLiteral("𠀀\tx"), Song9}}));
    const QByteArray expected =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
        "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset134 "
        "\\'bf\\'ac\\'cc\\'e5;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\qc\\fs18\\'d6\\'d0\\f1\\fs24\\cf1\\b a\\{b\\}\\par\r\n"
        "\\pard\\f0\\fs18\\cf0\\b0\\u-10176?\\u-9216?\\tab x\\par\r\n"
        "}\r\n";
    EXPECT_EQ(RtfWriter::toRtf(doc), expected);
}

TEST(RtfWriter, ASpaceAfterAControlWordIsNotSwallowed) {
    RichDocument doc;
    doc.paragraphs.push_back(
        para(Alignment::Left, {{QStringLiteral(" lead"), fmt(QStringLiteral("Arial"), 20)},
                               {QStringLiteral("7 up"), fmt(QStringLiteral("Arial"), 22)}}));
    EXPECT_EQ(readRtf(RtfWriter::toRtf(doc)), doc);
}

TEST(RtfRoundTrip, DocumentsComeBackAsTheyWere) {
    const std::vector<std::pair<const char*, RichDocument>> cases = [] {
        std::vector<std::pair<const char*, RichDocument>> c;
        c.push_back({"empty document", RichDocument{}});
        RichDocument blank;
        blank.paragraphs = {para(Alignment::Left, {}), para(Alignment::Left, {})};
        c.push_back({"empty paragraphs only", blank});
        c.push_back(
            {"mixed fonts, sizes, colours, alignment, characters outside GBK", sampleDocument()});
        RichDocument aligned;
        aligned.paragraphs = {para(Alignment::Right, {{Line1, Song9}}),
                              para(Alignment::Right, {{Line2, Song9}}), para(Alignment::Centre, {}),
                              para(Alignment::Left, {{Line1, Song9}})};
        c.push_back({"alignment changes and repeats", aligned});
        RichDocument face;
        face.paragraphs = {para(Alignment::Left, {{Line1, fmt(QStringLiteral("𠀀体 Face"), 18)}})};
        c.push_back({"a font name GBK lacks", face});
        return c;
    }();
    for (const auto& [name, doc] : cases) {
        SCOPED_TRACE(name);
        const QByteArray rtf = RtfWriter::toRtf(doc);
        for (char c : rtf)
            ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is 7-bit";
        bool ok = false;
        QString error;
        EXPECT_EQ(readRtf(rtf, &ok, &error), doc);
        EXPECT_TRUE(ok) << error.toStdString();
    }
}

TEST(RtfReader, ReadsTheTextOfRealFiles) {
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
    };
    const QByteArray cjkFonts =
        "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}{\\f1\\fnil\\fcharset136 MingLiU;}"
        "{\\f2\\fswiss\\fcharset0 Arial;}{\\f3\\fnil MS Sans Serif;}}";
    const std::vector<Case> cases = {
        {"as the rich-text control writes it, with a NUL after the end",
         QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{"
                    "\\f0\\fnil\\fcharset134 "
                    "\\'cb\\'ce\\'cc\\'e5;}}\r\n{\\*\\generator Msftedit "
                    "5.41.21.2510;}\\viewkind4\\uc1\\pard"
                    "\\lang2052\\f0\\fs18\\'c3\\'f7\\'d4\\'c2\\par\r\n}\r\n") +
             '\0',
         QStringLiteral("明月\n")},
        {"a double-byte character split over two escapes and a line end",
         "{\\rtf1\\ansi\\ansicpg936 \\'d6\r\n\\'d0\\'ce\\'c4}", QStringLiteral("中文\n")},
        {"code page per font: GBK, Big5, Western, and the document's for a font without one",
         "{\\rtf1\\ansi\\ansicpg936" + cjkFonts +
             "\\f0\\'d6\\'d0\\f1\\'a4\\'a4\\f2 caf\\'e9\\f3\\'d6\\'d0}",
         QStringLiteral("中中café中\n")},
        {"\\ansicpg alone decides without a font table",
         "{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4\\'a4\\'e5}", QStringLiteral("中文\n")},
        {"no code page at all is Western", "{\\rtf1\\ansi caf\\'e9}", QStringLiteral("café\n")},
        {"\\uN with negative values and surrogate pairs, one fallback each",
         "{\\rtf1\\ansi\\uc1\\u20013?\\u-10176?\\u-9216?\\u-3913?}",
         QStringLiteral("中𠀀\uF0B7\n")},
        {"\\uc2 skips two escapes; \\uc0 skips none",
         "{\\rtf1\\uc2\\u20013\\'d6\\'d0\\uc0\\u25991 A}", QStringLiteral("中文A\n")},
        {"\\uc is scoped to its group", "{\\rtf1\\uc1{\\uc2\\u20013\\'d6\\'d0}\\u25991?}",
         QStringLiteral("中文\n")},
        {"fallback skipping stops at a group end", "{\\rtf1\\uc3{\\u20013}AB}",
         QStringLiteral("中AB\n")},
        {"unknown \\* destinations and known non-text ones are skipped",
         "{\\rtf1{\\*\\foo hidden {nested}}{\\info{\\title t}}{\\stylesheet{\\s0 Normal;}}"
         "{\\pict\\pngblip 89504e47}{\\*\\generator Msftedit;}shown}",
         QStringLiteral("shown\n")},
        {"unknown control words are ignored with their parameter and delimiter",
         "{\\rtf1\\foo123 a\\bar-4 b\\baz c}", QStringLiteral("abc\n")},
        {"\\bin takes its bytes raw, braces included", "{\\rtf1 a\\bin3 {\\}b}",
         QStringLiteral("ab\n")},
        {"\\line, \\tab, a raw tab and escaped specials", "{\\rtf1 a\\line b\\tab c\td\\{\\}\\\\}",
         QStringLiteral("a\nb\tc\td{}\\\n")},
        {"\\par, \\sect and backslash-newline end paragraphs; bare line ends do not",
         "{\\rtf1 a\r\nb\\par c\\sect d\\\r\ne}", QStringLiteral("ab\nc\nd\ne\n")},
        {"a field shows its result, not its instruction",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}}",
         QStringLiteral("link\n")},
        {"\\upr shows the Unicode part once", "{\\rtf1{\\upr{\\'d6\\'d0}{\\*\\ud{\\u20013?}}}}",
         QStringLiteral("中\n")},
        {"a named special character", "{\\rtf1 a\\emdash b\\~c}", QStringLiteral("a—b\u00A0c\n")},
        {"text after the last \\par is a paragraph too", "{\\rtf1 a\\par b}",
         QStringLiteral("a\nb\n")},
        {"font names in their own code page, Word's \\dbch font for the CJK text",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
         "{\\f13\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5{\\*\\falt SimSun};}}"
         "\\loch\\af0\\hich\\af0\\dbch\\af13\\loch\\f0 ab\\loch\\af13\\hich\\af13\\dbch\\f13 "
         "\\'d6\\'d0}",
         QStringLiteral("ab中\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = false;
        QString error;
        RichDocument doc = readRtf(c.rtf, &ok, &error);
        EXPECT_EQ(doc.plainText(), c.text);
        EXPECT_TRUE(ok) << error.toStdString();
    }
}

TEST(RtfReader, KeepsRunFormattingThroughNestedGroups) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fnil\\fcharset134 \\'bf\\'ac\\'cc\\'e5;}}{\\colortbl ;\\red255\\green0\\blue0;}"
        "\\pard\\fs18 a{\\b b{\\i\\f1\\cf1 c}{\\ul d\\ulnone e}}f\\plain g"
        // LibreOffice's way for CJK text: associated size, font and bold after \dbch
        "{\\rtlch\\ab\\afs40 \\ltrch\\dbch\\ab\\afs32\\af1\\dbch\\u20013\\'3f}}";
    const CharFormat base = fmt(QStringLiteral("宋体"), 18);
    auto with = [&](auto change) {
        CharFormat f = base;
        change(f);
        return f;
    };
    RichDocument expected;
    expected.paragraphs.push_back(
        para(Alignment::Left, {{"a", base},
                               {"b", with([](CharFormat& f) { f.bold = true; })},
                               {"c", fmt(QStringLiteral("楷体"), 18, Red, true, true)},
                               {"d", with([](CharFormat& f) { f.bold = f.underline = true; })},
                               {"e", with([](CharFormat& f) { f.bold = true; })},
                               {"f", base},
                               {"g", fmt(QStringLiteral("宋体"), 24)},
                               {QStringLiteral("中"), fmt(QStringLiteral("楷体"), 32, {}, true)}}));
    EXPECT_EQ(readRtf(rtf), expected);
}

TEST(RtfReader, ParagraphAlignmentIsTheOneInForceAtItsEnd) {
    RichDocument doc =
        readRtf("{\\rtf1\\pard\\qc a\\par b\\par\\pard\\qr c\\par{\\qj d\\par}e\\par\\qc f}");
    std::vector<Alignment> got;
    for (const Paragraph& p : doc.paragraphs)
        got.push_back(p.alignment);
    EXPECT_EQ(got, (std::vector{Alignment::Centre, Alignment::Centre, Alignment::Right,
                                Alignment::Justify, Alignment::Right, Alignment::Centre}));
}

TEST(RtfReader, TextThatIsNotRtfIsReadAsLines) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const QByteArray utf8 = Line1.toUtf8() + "\r\n" + Line2.toUtf8() + "\n";
    const std::vector<Case> cases = {
        {"UTF-8 without a byte-order mark", utf8, Line1 + '\n' + Line2 + '\n'},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, Line1 + '\n' + Line2 + '\n'},
        {"GBK", "\xd6\xd0\xce\xc4\r\nabc", QStringLiteral("中文\nabc\n")},
        {"GBK bytes that are not valid UTF-8", "\xc4\xe3\xba\xc3", QStringLiteral("你好\n")},
        {"an empty line in the middle and CR line ends", "a\r\rb\r", QStringLiteral("a\n\nb\n")},
        {"ASCII that looks like RTF only further in", "x{\\rtf1 y}",
         QStringLiteral("x{\\rtf1 y}\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RtfReader reader;
        EXPECT_TRUE(reader.read(QByteArrayView(c.bytes))) << reader.errorString().toStdString();
        EXPECT_FALSE(reader.wasRtf());
        EXPECT_EQ(reader.document().plainText(), c.text);
    }
    RtfReader empty;
    EXPECT_TRUE(empty.read(QByteArrayView()));
    EXPECT_TRUE(empty.document().paragraphs.empty());
}

TEST(RtfReader, DamageIsReportedAndTheReadableTextKept) {
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
    };
    const std::vector<Case> cases = {
        {"missing closing braces", "{\\rtf1 a\\par{\\b b", QStringLiteral("a\nb\n")},
        {"an extra closing brace", "{\\rtf1 a}}", QStringLiteral("a\n")},
        {"data after the end", "{\\rtf1 a}b", QStringLiteral("a\n")},
        {"a broken hex escape", "{\\rtf1 a\\'zz b}", QStringLiteral("azz b\n")},
        {"\\bin longer than the file", "{\\rtf1 a\\bin99999 xyz}", QStringLiteral("a\n")},
        {"a lead byte without its trail byte", "{\\rtf1\\ansicpg936 a\\'d6}",
         QStringLiteral("a\uFFFD\n")},
        {"nesting deeper than any document", "{\\rtf1 a" + QByteArray(100000, '{') + "b",
         QStringLiteral("a\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = true;
        QString error;
        RichDocument doc = readRtf(c.rtf, &ok, &error);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(doc.plainText(), c.text);
    }
}

TEST(RtfReader, EveryTruncationReportsDamageAndKeepsAPrefix) {
    const RichDocument doc = sampleDocument();
    const QByteArray rtf = RtfWriter::toRtf(doc);
    const QString full = doc.plainText();
    const qsizetype end = rtf.lastIndexOf('}');
    for (qsizetype cut = 5; cut < end; ++cut) {
        SCOPED_TRACE(cut);
        bool ok = true;
        QString error;
        QString text = readRtf(rtf.left(cut), &ok, &error).plainText();
        EXPECT_FALSE(ok);
        EXPECT_FALSE(error.isEmpty());
        // What was read is the start of the text, up to a character cut in half.
        if (text.endsWith('\n'))
            text.chop(1);
        if (text.endsWith(QChar::ReplacementCharacter))
            text.chop(1);
        ASSERT_TRUE(full.startsWith(text))
            << text.toStdString() << " from ..." << rtf.left(cut).right(40).toStdString();
    }
}

TEST(RtfReader, RandomInputNeverCrashesOrHangs) {
    // Bounded: a fixed seed, a few thousand small inputs built from RTF's own pieces.
    const std::vector<QByteArray> pieces = {"{",          "}",
                                            "\\",         "\\'",
                                            "\\'d6",      "\\u-",
                                            "\\u",        "\\uc2 ",
                                            "\\bin",      "\\*",
                                            "\\fonttbl",  "\\colortbl",
                                            "\\f",        "\\par",
                                            "\\pard\\qc", "\\upr",
                                            "\\ud",       "123",
                                            "-9",         " ",
                                            ";",          "\r\n",
                                            "a",          "\xd6\xd0",
                                            "\xff",       "\\fcharset136",
                                            "\\dbch\\af", "\\cf",
                                            "\\fs"};
    QRandomGenerator random(20261210);
    for (int round = 0; round < 3000; ++round) {
        QByteArray input = "{\\rtf1";
        const int n = random.bounded(1, 200);
        for (int k = 0; k < n; ++k) {
            if (random.bounded(4) == 0)
                input += char(random.bounded(256));
            else
                input += pieces[random.bounded(int(pieces.size()))];
        }
        RtfReader reader;
        if (!reader.read(QByteArrayView(input))) {
            ASSERT_FALSE(reader.errorString().isEmpty()) << input.toStdString();
        }
    }
}

TEST(RtfDevices, ReadAndWriteThroughQIODevice) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    RtfWriter writer;
    ASSERT_TRUE(writer.write(sampleDocument(), &buffer)) << writer.errorString().toStdString();
    buffer.close();

    RtfReader reader;
    ASSERT_TRUE(reader.read(&buffer)) << reader.errorString().toStdString();
    EXPECT_TRUE(reader.wasRtf());
    EXPECT_EQ(reader.document(), sampleDocument());

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(writer.write(sampleDocument(), &readOnly));
    EXPECT_FALSE(writer.errorString().isEmpty());

    QFile missing(QStringLiteral("/nonexistent/mq1.rtf"));
    EXPECT_FALSE(reader.read(&missing));
    EXPECT_FALSE(reader.errorString().isEmpty());
    EXPECT_TRUE(reader.document().paragraphs.empty());
}

TEST(RtfStreaming, ParagraphByParagraphGivesWhatTheWholeDocumentGives) {
    // Many copies, so the writer hands its bytes on several times along the way.
    RichDocument large;
    for (int i = 0; i < 2000; ++i)
        for (const Paragraph& p : sampleDocument().paragraphs)
            large.paragraphs.push_back(p);
    for (const RichDocument& doc : {sampleDocument(), large}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        // The default face needs no naming; the others in the order the runs use them.
        RtfStreamWriter writer(&buffer, {QStringLiteral("楷体"), QStringLiteral("Arial")},
                               {Red, Rgb{0, 0, 255}});
        for (const Paragraph& p : doc.paragraphs)
            ASSERT_TRUE(writer.writeParagraph(p));
        ASSERT_TRUE(writer.finish()) << writer.errorString().toStdString();
        EXPECT_TRUE(buffer.data() == RtfWriter::toRtf(doc));
    }

    const QByteArray rtf = RtfWriter::toRtf(sampleDocument());
    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"RTF", rtf},
        {"RTF cut short", rtf.left(rtf.size() * 2 / 3)},
        {"plain text", gbk::encode(Line1 + QStringLiteral("\r\n\r") + Line2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RtfReader whole;
        const bool wholeOk = whole.read(QByteArrayView(c.bytes));
        RtfReader streaming;
        std::vector<Paragraph> handedOut;
        EXPECT_EQ(streaming.read(QByteArrayView(c.bytes),
                                 [&](Paragraph&& p) { handedOut.push_back(std::move(p)); }),
                  wholeOk);
        EXPECT_EQ(streaming.errorString(), whole.errorString());
        EXPECT_TRUE(handedOut == whole.document().paragraphs);
        EXPECT_TRUE(streaming.document().paragraphs.empty());
    }

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    RtfStreamWriter refused(&readOnly);
    EXPECT_FALSE(refused.writeParagraph(sampleDocument().paragraphs[0]));
    EXPECT_FALSE(refused.finish());
    EXPECT_FALSE(refused.errorString().isEmpty());
}

TEST(RtfStreaming, AFileReadInPartsGivesWhatItsWholeBytesGive) {
    // Whatever a part of the file ends in (a control word, a \'xx escape, \bin data, a
    // character's first byte, the white space before the document), the paragraphs and
    // the damage found are those of the bytes read at once.
    const QByteArray rtf = RtfWriter::toRtf(sampleDocument());
    std::vector<QByteArray> inputs;
    for (qsizetype cut = 0; cut <= rtf.size(); ++cut)
        inputs.push_back(rtf.left(cut));
    const QByteArray head = "{\\rtf1\\ansi\\ansicpg936 ";
    const QByteArray blank = QByteArray(" \r\n\t").repeated(20000); // past one read
    inputs.insert(inputs.end(),
                  {
                      head + "a\\bin5 }}}}}b\\par\\'d6\\'d0\\u20013?\\fs-24 c}",
                      head + "a\\bin9 xy}",
                      head + "a\\fs" + QByteArray(70000, '9') + " b}",
                      head + "a}" + QByteArray(70000, '\0') + "\r\n",
                      head + "a}" + QByteArray(70000, '\0') + "b",
                      blank + head + "a\\par}",
                      blank + gbk::encode(Line1 + '\n' + Line2),
                      "{\\rt",
                      gbk::encode(Line1 + QStringLiteral("\r\n\r") + Line2),
                      "\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE).encode(Line1 + '\n'),
                  });
    for (const QByteArray& input : inputs) {
        SCOPED_TRACE(input.left(80).toStdString());
        RtfReader whole;
        std::vector<Paragraph> expected;
        const bool ok = whole.read(QByteArrayView(input),
                                   [&](Paragraph&& p) { expected.push_back(std::move(p)); });
        for (const qint64 step : {1, 2, 3, 7, 4096}) {
            SCOPED_TRACE(step);
            TrickleDevice file(input, step);
            RtfReader reader;
            std::vector<Paragraph> got;
            EXPECT_EQ(reader.read(&file, [&](Paragraph&& p) { got.push_back(std::move(p)); }), ok);
            EXPECT_EQ(reader.errorString(), whole.errorString());
            EXPECT_EQ(reader.wasRtf(), whole.wasRtf());
            EXPECT_TRUE(got == expected);
        }
        // Without a sink the paragraphs are kept; a pipe is read whole.
        TrickleDevice file(input, 5);
        RtfReader keeping;
        EXPECT_EQ(keeping.read(&file, RtfReader::ParagraphSink()), ok);
        EXPECT_TRUE(keeping.document().paragraphs == expected);
        TrickleDevice pipe(input, 5, true);
        RtfReader fromPipe;
        std::vector<Paragraph> piped;
        EXPECT_EQ(fromPipe.read(&pipe, [&](Paragraph&& p) { piped.push_back(std::move(p)); }), ok);
        EXPECT_TRUE(piped == expected);
    }
}
