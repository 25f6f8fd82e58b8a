#include "base/core/gbk.h"

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
        {"UTF-16 with its mark",
         QByteArray("\xFF\xFE") +
             QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2),
         text, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = !c.ok;
        EXPECT_EQ(gbk::decodeTextFile(c.bytes, &ok), c.expected);
        EXPECT_EQ(ok, c.ok);
        QString joined;
        int pieces = 0;
        bool linesWhole = true;
        EXPECT_EQ(gbk::decodeTextFilePieces(c.bytes,
                                            [&](const QString& piece) {
                                                linesWhole =
                                                    linesWhole && !joined.endsWith('\r') &&
                                                    (joined.isEmpty() || joined.endsWith('\n'));
                                                joined += piece;
                                                ++pieces;
                                            }),
                  c.ok);
        EXPECT_TRUE(joined == c.expected);
        EXPECT_TRUE(linesWhole);
        if (!c.bytes.startsWith("\xFF\xFE")) { // a UTF-16 file is read at once
            EXPECT_GT(pieces, 1);
        }
    }
}
