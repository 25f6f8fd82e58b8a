// The RTF files against other programs: LibreOffice (when installed) and our own
// command-line converter.

#include "base/core/gbk.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/richtext_print.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

#include <gtest/gtest.h>
#include <string>

using namespace workspace;

namespace {

// 水调歌头 (苏轼), the first lines as the chinese-poetry dataset gives them.
const QStringList Poem = {QStringLiteral("明月几时有，把酒问青天。"),
                          QStringLiteral("不知天上宫阙，今夕是何年。"),
                          QStringLiteral("我欲乘风归去，又恐琼楼玉宇，高处不胜寒。")};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class LibreOffice : public ::testing::Test {
  protected:
    void SetUp() override {
        m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (m_soffice.isEmpty())
            GTEST_SKIP() << "soffice is not installed (Debian: libreoffice-writer-nogui)";
        ASSERT_TRUE(m_dir.isValid());
    }

    struct Conversion {
        QByteArray result; // empty when soffice wrote nothing
        int exitCode = -1;
        QByteArray standardError;
        // For a failure message: how soffice ended.
        std::string how() const {
            return "soffice exit code " + std::to_string(exitCode) + ", standard error: \"" +
                   standardError.trimmed().toStdString() + "\"";
        }
    };

    // Converts `file` in the temporary folder. The first start on a cold profile may
    // set the profile up and end without converting, so an empty result is tried once
    // more on the profile that start left.
    Conversion convert(const QString& file, const QString& filter, const QString& suffix) {
        const QString out =
            m_dir.filePath(QStringLiteral("out/") + QFileInfo(file).completeBaseName() + suffix);
        Conversion c;
        for (int attempt = 0; attempt < 2 && c.result.isEmpty(); ++attempt) {
            QProcess p;
            p.start(m_soffice, {QStringLiteral("-env:UserInstallation=file://") +
                                    m_dir.filePath(QStringLiteral("profile")),
                                QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                filter, QStringLiteral("--outdir"),
                                m_dir.filePath(QStringLiteral("out")), m_dir.filePath(file)});
            EXPECT_TRUE(p.waitForFinished(180000)) << "soffice did not finish";
            c.exitCode = p.exitCode();
            c.standardError = p.readAllStandardError();
            c.result = readAll(out);
        }
        return c;
    }

    QString m_soffice;
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(LibreOffice, ItsRtfLoadsWithTextAlignmentAndFormats) {
    // A Writer document: centred red 16-point 楷体 title, right-aligned author, a bold
    // run, a tab, a soft line break and a character outside GBK.
    const QString fodt = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls><style:font-face style:name="楷体" svg:font-family="楷体"/></office:font-face-decls>
<office:automatic-styles>
<style:style style:name="P1" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/></style:style>
<style:style style:name="P2" style:family="paragraph"><style:paragraph-properties fo:text-align="end"/></style:style>
<style:style style:name="T1" style:family="text"><style:text-properties fo:color="#ff0000" style:font-name-asian="楷体" style:font-size-asian="16pt" fo:font-size="16pt"/></style:style>
<style:style style:name="T2" style:family="text"><style:text-properties fo:font-weight="bold" style:font-weight-asian="bold"/></style:style>
</office:automatic-styles>
<office:body><office:text>
<text:p text:style-name="P1"><text:span text:style-name="T1">水调歌头</text:span></text:p>
<text:p text:style-name="P2">苏轼</text:p>
<text:p>%1<text:span text:style-name="T2">%2</text:span></text:p>
<text:p>%3<text:tab/>a<text:line-break/>b 𠀀</text:p>
</office:text></office:body></office:document>
)")
                             .arg(Poem[0], Poem[1], Poem[2]);
    ASSERT_TRUE(writeAll(m_dir.filePath(QStringLiteral("poem.fodt")), fodt.toUtf8()));
    const Conversion c =
        convert(QStringLiteral("poem.fodt"), QStringLiteral("rtf"), QStringLiteral(".rtf"));
    const QByteArray& rtf = c.result;
    ASSERT_TRUE(RtfReader::looksLikeRtf(rtf)) << "no RTF from soffice; " << c.how();

    RtfReader reader;
    ASSERT_TRUE(reader.read(QByteArrayView(rtf))) << reader.errorString().toStdString();
    const RichDocument& doc = reader.document();
    EXPECT_EQ(doc.plainText(), QStringLiteral("水调歌头\n苏轼\n") + Poem[0] + Poem[1] + '\n' +
                                   Poem[2] + QStringLiteral("\ta\nb 𠀀\n"));
    ASSERT_EQ(doc.paragraphs.size(), 4u);
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Centre);
    EXPECT_EQ(doc.paragraphs[1].alignment, Alignment::Right);
    EXPECT_EQ(doc.paragraphs[2].alignment, Alignment::Left);
    const CharFormat& title = doc.paragraphs[0].runs.at(0).format;
    EXPECT_EQ(title.font, QStringLiteral("楷体"));
    EXPECT_EQ(title.halfPoints, 32);
    EXPECT_EQ(title.colour, (Rgb{255, 0, 0}));
    ASSERT_EQ(doc.paragraphs[2].runs.size(), 2u);
    EXPECT_FALSE(doc.paragraphs[2].runs[0].format.bold);
    EXPECT_TRUE(doc.paragraphs[2].runs[1].format.bold);
}

TEST_F(LibreOffice, ReadsOurRtfAsOurText) {
    RichDocument doc;
    const CharFormat song{QStringLiteral("宋体"), 18, {}, false, false, false};
    doc.paragraphs.push_back(
        {Alignment::Centre,
         {{QStringLiteral("水调歌头"), {QStringLiteral("楷体"), 32, Rgb{255, 0, 0}, true}}}});
    doc.paragraphs.push_back({Alignment::Right, {{QStringLiteral("苏轼"), song}}});
    doc.paragraphs.push_back(
        {Alignment::Left,
         {{Poem[0], song},
          {QStringLiteral("x{\\}y\tz"), {QStringLiteral("Arial"), 20, {}, false, false, false}}}});
    doc.paragraphs.push_back({Alignment::Left, {}});
    doc.paragraphs.push_back(
        {Alignment::Left,
         {{QStringLiteral("𠀀😀 丂€") + QChar(QChar::LineSeparator) + Poem[1], song}}});
    ASSERT_TRUE(writeAll(m_dir.filePath(QStringLiteral("mq1.rtf")), RtfWriter::toRtf(doc)));

    const Conversion c = convert(QStringLiteral("mq1.rtf"),
                                 QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral(".txt"));
    QByteArray bytes = c.result;
    ASSERT_FALSE(bytes.isEmpty()) << "no text from soffice; " << c.how();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(text, doc.plainText());
}

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// With `stdoutFile`, standard output goes to that file ("/dev/full" to make it fail);
// with `stdinFile`, standard input comes from that file.
CliResult cli(const QStringList& args, const QString& stdoutFile = {},
              const QString& stdinFile = {}) {
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    if (!stdinFile.isEmpty())
        p.setStandardInputFile(stdinFile);
    p.start(QStringLiteral(LYREVANE_CLI), args);
    CliResult r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

TEST(RtfCommands, TextToRtfAndBack) {
    QTemporaryDir dir;
    const QString text = Poem.join('\n') + QStringLiteral("\n\n𠀀 {x}\\\n");
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("in.txt")), text.toUtf8()));

    CliResult rtf = cli({QStringLiteral("txt2rtf"), dir.filePath(QStringLiteral("in.txt"))});
    ASSERT_EQ(rtf.exitCode, 0) << rtf.err.toStdString();
    EXPECT_TRUE(rtf.out.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("mq1.rtf")), rtf.out));

    CliResult back = cli({QStringLiteral("rtf2txt"), dir.filePath(QStringLiteral("mq1.rtf"))});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(back.out), text);
}

TEST(RtfCommands, FailuresSayWhyOnOneLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("cut.rtf")),
                         "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\par \\'ce\\'c4"));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("bad.txt")), "\xd6\xd0\xff"));
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        QByteArray out;
    };
    const std::vector<Case> cases = {
        {"missing file",
         {QStringLiteral("rtf2txt"), dir.filePath(QStringLiteral("none.rtf"))},
         1,
         ""},
        {"missing file",
         {QStringLiteral("txt2rtf"), dir.filePath(QStringLiteral("none.txt"))},
         1,
         ""},
        {"no file named", {QStringLiteral("rtf2txt")}, 2, ""},
        {"truncated RTF: its text, then the damage, told apart from a missing file",
         {QStringLiteral("rtf2txt"), dir.filePath(QStringLiteral("cut.rtf"))},
         3,
         QStringLiteral("中\n文\n").toUtf8()},
        {"a text with bytes that are no character",
         {QStringLiteral("txt2rtf"), dir.filePath(QStringLiteral("bad.txt"))},
         3,
         "{\\rtf1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(c.exitCode == 3 ? r.out.startsWith(c.out) : r.out == c.out)
            << r.out.constData();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}

TEST(RtfCommands, AFileWhoseNameIsNotUtf8Opens) {
    QTemporaryDir dir;
    // "\xb4\xca.rtf": a name written in GBK (词), as a file copied from elsewhere may be.
    const QByteArray name = "\xb4\xca.rtf";
    const QByteArray host = QFile::encodeName(dir.path()) + '/' + name;
    FILE* f = std::fopen(host.constData(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("{\\rtf1\\ansi\\ansicpg936 \\'b4\\'ca\\par}", f);
    std::fclose(f);
    // The name reaches the program as bytes through the shell; QProcess passes only text.
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$0\" rtf2txt \"$(printf '\\264\\312.rtf')\""),
             QStringLiteral(LYREVANE_CLI)});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("词\n"));
    std::remove(host.constData()); // a name QTemporaryDir cannot spell
}

TEST(RtfCommands, ALargeFileGoesThroughInPiecesAndComesBackWhole) {
    QTemporaryDir dir;
    QString text;
    while (text.size() < 1'200'000)
        text += Poem.join(QStringLiteral("\r\n")) + QStringLiteral("\n");
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("in.txt")), gbk::encode(text)));

    CliResult rtf = cli({QStringLiteral("txt2rtf"), dir.filePath(QStringLiteral("in.txt"))});
    ASSERT_EQ(rtf.exitCode, 0) << rtf.err.toStdString();
    EXPECT_TRUE(rtf.out == RtfWriter::toRtf(RichDocument::fromPlainText(text)));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("mq1.rtf")), rtf.out));

    CliResult back = cli({QStringLiteral("rtf2txt"), dir.filePath(QStringLiteral("mq1.rtf"))});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_TRUE(QString::fromUtf8(back.out) == text);
}

TEST(RtfCommands, OutputThatCannotBeWrittenFailsTheRun) {
    QTemporaryDir dir;
    QString text;
    while (text.size() < 200'000)
        text += Poem.join('\n') + QLatin1Char('\n');
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("in.txt")), gbk::encode(text)));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("in.rtf")),
                         RtfWriter::toRtf(RichDocument::fromPlainText(text))));
    for (const char* command : {"txt2rtf", "rtf2txt"}) {
        SCOPED_TRACE(command);
        const QString input =
            dir.filePath(QStringLiteral("in.") + QString::fromLatin1(command).left(3));
        CliResult r = cli({QString::fromLatin1(command), input}, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}

TEST(RtfCommands, AGuessedEncodingIsNamedAndCanBeOverruled) {
    QTemporaryDir dir;
    // Valid UTF-8 ("abcé") that GBK reads cleanly too ("abc茅").
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("both.txt")), "abc\xc3\xa9\n"));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("poem.txt")), Poem.join('\n').toUtf8()));
    const QString both = dir.filePath(QStringLiteral("both.txt"));
    const QString poem = dir.filePath(QStringLiteral("poem.txt"));
    const QString enc = QStringLiteral("--encoding");
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        QString text;       // what the RTF holds
        const char* notice; // on standard error, "" for nothing at all
    } cases[] = {
        {"a guess is named", {both}, 0, QStringLiteral("abcé\n"), "read as UTF-8"},
        {"GBK by choice", {both, enc, QStringLiteral("gbk")}, 0, QStringLiteral("abc茅\n"), ""},
        {"UTF-8 by choice",
         {QStringLiteral("--encoding=utf-8"), both},
         0,
         QStringLiteral("abcé\n"),
         ""},
        {"no guess, no notice", {poem}, 0, Poem.join('\n'), ""},
        {"an unknown encoding", {both, enc, QStringLiteral("latin1")}, 2, {}, "gbk or utf-8"},
        {"an option without its value", {both, enc}, 2, {}, "gbk or utf-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult r = cli(QStringList{QStringLiteral("txt2rtf")} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.exitCode == 0) {
            EXPECT_TRUE(r.out == RtfWriter::toRtf(RichDocument::fromPlainText(c.text)));
        }
        if (*c.notice) {
            EXPECT_TRUE(r.err.contains(c.notice)) << r.err.toStdString();
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        } else {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
    }
}

TEST(RtfCommands, AFileReadInPiecesConvertsAsStandardInputReadWhole) {
    // A file is read a piece at a time (twice, where the encoding is guessed); standard
    // input is read whole first. Both give the same bytes, damage and all.
    QTemporaryDir dir;
    QString text;
    while (text.size() < 1'200'000)
        text += Poem.join(QStringLiteral("\r\n")) + QStringLiteral("\n");
    QByteArray damaged = gbk::encode(text);
    damaged.insert(damaged.indexOf('\n', 1'500'000), '\xd6'); // past the first megabyte
    const QByteArray utf16 =
        "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("damaged.txt")), damaged));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("utf16.txt")), utf16));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("in.rtf")),
                         RtfWriter::toRtf(RichDocument::fromPlainText(text))));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("cut.rtf")),
                         RtfWriter::toRtf(RichDocument::fromPlainText(text)).left(3'000'001)));
    struct Case {
        const char* command;
        const char* file;
        int exitCode;
    } cases[] = {
        {"txt2rtf", "damaged.txt", 3}, {"txt2rtf", "utf16.txt", 0}, {"rtf2txt", "damaged.txt", 3},
        {"rtf2txt", "utf16.txt", 0},   {"rtf2txt", "in.rtf", 0},    {"rtf2txt", "cut.rtf", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.file);
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        const CliResult file = cli({QString::fromLatin1(c.command), path});
        const CliResult piped =
            cli({QString::fromLatin1(c.command), QStringLiteral("-")}, {}, path);
        EXPECT_EQ(file.exitCode, c.exitCode) << file.err.toStdString();
        EXPECT_GT(file.out.size(), 1'000'000); // what could be read is written
        EXPECT_TRUE(file.out == piped.out);
        EXPECT_EQ(piped.exitCode, file.exitCode);
        EXPECT_EQ(QString::fromUtf8(piped.err).replace(QStringLiteral("-: "), path + ": "),
                  QString::fromUtf8(file.err));
    }
}

TEST(RtfCommands, AnEndlessInputIsRefusedAndNamesStayOnOneLine) {
    // Over the limit, without a byte of it on the disk.
    QTemporaryDir dir;
    const QString huge = dir.filePath(QStringLiteral("huge.txt"));
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize((qint64(256) << 20) + 1));
    sparse.close();
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        const char* says;
    } cases[] = {
        {"txt2rtf of an endless device",
         {QStringLiteral("txt2rtf"), QStringLiteral("/dev/zero")},
         1,
         "larger than 256 MB"},
        {"rtf2txt of an endless device",
         {QStringLiteral("rtf2txt"), QStringLiteral("/dev/zero")},
         1,
         "larger than 256 MB"},
        {"txt2rtf of a file over the limit",
         {QStringLiteral("txt2rtf"), huge},
         1,
         "larger than 256 MB"},
        {"rtf2txt of a file over the limit",
         {QStringLiteral("rtf2txt"), huge},
         1,
         "larger than 256 MB"},
        {"check of an endless device",
         {QStringLiteral("check"), QStringLiteral("蝶恋花"), QStringLiteral("/dev/zero")},
         2,
         "larger than 16 MB"},
        {"a file name with a line break",
         {QStringLiteral("txt2rtf"), QStringLiteral("/nonexistent/a\nb")},
         1,
         "/nonexistent/a\\nb"},
        {"a command with a line break", {QStringLiteral("rtf\n2txt")}, 2, "rtf\\n2txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}
