#include "base/core/gbk.h"

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
