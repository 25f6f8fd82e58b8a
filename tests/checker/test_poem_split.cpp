// A document cut into its poems: where each poem's checked lines begin and end, which
// leading lines are headings, and which poem holds an offset.

#include "checker/core/poem_split.h"

#include <gtest/gtest.h>

using namespace checker;

namespace {

// Two 蝶恋花 as the dataset gives them (苏轼; 欧阳修), stanza by stanza.
const QString kSuA =
    QStringLiteral("花褪残红青杏小。燕子飞时，绿水人家绕。枝上柳绵吹又少。天涯何处无芳草。");
const QString kSuB =
    QStringLiteral("墙里秋千墙外道。墙外行人，墙里佳人笑。笑渐不闻声渐悄。多情却被无情恼。");
const QString kOuA =
    QStringLiteral("独倚危楼风细细。望极离愁，黯黯生天际。草色山光残照里。无人会得凭阑意。");
const QString kOuB =
    QStringLiteral("也拟疏狂图一醉。对酒当歌，强饮还无味。衣带渐宽都不悔。况伊销得人憔悴。");

struct Split {
    QStringList bodies;
    QStringList headings;
};

Split split(const QString& text, const SplitOptions& o) {
    Split s;
    for (const PoemSpan& p : splitPoems(text, o)) {
        EXPECT_LE(p.start, p.bodyStart);
        EXPECT_LE(p.bodyStart, p.end);
        s.bodies.append(text.sliced(p.bodyStart, p.bodyLength()));
        s.headings.append(p.heading);
    }
    return s;
}

TEST(PoemSplit, CutsAtBlankLinesAndSetsHeadingsApart) {
    const SplitOptions tune{.tuneName = QStringLiteral("蝶恋花")};
    const SplitOptions sixty{.tuneName = QStringLiteral("蝶恋花"), .patternChars = 60};
    struct Case {
        const char* name;
        QString text;
        SplitOptions options;
        QStringList bodies;
        QStringList headings;
    };
    const QString su = kSuA + u'\n' + kSuB;
    const QString ou = kOuA + u'\n' + kOuB;
    for (const Case& c : {
             Case{"one poem, no heading", su, tune, {su}, {QString()}},
             Case{"two poems, the blank line holding spaces",
                  su + QStringLiteral("\n \t\u3000\n\n") + ou,
                  tune,
                  {su, ou},
                  {QString(), QString()}},
             Case{"CRLF line ends",
                  kSuA + QStringLiteral("\r\n") + kSuB + QStringLiteral("\r\n\r\n") + ou +
                      QStringLiteral("\r\n"),
                  tune,
                  {kSuA + QStringLiteral("\r\n") + kSuB, ou},
                  {QString(), QString()}},
             Case{"the tune's name and a title in 《》 as headings",
                  QStringLiteral("蝶恋花・春景\n") + su + QStringLiteral("\n\n《蝶恋花》\n") + ou,
                  tune,
                  {su, ou},
                  {QStringLiteral("蝶恋花・春景"), QStringLiteral("《蝶恋花》")}},
             Case{"a short unpunctuated title over punctuated lines, and an author line",
                  QStringLiteral("春景\n苏轼\n") + su,
                  {},
                  {su},
                  {QStringLiteral("春景  苏轼")}},
             Case{"a heading set off by its own blank line",
                  QStringLiteral("  蝶恋花  \n\n") + su,
                  tune,
                  {su},
                  {QStringLiteral("蝶恋花")}},
             Case{"unpunctuated lines one to a line: the first is verse, not a title",
                  QStringLiteral("独倚危楼风细细\n望极离愁\n黯黯生天际"),
                  tune,
                  {QStringLiteral("独倚危楼风细细\n望极离愁\n黯黯生天际")},
                  {QString()}},
             Case{"a punctuated line naming the tune is verse",
                  QStringLiteral("又唱蝶恋花，") + su,
                  tune,
                  {QStringLiteral("又唱蝶恋花，") + su},
                  {QString()}},
             Case{"a heading alone at the end: a poem not yet written",
                  su + QStringLiteral("\n\n蝶恋花\n"),
                  tune,
                  {su, QString()},
                  {QString(), QStringLiteral("蝶恋花")}},
             Case{"stanzas set off by a blank line, the pattern's length known",
                  kSuA + QStringLiteral("\n\n") + kSuB + QStringLiteral("\n\n") + ou,
                  sixty,
                  {kSuA + QStringLiteral("\n\n") + kSuB, ou},
                  {QString(), QString()}},
             Case{"the same stanzas without the pattern's length",
                  kSuA + QStringLiteral("\n\n") + kSuB,
                  tune,
                  {kSuA, kSuB},
                  {QString(), QString()}},
             Case{"a poem short of a stanza is not joined to a whole one after it",
                  kSuA + QStringLiteral("\n\n") + ou,
                  sixty,
                  {kSuA, ou},
                  {QString(), QString()}},
             Case{"blanks only", QStringLiteral(" \n\n\u3000\n"), tune, {}, {}},
         }) {
        const Split s = split(c.text, c.options);
        EXPECT_EQ(s.bodies, c.bodies) << c.name;
        EXPECT_EQ(s.headings, c.headings) << c.name;
    }
}

TEST(PoemSplit, FindsThePoemThatHoldsAnOffset) {
    // "\n" kSuA "\n\n蝶恋花\n" kOuA: the heading belongs to the second poem.
    const QString text = u'\n' + kSuA + QStringLiteral("\n\n蝶恋花\n") + kOuA;
    const QList<PoemSpan> poems =
        splitPoems(text, {.tuneName = QStringLiteral("蝶恋花"), .patternChars = 0});
    ASSERT_EQ(poems.size(), 2);
    const int heading = int(text.indexOf(u'蝶'));
    struct Case {
        int offset;
        int poem;
    };
    for (const Case& c :
         {Case{0, 0}, Case{1, 0}, Case{int(kSuA.size()) + 1, 0}, Case{int(kSuA.size()) + 2, 0},
          Case{heading, 1}, Case{int(text.size()), 1}}) {
        EXPECT_EQ(poemAt(poems, c.offset), c.poem) << c.offset;
    }
    EXPECT_EQ(poems[1].start, heading);
    EXPECT_EQ(poems[1].bodyStart, heading + 4);
    EXPECT_EQ(poemAt({}, 0), -1);
}

} // namespace
