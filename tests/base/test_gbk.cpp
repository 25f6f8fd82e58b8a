#include "base/core/gbk.h"
#include "support/trickle_device.h"

#include <QList>
#include <QStringEncoder>

#include <gtest/gtest.h>

TEST(Gbk, EncodesChineseAsDoubleBytes) {
    EXPECT_EQ(gbk::encode(u"中"), QByteArray("\xd6\xd0"));
    EXPECT_EQ(gbk::encode(u"○●◎△▲"), QByteArray("\xa1\xf0\xa1\xf1\xa1\xf2\xa1\xf7\xa1\xf8"));
    EXPECT_EQ(gbk::decode("\xcb\xce\xcc\xe5"), QStringLiteral("宋体"));
}

TEST(Gbk, CharactersOutsideGbkSurviveARoundTrip) {
    const QString text = QStringLiteral("春眠😀不觉晓𠀀");
    bool exact = true;
    QByteArray bytes = gbk::encode(text, &exact);
    EXPECT_FALSE(exact);
    EXPECT_FALSE(gbk::representable(text));
    bool ok = false;
    EXPECT_EQ(gbk::decode(bytes, &ok), text);
    EXPECT_TRUE(ok);
}

TEST(Gbk, UndecodableBytesShowAsReplacementNotDropped) {
    bool ok = true;
    // A lead byte with no trail byte: the damage shows, the text around it stays.
    QString text = gbk::decode(QByteArray("a\xd6\xd0"
                                          "b\x81"),
                               &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(text, QStringLiteral("a中b") + QChar(QChar::ReplacementCharacter));
}

TEST(Gbk, DamageInOneTextDoesNotReachTheNext) {
    // Text after text, as the RTF reader decodes its runs: a bad byte or a cut-off
    // character leaves nothing behind for the clean text that follows.
    for (const QByteArray& damaged :
         {QByteArray("\xcb\xce\xff\xcc\xe5"), QByteArray("\xcb\xce\xcc")}) {
        bool ok = true;
        gbk::decode(damaged, &ok);
        EXPECT_FALSE(ok) << damaged.toHex().constData();
        EXPECT_EQ(gbk::decode("\xcb\xce\xcc\xe5", &ok), QStringLiteral("宋体"));
        EXPECT_TRUE(ok) << "after " << damaged.toHex().constData();
    }
}

TEST(Gbk, CharLengthNeverSplitsACharacter) {
    QByteArray bytes = gbk::encode(u"a中😀");
    EXPECT_EQ(gbk::charLength(bytes, 0), 1);
    EXPECT_EQ(gbk::charLength(bytes, 1), 2);
    EXPECT_EQ(gbk::charLength(bytes, 3), 4);
}

TEST(Gbk, CharactersAfterOneOutsideGbkStayGbk) {
    // The euro sign is 0x80 in GBK and A2E3 in GB18030: after an emoji it must still be GBK.
    EXPECT_EQ(gbk::encode(u"😀€中"), gbk::encode(u"😀") + QByteArray("\x80\xd6\xd0"));
}

TEST(Gbk, EveryCharacterWrittenReadsBackAsItself) {
    // Every code point the encoder takes, block by block; the euro sign and the
    // four-byte characters share the text, as they may in a user's file.
    QList<char32_t> all;
    for (char32_t u = 0x80; u <= 0x10FFFF; ++u) {
        if (!QChar::isSurrogate(u))
            all << u;
    }
    const qsizetype block = 4096;
    for (qsizetype start = 0; start < all.size(); start += block) {
        QString text =
            QString::fromUcs4(all.constData() + start, std::min(block, all.size() - start)) +
            QStringLiteral("€😀");
        bool ok = false;
        if (gbk::decode(gbk::encode(text), &ok) == text && ok)
            continue;
        for (char32_t u : all.mid(start, block)) {
            const QString one = QString::fromUcs4(&u, 1);
            EXPECT_EQ(gbk::decode(gbk::encode(one)), one) << "U+" << std::hex << unsigned(u);
        }
        ADD_FAILURE() << "block from U+" << std::hex << unsigned(all[start]);
    }
    for (char16_t u : {u'\uE84F', u'\uE81B', u'\uE81C'}) {
        const QString one(QChar{u});
        EXPECT_EQ(gbk::decode(gbk::encode(one)), one) << "U+" << std::hex << unsigned(u);
    }
}

namespace {

// GB18030 as this system converts it.
struct SystemGb18030 : gbk::Converter {
    QByteArray toBytes(QStringView text) const override {
        return QStringEncoder("GB18030").encode(text);
    }
    QString toText(QByteArrayView bytes) const override { return gbk::decode(bytes); }
};

// A converter that writes three private-use code points with the two-byte codes of the
// ideographs that took their place, as some converter versions do.
struct DriftingGb18030 : SystemGb18030 {
    QByteArray toBytes(QStringView text) const override {
        QByteArray out;
        for (QChar c : text) {
            if (c == u'\uE84F')
                out += "\xfe\x8b";
            else if (c == u'\uE81B')
                out += "\xfe\x55";
            else if (c == u'\uE81C')
                out += "\xfe\x56";
            else
                out += SystemGb18030::toBytes(QStringView(&c, 1));
        }
        return out;
    }
};

} // namespace

TEST(Gbk, CharactersAConverterWritesAsOthersGetBytesThatReadBackAsThem) {
    const gbk::RoundTripRepairs repairs =
        gbk::findRoundTripRepairs(DriftingGb18030(), SystemGb18030());
    EXPECT_EQ(repairs.size(), 3);
    for (char16_t u : {u'\uE84F', u'\uE81B', u'\uE81C'}) {
        ASSERT_TRUE(repairs.contains(u)) << "U+" << std::hex << unsigned(u);
        EXPECT_EQ(gbk::decode(repairs[u]), QString(QChar{u})) << "U+" << std::hex << unsigned(u);
        EXPECT_EQ(repairs[u].size(), 4);
    }
}

TEST(Gbk, EveryGbkCodeStaysTheSameTwoBytes) {
    int codes = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const QByteArray bytes = QByteArray(1, char(lead)) + char(trail);
            bool ok = false;
            const QString text = gbk::decode(bytes, &ok);
            if (!ok)
                continue;
            ++codes;
            EXPECT_EQ(text.size(), 1) << bytes.toHex().constData();
            // A2E3 is GB18030's euro sign, which is written as 0x80 (the next test).
            if (bytes != "\xa2\xe3") {
                EXPECT_EQ(gbk::encode(text), bytes) << bytes.toHex().constData();
            }
        }
    }
    EXPECT_EQ(codes, 23940); // GBK's double-byte codes
}

TEST(Gbk, CodesThatOtherTablesGivePrivateUseReadAsTheirCharacters) {
    struct Case {
        const char* bytes;
        const char16_t* text;
    } cases[] = {
        {"\xa8\xbf", u"ǹ"},  {"\xa8\xbc", u"ḿ"},  {"\xa9\x8a", u"⿰"}, {"\xfe\x50", u"⺁"},
        {"\xfe\x56", u"㑇"}, {"\xfe\x98", u"䴓"}, {"\x80", u"€"},      {"\xa2\xe3", u"€"},
    };
    for (const auto& c : cases) {
        const QString expected = QString::fromUtf16(c.text);
        EXPECT_EQ(gbk::decode(c.bytes), expected) << c.bytes;
        EXPECT_TRUE(gbk::representable(expected)) << c.bytes;
    }
}

TEST(Gbk, TextFilesReadAsGbkUnlessClearlyUtf8) {
    // 水调歌头 (苏轼), the first lines as the chinese-poetry dataset gives them.
    const QString poem = QStringLiteral("明月几时有，把酒问青天。\n不知天上宫阙，今夕是何年。\n"
                                        "我欲乘风归去，又恐琼楼玉宇，高处不胜寒。\n");
    struct Case {
        QString text;
        bool utf8WithoutMarkRecognised; // a short UTF-8 text may read as GBK
    } cases[] = {
        {QStringLiteral("喜迁莺"), true}, // its GBK bytes are valid UTF-8 too
        {QStringLiteral("价格€5😀"), true},
        {QStringLiteral("ǹ"), false}, // in UTF-8 the GBK code of 枪
        {QStringLiteral("Lyrevane 1.0"), true},
        {poem, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        bool ok = false;
        EXPECT_EQ(gbk::decodeTextFile(gbk::encode(c.text), &ok), c.text) << "as the program writes";
        EXPECT_TRUE(ok);
        EXPECT_EQ(gbk::decodeTextFile("\xEF\xBB\xBF" + c.text.toUtf8()), c.text) << "UTF-8, marked";
        if (c.utf8WithoutMarkRecognised) {
            EXPECT_EQ(gbk::decodeTextFile(c.text.toUtf8()), c.text) << "UTF-8 from an editor";
        }
    }
}

TEST(Gbk, ValidUtf8IsUtf8UnlessFarMorePlausibleAsGbkChinese) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        // Each of these is also clean GBK (茅 for é; seven characters for the three).
        {"an accented letter in a Latin word", "abc\xc3\xa9", QStringLiteral("abcé")},
        {"symbols, an emoji and a rare ideograph", QStringLiteral("€😀𠀀").toUtf8(),
         QStringLiteral("€😀𠀀")},
        {"French", QStringLiteral("café crème").toUtf8(), QStringLiteral("café crème")},
        {"a Cyrillic word", QStringLiteral("привет").toUtf8(), QStringLiteral("привет")},
        // GBK whose bytes happen to be valid UTF-8 (ϲǨݺ, letters of three scripts).
        {"a tune name in GBK", gbk::encode(QStringLiteral("喜迁莺")), QStringLiteral("喜迁莺")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = false;
        EXPECT_EQ(gbk::decodeTextFile(c.bytes, &ok), c.expected);
        EXPECT_TRUE(ok);
    }
}

TEST(Gbk, ALargeTextFileReadInPiecesReadsAsAWhole) {
    // Over a megabyte, so the file is weighed and decoded in several pieces; the verdict
    // on the encoding must still be the one the whole file gives.
    const QString poem = QStringLiteral("明月几时有，把酒问青天。\r\n不知天上宫阙，今夕是何年。\n");
    QString text;
    while (text.size() < 1'400'000)
        text += poem;
    const QByteArray asGbk = gbk::encode(text);
    // A lead byte cut off by the line end, just after the first piece's size.
    QByteArray damagedGbk = asGbk;
    const qsizetype feed = damagedGbk.indexOf('\n', (1 << 20) + 10);
    damagedGbk.insert(feed, '\xd6');
    // UTF-8 until the second piece, where one stray byte makes the file GBK after all.
    QByteArray strayByte = text.toUtf8();
    strayByte.insert(strayByte.size() - 10, '\xff');
    // Plain ASCII for the first piece, Chinese after it.
    QByteArray asciiFirst = QByteArray(1'200'000, 'a') + '\n' + poem.toUtf8();
    auto utf16 = [](const QString& t, QStringConverter::Encoding e, const char* mark) {
        return QByteArray(mark) + QStringEncoder(e).encode(t);
    };
    // ਕ一 is 15 0A 00 4E in UTF-16LE: a line feed's bytes, halves of two other units.
    QString oddFeeds;
    while (oddFeeds.size() < 1'400'000)
        oddFeeds += QStringLiteral("ਕ一").repeated(50) + QLatin1Char('\n');
    // A last line that runs from before a piece's size to past it, and one byte after it.
    const QString longLast = text + QString(600'000, QLatin1Char('a')) + QLatin1Char('\n');

    struct Case {
        const char* name;
        QByteArray bytes;
        QString expected;
        bool ok;
    } cases[] = {
        {"GBK", asGbk, text, true},
        {"UTF-8", text.toUtf8(), text, true},
        {"GBK with a broken character at a piece's end", damagedGbk, gbk::decode(damagedGbk),
         false},
        {"UTF-8 broken late reads as GBK", strayByte, gbk::decode(strayByte), false},
        {"UTF-8 after a megabyte of ASCII", asciiFirst, QString::fromUtf8(asciiFirst), true},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text.toUtf8(), text, true},
        {"UTF-16 with its mark", utf16(text, QStringConverter::Utf16LE, "\xFF\xFE"), text, true},
        {"UTF-16 big-endian", utf16(text, QStringConverter::Utf16BE, "\xFE\xFF"), text, true},
        {"UTF-16 whose bytes hold line feeds out of step",
         utf16(oddFeeds, QStringConverter::Utf16LE, "\xFF\xFE"), oddFeeds, true},
        // The odd byte shows as U+FFFD, as in the whole file, not dropped as a piece alone.
        {"UTF-16 with a byte left over",
         utf16(longLast, QStringConverter::Utf16LE, "\xFF\xFE") + 'x', longLast + QChar(0xFFFD),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = !c.ok;
        EXPECT_EQ(gbk::decodeTextFile(c.bytes, &ok), c.expected);
        EXPECT_EQ(ok, c.ok);
        auto piecesOf = [&](text_pieces::Source& source) {
            QStringList pieces;
            EXPECT_EQ(gbk::decodeTextFilePieces(source, [&](const QString& p) { pieces << p; }),
                      c.ok);
            EXPECT_FALSE(source.failed());
            return pieces;
        };
        text_pieces::Source inMemory(c.bytes);
        const QStringList pieces = piecesOf(inMemory);
        EXPECT_TRUE(pieces.join(QString()) == c.expected);
        EXPECT_GT(pieces.size(), 1);
        for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
            EXPECT_TRUE(pieces[i].endsWith('\n')) << "piece " << i << " ends inside a line";
        }
        // From a file read a part at a time (parts of an odd size, so that they cut
        // characters and units), and from a pipe: the same pieces.
        TrickleDevice file(c.bytes, 65537);
        text_pieces::Source fromFile(&file);
        EXPECT_TRUE(piecesOf(fromFile) == pieces);
        TrickleDevice pipe(c.bytes, 65537, true);
        text_pieces::Source fromPipe(&pipe);
        EXPECT_TRUE(piecesOf(fromPipe) == pieces);
    }
}
