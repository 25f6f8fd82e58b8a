// The search key table and its matching rule: whole-text equality, first row wins.

#include "catalogue/core/catalogue.h"

#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

using namespace catalogue;

TEST(SearchKeyTable, RowsKeysAndTargets) {
    const auto rows = searchKeyTable();
    ASSERT_EQ(rows.size(), 109u);
    QSet<QString> distinct;
    QMap<QString, int> targeted;
    for (const auto& r : rows) {
        EXPECT_GE(r.keys.size(), 2) << r.target.toStdString();
        EXPECT_LE(r.keys.size(), 6) << r.target.toStdString();
        for (const auto& k : r.keys) {
            EXPECT_FALSE(k.isEmpty());
            distinct.insert(k);
        }
        ASSERT_NE(patternByName(r.target), nullptr) << r.target.toStdString();
        ++targeted[r.target];
    }
    EXPECT_EQ(distinct.size(), 316);
    // Every pattern is found by some row; two are the targets of two rows.
    EXPECT_EQ(targeted.size(), 107);
    for (auto it = targeted.cbegin(); it != targeted.cend(); ++it) {
        const bool twice = it.key() == u"更漏子" || it.key() == u"相见欢";
        EXPECT_EQ(it.value(), twice ? 2 : 1) << it.key().toStdString();
    }
    EXPECT_EQ(rows[0].target, u"十六字令");
    EXPECT_EQ(rows[0].keys, (QStringList{QStringLiteral("十"), QStringLiteral("十六"),
                                         QStringLiteral("十六字令")}));
    EXPECT_EQ(rows[108].target, u"翠楼吟");
}

TEST(FindPattern, ExactKeysFirstRowWins) {
    struct Case {
        const char16_t* key;
        const char16_t* found; // nullptr: nothing
    } cases[] = {
        {u"蝶", u"蝶恋花"},     {u"恋", u"蝶恋花"},         {u"花", nullptr},
        {u"满", u"满江红"},     {u"满庭", u"满庭芳"},       {u"水", u"水调歌头"},
        {u"一", u"一剪梅"},     {u"南", u"南乡子"},         {u"南浦", u"南浦"},
        {u"醉", u"醉花阴"},     {u"醉太平", u"醉太平"},     {u"玉", u"玉楼春"},
        {u"解", u"解语花"},     {u"乌夜啼", u"相见欢"},     {u"相见欢", u"相见欢"},
        {u"更漏子", u"更漏子"}, {u"摊破浣溪沙", u"山花子"}, {u"何满子", u"河满子"},
        {u"河满子", nullptr},   {u"雨霖铃", u"雨淋铃"},     {u"雨淋铃", nullptr},
        {u"蝶恋花 ", nullptr},  {u" 蝶恋花", nullptr},      {u"蝶恋", nullptr},
        {u"", nullptr},
    };
    for (const auto& c : cases) {
        const CiPattern* p = findPattern(QStringView(c.key));
        SCOPED_TRACE(QString::fromUtf16(c.key).toStdString());
        if (c.found == nullptr) {
            EXPECT_EQ(p, nullptr);
        } else {
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->name, QStringView(c.found));
        }
    }
}

TEST(FindPattern, FindsTheSameRecordItsListRowShows) {
    const CiPattern* p = findPattern(u"醉太平");
    EXPECT_EQ(p, pattern(PatternList::Rare, 1));
    EXPECT_EQ(templateFilePath(*p), u"data\\冷僻词谱\\02.txt");
}
