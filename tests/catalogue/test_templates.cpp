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

namespace {

// A Chinese numeral of one or two characters, as explanations write counts: 两, 十, 十二.
int chineseNumber(QStringView s) {
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    auto digit = [](QChar c) { return c == u'两' ? 2 : int(digits.indexOf(c)); };
    if (s == u"十")
        return 10;
    if (s.size() == 2 && s[0] == u'十')
        return 10 + digit(s[1]);
    if (s.size() == 2 && s[1] == u'十')
        return digit(s[0]) * 10;
    return s.size() == 1 ? digit(s[0]) : -1;
}

struct StanzaClaim {
    int lines = -1;  // 句
    int rhymes = -1; // all 平韵, 仄韵, 叶韵 and 叠韵 counted together; -1 when not stated
};

// What an explanation states per stanza: "上阕十句四仄韵，下阕九句五仄韵",
// "上下阕各六句四平韵", "单调三十一字，五句五平韵"; a rhyme count that follows after a
// comma ("七句五仄韵，一叠韵") belongs to the same stanza.
std::vector<StanzaClaim> stanzaClaims(const QString& explanation) {
    static const QRegularExpression claim(
        QStringLiteral("(上下阕各|上阕|下阕|单调[^，。]*字，)([一两二三四五六七八九十]{1,2})句"
                       "((?:[，、]?[一两二三四五六七八九十]{1,2}[平仄叶叠]韵)*)"));
    static const QRegularExpression rhyme(
        QStringLiteral("([一两二三四五六七八九十]{1,2})[平仄叶叠]韵"));
    std::vector<StanzaClaim> out(2);
    bool any = false, single = false;
    for (auto it = claim.globalMatch(explanation); it.hasNext();) {
        const auto m = it.next();
        StanzaClaim c{chineseNumber(m.capturedView(2)), -1};
        for (auto r = rhyme.globalMatch(m.captured(3)); r.hasNext();)
            c.rhymes = std::max(c.rhymes, 0) + chineseNumber(r.next().capturedView(1));
        const QString where = m.captured(1);
        if (where == u"下阕")
            out[1] = c;
        else
            out[0] = c;
        if (where == u"上下阕各")
            out[1] = c;
        single = single || where.startsWith(u"单调");
        any = true;
    }
    if (!any)
        return {};
    if (single)
        out.resize(1);
    return out;
}

} // namespace

TEST(Explanations, StanzaClaimsAreReadFromTheWording) {
    const struct {
        const char16_t* text;
        std::vector<std::pair<int, int>> stanzas; // lines, rhymes
    } cases[] = {
        {u"双调一百零三字，上阕十句五仄韵，下阕九句五仄韵。", {{10, 5}, {9, 5}}},
        {u"双调五十八字，上下阕各六句四平韵。", {{6, 4}, {6, 4}}},
        {u"单调三十三字，七句五仄韵，一叠韵。", {{7, 6}}},
        {u"上阕五句三平韵两仄韵，下阕六句四仄韵两平韵", {{5, 5}, {6, 6}}},
        {u"双调，押仄韵。", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<int, int>> got;
        for (const auto& s : stanzaClaims(QString::fromUtf16(c.text)))
            got.emplace_back(s.lines, s.rhymes);
        EXPECT_EQ(got, c.stanzas) << QString::fromUtf16(c.text).toStdString();
    }
}

// Where an explanation counts the lines (句, a clause ended by "，" or "。") and rhymes of
// a stanza, the template must have as many. 御街行 is counted as 钦定词谱 counts it, its
// two three-character lines as one.
TEST(Explanations, StanzaCountsAgreeWithTheTemplate) {
    static const QRegularExpression note(QStringLiteral("（[^（）]*）"));
    static const QRegularExpression separator(QStringLiteral(" {4,5}"));
    const QSet<QString> countedAsOneLine = {QStringLiteral("御街行")};
    QStringList problems;
    int checked = 0;
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            const auto claims = stanzaClaims(p.explanation);
            QString templ = p.templateText;
            templ.remove(note);
            const QStringList stanzas = templ.split(separator);
            if (claims.empty())
                continue;
            if (claims.size() != size_t(stanzas.size())) {
                problems << p.name + QStringLiteral(": stanzas");
                continue;
            }
            for (qsizetype k = 0; k < stanzas.size(); ++k) {
                const int lines = int(stanzas[k].count(u'，') + stanzas[k].count(u'。'));
                const int rhymes = int(stanzas[k].count(u'△') + stanzas[k].count(u'▲'));
                const StanzaClaim& c = claims[size_t(k)];
                if (c.lines != lines && !countedAsOneLine.contains(p.name))
                    problems << QStringLiteral("%1 stanza %2: %3 lines, the explanation says %4")
                                    .arg(p.name)
                                    .arg(k + 1)
                                    .arg(lines)
                                    .arg(c.lines);
                if (c.rhymes >= 0 && c.rhymes != rhymes)
                    problems << QStringLiteral("%1 stanza %2: %3 rhymes, the explanation says %4")
                                    .arg(p.name)
                                    .arg(k + 1)
                                    .arg(rhymes)
                                    .arg(c.rhymes);
            }
            ++checked;
        }
    }
    std::printf("explanations with stanza counts: %d of 107\n", checked);
    EXPECT_GT(checked, 50);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
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
