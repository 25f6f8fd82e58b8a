#include "workspace/core/wordcount.h"

#include <gtest/gtest.h>

using namespace workspace;

TEST(WordCount, CountsGbkBytes) {
    struct Case {
        const char* name;
        QString text;
        qint64 wide;
        qint64 other;
    };
    const std::vector<Case> cases = {
        {"Chinese, full-width punctuation and ASCII", QStringLiteral("你好，world!"), 6, 6},
        {"spaces, tabs and line breaks are not counted", QStringLiteral("a b\r\n\tc"), 0, 3},
        {"丂's second byte is ASCII", QStringLiteral("丂"), 1, 1},
        {"€ is a single wide byte", QStringLiteral("€"), 1, 0},
        {"a character GBK lacks counts as one Chinese character", QStringLiteral("𠀀a"), 2, 1},
        {"a line separator is a line break",
         QStringLiteral("a") + QChar(QChar::LineSeparator) + "b", 0, 2},
        {"nothing", QString(), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WordCount count = countWords(c.text);
        EXPECT_EQ(count.wide, c.wide);
        EXPECT_EQ(count.other, c.other);
    }
    EXPECT_EQ(countWords(QStringLiteral("€")).characters(), 0) << "an odd count rounds down";
}

TEST(WordCount, ResultLinesChangeOnlyForCountsAboveZero) {
    const QString fresh1 = QStringLiteral("您的诗词字数为：");
    struct Case {
        const char* name;
        QString text;
        QString line1;
        QString line2;
    };
    const std::vector<Case> cases = {
        {"both counters", QStringLiteral("你好，world!"), QStringLiteral("您的诗词字数为：3"),
         QStringLiteral("输入了 6 个英文字符")},
        {"no ASCII leaves line 2", QStringLiteral("中文"), QStringLiteral("您的诗词字数为：2"),
         QStringLiteral("old")},
        {"no wide byte leaves line 1", QStringLiteral("ab"), fresh1,
         QStringLiteral("输入了 2 个英文字符")},
        {"one wide byte shows zero characters", QStringLiteral("€"),
         QStringLiteral("您的诗词字数为：0"), QStringLiteral("old")},
        {"an empty document changes nothing", QString(), fresh1, QStringLiteral("old")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString line1 = fresh1;
        QString line2 = QStringLiteral("old");
        updateResultLines(countWords(c.text), &line1, &line2);
        EXPECT_EQ(line1, c.line1);
        EXPECT_EQ(line2, c.line2);
    }
}
