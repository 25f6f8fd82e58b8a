// The 16 regulated-verse templates: labels, names, the tone rules their templates keep,
// the two shared explanations and their files.

#include "catalogue/core/catalogue.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

QStringList verseLines(const QString& t) {
    QString s = t;
    s.replace(u'。', u'，');
    QStringList lines = s.split(u'，', Qt::SkipEmptyParts);
    return lines;
}

} // namespace

TEST(Verse, LabelsRunThroughFormsAndOpeningsInOrder) {
    const auto rows = versePatterns();
    ASSERT_EQ(rows.size(), 16u);
    const QStringList forms{QStringLiteral("七律"), QStringLiteral("五律"), QStringLiteral("七绝"),
                            QStringLiteral("五绝")};
    const QStringList openings{QStringLiteral("首句平起仄收"), QStringLiteral("首句仄起平收"),
                               QStringLiteral("首句仄起仄收"), QStringLiteral("首句平起平收")};
    for (int i = 0; i < 16; ++i) {
        const VersePattern& v = rows[i];
        EXPECT_EQ(v.row, i);
        EXPECT_EQ(v.label, forms[i / 4] + u'-' + openings[i % 4]);
        EXPECT_EQ(v.name, openings[i % 4] + u'-' + forms[i / 4]);
        EXPECT_EQ(v.fileNumber, i + 1);
    }
    EXPECT_EQ(versePattern(-1), nullptr);
    EXPECT_EQ(versePattern(16), nullptr);
    EXPECT_EQ(templateFilePath(*versePattern(15)), u"data\\律诗绝句\\16.txt");
    EXPECT_EQ(templateFilePath(*versePattern(0)), u"data\\律诗绝句\\01.txt");
}

TEST(Verse, TemplatesKeepTheOpeningAndRhymeRules) {
    for (const auto& v : versePatterns()) {
        SCOPED_TRACE(v.label.toStdString());
        const QString& t = v.templateText;
        const QStringList lines = verseLines(t);
        const bool regulated = v.label.contains(u'律');
        const int width = v.label.startsWith(u'七') ? 7 : 5;
        ASSERT_EQ(lines.size(), regulated ? 8 : 4);
        for (int i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].size(), width);
            // "，" after odd lines, "。" after even ones.
            const qsizetype end = t.indexOf(lines[i], i == 0 ? 0 : t.indexOf(lines[i - 1]) + width);
            EXPECT_EQ(t[end + width], i % 2 == 0 ? u'，' : u'。');
            if (i % 2 == 1) {
                EXPECT_EQ(lines[i].back(), u'△');
            }
        }
        // 平起/仄起: the second character of line 1; 平收/仄收: whether line 1 rhymes.
        EXPECT_EQ(lines[0][1], v.label.contains(u"平起") ? u'○' : u'●');
        EXPECT_EQ(lines[0].back(), v.label.contains(u"平收") ? u'△' : u'●');
        EXPECT_FALSE(t.contains(u' '));
        EXPECT_FALSE(t.contains(u'（'));
    }
}

TEST(Verse, EachQuatrainIsTheFirstHalfOfItsRegulatedVerse) {
    for (int i = 8; i < 16; ++i) {
        const QString quatrain = versePattern(i)->templateText;
        const QString regulated = versePattern(i - 8)->templateText;
        EXPECT_TRUE(regulated.startsWith(quatrain)) << versePattern(i)->label.toStdString();
        EXPECT_EQ(regulated.size(), quatrain.size() * 2);
    }
    EXPECT_EQ(versePattern(15)->templateText, u"○○◎●△，◎●●○△。◎●○○●，○○◎●△。");
    EXPECT_EQ(versePattern(0)->templateText,
              u"◎○◎●○○●，◎●○○◎●△。◎●◎○○●●，◎○◎●●○△。◎○◎●○○●，◎●○○◎●△。"
              u"◎●◎○○●●，◎○◎●●○△。");
}

TEST(Verse, TwoSharedExplanations) {
    const QString regulated = QStringLiteral(
        "律诗是指每首八句，在押韵、平仄、对仗等方面有严格规定的近全诗。律诗的八行可分为四联，"
        "有专门的名称：首联、颔联、颈联、尾联。一联中上句叫出句，下句叫对句。");
    const QString quatrain = versePattern(8)->explanation;
    EXPECT_NE(quatrain, regulated);
    EXPECT_FALSE(quatrain.isEmpty());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(versePattern(i)->explanation, i < 8 ? regulated : quatrain) << i;
}

TEST(Verse, EveryRowHasFiveRealPoems) {
    for (const auto& v : versePatterns()) {
        for (const auto& e : v.examples) {
            EXPECT_FALSE(e.trimmed().isEmpty()) << v.label.toStdString();
            EXPECT_FALSE(e.startsWith(u"本词谱暂无例词")) << v.label.toStdString();
        }
    }
}
