// The checker on a small lexicon: each character's verdict, alignment by line when the
// length differs, rhyme groups under each standard, and the regulated-verse rules.

#include "checker/core/checker.h"

#include <gtest/gtest.h>

using namespace checker;

namespace {

// Tones as the rhyme book gives them; 看 has a reading of each tone.
const char kLexicon[] = "东\tP\tP\tP:一东:0:\t3\t17\t0/0\t\n"
                        "红\tP\tP\tP:一东:0:\t3\t17\t0/0\t\n"
                        "风\tP\tP\tP:一东:0:\t3\t16\t0/0\t\n"
                        "冬\tP\tP\tP:二冬:0:\t3\t17\t0/0\t\n"
                        "花\tP\tP\tP:六麻:18:\t1\t0\t0/0\t\n"
                        "动\tS\tZ\tS:一董:1:\t3\t17\t0/0\t\n"
                        "孔\tS\tZ\tS:一董:1:\t3\t17\t0/0\t\n"
                        "送\tS\tZ\tS:一送:1:\t3\t17\t0/0\t\n"
                        "月\tR\tZ\tR:六月:31:\t5\t3\t0/0\t\n"
                        "雪\tR\tZ\tR:九屑:31:\t5\t3\t0/0\t\n"
                        "看\tPS\tPZ\tP:十四寒:12:看守;S:十五翰:13:看见\t9\t13\t0/0\t\n";

struct CheckerTest : ::testing::Test {
    Lexicon lexicon = Lexicon::fromText(kLexicon);
    Precedent precedent;
    Result check(const QString& tpl, const QString& text, Standard s = Standard::CiYun) {
        return Checker(lexicon, precedent)
            .check({.templateText = tpl, .text = text, .standard = s, .patternKey = {}});
    }
};

QString statuses(const Result& r) {
    QString s;
    for (const CharMark& m : r.marks) {
        switch (m.status) {
        case Status::Ok:
            s += u'o';
            break;
        case Status::Clash:
            s += u'x';
            break;
        case Status::Uncertain:
            s += u'?';
            break;
        case Status::Free:
            s += u'-';
            break;
        case Status::Unchecked:
            s += u'_';
            break;
        }
    }
    return s;
}

QStringList messages(const Result& r, Finding::Kind kind) {
    QStringList out;
    for (const Finding& f : r.findings) {
        if (f.kind == kind)
            out.append(f.message);
    }
    return out;
}

TEST_F(CheckerTest, EachCharacterGetsItsVerdict) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const QString tpl = QStringLiteral("○●◎●，○○●△。");
    for (const Case& c : {
             Case{"东动月孔，风红雪东。", "oo-ooooo"}, // keeps the pattern
             Case{"动东花月，风红雪东。", "xx-ooooo"}, // 平 and 仄 swapped
             Case{"看动月孔，风红雪东。", "?o-ooooo"}, // two readings
             Case{"鑫动月孔，风红雪东。", "?o-ooooo"}, // not in the lexicon
             Case{"东动看孔，风红雪东。", "oo-ooooo"}, // ◎ takes anything
         }) {
        const Result r = check(tpl, QString::fromUtf8(c.text));
        EXPECT_EQ(statuses(r), QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST_F(CheckerTest, FindingsSayWhatIsWrongAndNeverGuess) {
    const QString tpl = QStringLiteral("○●◎●，○○●△。");
    Result r = check(tpl, QStringLiteral("月动花孔，风红雪东。"));
    EXPECT_FALSE(r.keeps());
    EXPECT_EQ(messages(r, Finding::Clash), QStringList{QStringLiteral("「月」入声，此处应平")});

    r = check(tpl, QStringLiteral("看动花孔，风红雪东。"));
    EXPECT_TRUE(r.keeps()); // uncertain is not a fault
    ASSERT_EQ(messages(r, Finding::Uncertain).size(), 1);
    EXPECT_TRUE(messages(r, Finding::Uncertain)[0].contains(QStringLiteral("看守")));
    EXPECT_TRUE(messages(r, Finding::Uncertain)[0].contains(QStringLiteral("看见")));

    r = check(tpl, QStringLiteral("东动花孔，风红雪东。"));
    EXPECT_TRUE(r.keeps());
    EXPECT_TRUE(r.findings.isEmpty());
}

TEST_F(CheckerTest, ALineOfTheWrongLengthIsNamedAndTheRestStaysAligned) {
    const QString tpl = QStringLiteral("○○●●，●●○△。○○●△。");
    // The first line has one character too many; the other lines are sound.
    Result r = check(tpl, QStringLiteral("东风红动孔，动孔风东。东风动红。"));
    EXPECT_EQ(statuses(r), QStringLiteral("_____oooooooo"));
    ASSERT_EQ(messages(r, Finding::Length).size(), 1);
    EXPECT_TRUE(
        messages(r, Finding::Length)[0].startsWith(QStringLiteral("第1句「东风红动孔」多1字")));

    // Commas put differently, but the sentences still fit: the short one is named.
    r = check(tpl, QStringLiteral("东风动孔动孔风东。东风红。"));
    EXPECT_EQ(statuses(r), QStringLiteral("oooooooo___"));
    ASSERT_EQ(messages(r, Finding::Length).size(), 1);
    EXPECT_TRUE(messages(r, Finding::Length)[0].contains(QStringLiteral("少1字")));
}

TEST_F(CheckerTest, RhymesStayInOneGroupOfTheStandard) {
    const QString tpl = QStringLiteral("●●○△，○○●●△。");
    struct Case {
        const char* text;
        Standard standard;
        const char* outside;
    };
    for (const Case& c : {
             Case{"动孔风东，风东动孔红。", Standard::CiYun, ""},
             Case{"动孔风东，风东动孔冬。", Standard::CiYun, ""},      // 东 and 冬 share a part
             Case{"动孔风东，风东动孔冬。", Standard::PingShui, "冬"}, // but not a rhyme
             Case{"动孔风东，风东动孔花。", Standard::CiYun, "花"},
         }) {
        const Result r = check(tpl, QString::fromUtf8(c.text), c.standard);
        ASSERT_EQ(r.rhymes.size(), 1) << c.text;
        EXPECT_EQ(r.rhymes[0].outside, QString::fromUtf8(c.outside)) << c.text;
        EXPECT_EQ(r.keeps(), r.rhymes[0].outside.isEmpty()) << c.text;
    }
    const Result r = check(tpl, QStringLiteral("动孔风东，风东动孔花。"));
    EXPECT_EQ(r.rhymes[0].group, QStringLiteral("词韵第一部 平声"));
    EXPECT_EQ(messages(r, Finding::OffRhyme),
              QStringList{QStringLiteral("韵脚「花」不在词韵第一部 平声，出韵")});
}

TEST_F(CheckerTest, ALineNotedAsRhymingOnTheOtherToneStaysInItsPart) {
    const QString tpl = QStringLiteral("○○●●△，●●○○▲（叶仄韵）。");
    Result r = check(tpl, QStringLiteral("东风动孔红，动孔风红动。"));
    EXPECT_TRUE(r.keeps());
    r = check(tpl, QStringLiteral("东风动孔红，动孔风红月。"));
    EXPECT_EQ(messages(r, Finding::OffRhyme).size(), 1);
    // A noted change of rhyme starts a new run that need not share the part.
    r = check(QStringLiteral("○○●●△，●●○○▲（换仄韵）。"),
              QStringLiteral("东风动孔红，动孔风红月。"));
    EXPECT_TRUE(r.keeps());
    EXPECT_EQ(r.rhymes.size(), 2);
}

TEST_F(CheckerTest, BadInputGivesAMessageNotACrash) {
    const QString tpl = QStringLiteral("○●◎●，○○●△。");
    struct Case {
        QString tpl;
        QString text;
        const char* message;
    };
    const QString big(1 << 20, u'东');
    for (const Case& c : {
             Case{tpl, QString(), "文中没有可检查的字"},
             Case{tpl, QStringLiteral("，。！？\n  "), "文中没有可检查的字"},
             Case{QStringLiteral("词牌"), QStringLiteral("东风"), "词谱中没有平仄符号，无从检查"},
             Case{tpl, big, "多1048568字"},
         }) {
        const Result r = check(c.tpl, c.text);
        ASSERT_FALSE(r.findings.isEmpty());
        EXPECT_TRUE(r.findings.last().message.contains(QString::fromUtf8(c.message)))
            << r.findings.last().message.left(80).toStdString();
        EXPECT_FALSE(r.keeps());
    }
    // Characters outside GBK and the BMP are characters like any other: here unknown.
    const Result r = check(tpl, QStringLiteral("\U00020000动月孔，风红😀雪东。"));
    EXPECT_EQ(statuses(r), QStringLiteral("?o-ooooo"));
    EXPECT_EQ(r.marks[0].length, 2);
}

TEST_F(CheckerTest, RegulatedVersePicksItsOpeningAndFindsTheVerseFaults) {
    // 五绝, 首句仄起平收 (◎●●○△，○○◎●△。◎○○●●，◎●●○△。) asked as 平起仄收.
    const QString asked = QStringLiteral("◎○○●●，◎●●○△。◎●○○●，○○◎●△。");
    Result r = check(asked, QStringLiteral("东动孔风红，风东动孔东。动风东孔动，动孔送东风。"),
                     Standard::PingShui);
    EXPECT_EQ(r.form, QStringLiteral("五绝-首句仄起平收"));
    EXPECT_EQ(messages(r, Finding::Form),
              QStringList{QStringLiteral("此诗更合「五绝-首句仄起平收」，按此格检查")});
    EXPECT_TRUE(r.keeps()) << messages(r, Finding::Clash).join(u' ').toStdString();

    struct Case {
        const char* text;
        const char* fault;
    };
    for (const Case& c : {
             Case{"东动孔风红，动东动孔东。动风东孔动，动孔送东风。", "第2句犯孤平"},
             Case{"东动孔风红，风东东风东。动风东孔动，动孔送东风。", "第2句三平尾"},
             Case{"东动孔风红，风动动孔东。动风东孔动，动孔送东风。", "第2句失对"},
             Case{"东动孔风红，风东动孔东。动孔东孔动，动孔送东风。", "第3句失粘"},
         }) {
        r = check(asked, QString::fromUtf8(c.text), Standard::PingShui);
        const QStringList verse = messages(r, Finding::Verse);
        EXPECT_TRUE(
            std::any_of(verse.cbegin(), verse.cend(),
                        [&](const QString& m) { return m.startsWith(QString::fromUtf8(c.fault)); }))
            << c.text << " " << verse.join(u' ').toStdString();
        EXPECT_FALSE(r.keeps());
    }
}

TEST(Pattern, ReadsLinesSentencesAndRhymeRuns) {
    const Pattern p = Pattern::parse(
        QStringLiteral("◎●◎○◎▲，◎●◎○◎▲。◎●●○△（换平韵），◎○△。     ◎●◎○◎▲（换仄韵），◎●◎○◎▲。"));
    EXPECT_EQ(p.cells.size(), 32);
    EXPECT_EQ(p.lineCount(), 6);
    EXPECT_EQ(p.sentenceStarts.size() - 1, 3);
    ASSERT_EQ(p.runs.size(), 3);
    EXPECT_FALSE(p.runs[0].level);
    EXPECT_TRUE(p.runs[1].level);
    EXPECT_FALSE(p.runs[2].level);
    EXPECT_EQ(p.cells[16].segment, 1);
    EXPECT_EQ(p.cells[25].segment, 2);
}

} // namespace
