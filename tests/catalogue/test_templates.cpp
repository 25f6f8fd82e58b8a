// Every template of the catalogue in the notation: only marks, line punctuation, stanza
// separators and rhyme notes; separators and notes where the tune has them; one mark per
// character of the form.

#include "catalogue/core/catalogue.h"
#include "catalogue/core/forum.h"
#include "catalogue/core/template_lines.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <map>

using namespace catalogue;

namespace {

int markCount(const QString& t) {
    int n = 0;
    for (QChar c : t)
        n += toneMarkOf(c).has_value() ? 1 : 0;
    return n;
}

bool wellFormed(const QString& t) {
    static const QRegularExpression shape(QStringLiteral(
        "^(?:[○●◎△▲]+(?:（(?:换平韵|换仄韵|叶平韵|叶仄韵)）)?[，。、])+"
        "(?: {4,5}(?:[○●◎△▲]+(?:（(?:换平韵|换仄韵|叶平韵|叶仄韵)）)?[，。、])+)?$"));
    return shape.match(t).hasMatch();
}

// Separator runs in a template, as their lengths.
QList<int> separators(const QString& t) {
    QList<int> runs;
    static const QRegularExpression spaces(QStringLiteral(" +"));
    auto it = spaces.globalMatch(t);
    while (it.hasNext())
        runs << static_cast<int>(it.next().capturedLength());
    return runs;
}

const QSet<QString> kOneStanza{QStringLiteral("忆江南"),   QStringLiteral("如梦令"),
                               QStringLiteral("十六字令"), QStringLiteral("捣练子"),
                               QStringLiteral("忆王孙"),   QStringLiteral("调笑令")};
const QSet<QString> kFiveSpaces{QStringLiteral("西江月"), QStringLiteral("昭君怨"),
                                QStringLiteral("临江仙"), QStringLiteral("桂枝香")};
const QSet<QString> kWithNotes{QStringLiteral("西江月"), QStringLiteral("昭君怨"),
                               QStringLiteral("减字木兰花"), QStringLiteral("换巢鸾凤")};

// Rows whose complete template has another number of marks than the stored count,
// with their mark counts. The stored count stays in the label.
const std::map<QString, int> kCountDiffers{
    {QStringLiteral("祝英台近"), 77},  {QStringLiteral("诉衷情"), 44},
    {QStringLiteral("画堂春"), 47},    {QStringLiteral("河传"), 55},
    {QStringLiteral("感皇恩"), 67},    {QStringLiteral("离亭燕"), 72},
    {QStringLiteral("蓦山溪"), 82},    {QStringLiteral("潇湘夜雨"), 95},
    {QStringLiteral("换巢鸾凤"), 100}, {QStringLiteral("过秦楼"), 111},
    {QStringLiteral("陌上花"), 98},
};

} // namespace

TEST(Templates, EveryCiTemplateIsWellFormed) {
    int seen = 0;
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            SCOPED_TRACE(p.name.toStdString());
            const QString& t = p.templateText;
            EXPECT_TRUE(wellFormed(t)) << t.toStdString();
            EXPECT_GE(t.size(), 20);
            EXPECT_LE(t.size(), 177);
            EXPECT_TRUE(t.endsWith(u'。'));

            const QList<int> seps = separators(t);
            if (kOneStanza.contains(p.name))
                EXPECT_TRUE(seps.isEmpty());
            else
                EXPECT_EQ(seps, QList<int>{kFiveSpaces.contains(p.name) ? 5 : 4});

            EXPECT_EQ(t.contains(u'（'), kWithNotes.contains(p.name));

            const auto differs = kCountDiffers.find(p.name);
            EXPECT_EQ(markCount(t), differs == kCountDiffers.end() ? p.charCount : differs->second);
            ++seen;
        }
    }
    EXPECT_EQ(seen, 107);
}

TEST(Templates, MarkCountsNamedAsDifferingReallyDiffer) {
    // A row listed above whose template is later brought to its stored count must leave
    // the list, so the list stays the true record of the differences.
    for (const auto& [name, marks] : kCountDiffers) {
        const CiPattern* p = patternByName(name);
        ASSERT_NE(p, nullptr) << name.toStdString();
        EXPECT_NE(p->charCount, marks) << name.toStdString();
    }
}

TEST(Templates, ShortTunesOpenAsTheFormRequires) {
    EXPECT_TRUE(patternByName(u"十六字令")->templateText.startsWith(u"△，"));
    EXPECT_FALSE(patternByName(u"忆江南")->templateText.contains(u' '));
}

TEST(Templates, ExplanationsAndExamplesAreNeverEmpty) {
    static const QRegularExpression otherName(QStringLiteral("又名(?!《)"));
    const QString placeholder =
        QString::fromUtf8(kPlaceholderLead) + QString::fromUtf8(kForumAddress);
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            SCOPED_TRACE(p.name.toStdString());
            EXPECT_FALSE(p.explanation.isEmpty());
            EXPECT_FALSE(p.explanation.contains(otherName)) << "又名 must introduce a 《name》";
            for (const auto& e : p.examples) {
                EXPECT_FALSE(e.trimmed().isEmpty());
                EXPECT_NE(e, u"@placeholder");
                if (e.startsWith(QString::fromUtf8(kPlaceholderLead))) {
                    EXPECT_EQ(e, placeholder);
                }
            }
        }
    }
}

TEST(TemplateLines, BreaksAfterSentencesAndAtStanzas) {
    struct Case {
        const char16_t* templ;
        QStringList lines;
    } cases[] = {
        {u"○●，●△。●●△。", {QStringLiteral("○●，●△。"), QStringLiteral("●●△。")}},
        {u"○△。    ●▲。", {QStringLiteral("○△。"), QString(), QStringLiteral("●▲。")}},
        {u"○△。     ●▲（换仄韵），○△。",
         {QStringLiteral("○△。"), QString(), QStringLiteral("●▲（换仄韵），○△。")}},
        // A stanza ending on a comma still ends its line.
        {u"○△，    ●▲。", {QStringLiteral("○△，"), QString(), QStringLiteral("●▲。")}},
        {u"△，◎●△。", {QStringLiteral("△，◎●△。")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(templateLines(QStringView(c.templ)), c.lines)
            << QString::fromUtf16(c.templ).toStdString();
}
