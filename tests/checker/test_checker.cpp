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

TEST_F(CheckerTest, AMissingOrExtraCharacterIsNamedWhereItIsAndTheRestStaysInPlace) {
    const QString tpl = QStringLiteral("○○●●，●●○△。○○●△。");
    struct Case {
        const char* text;
        const char* statuses;
        const char* message; // the start of the one length finding
    };
    for (const Case& c : {
             // One character too many in the first line: the one the tones leave over.
             Case{"东风动红孔，动孔风东。东风动红。", "ooo_ooooooooo",
                  "第1句「东风动红孔」多「红」"},
             // One too few in the middle of the last line, commas put differently.
             Case{"东风动孔动孔风东。东风红。", "ooooooooooo", "第3句「东风红」少1字"},
             // Two too few in the first line: the second line is checked as it stands.
             Case{"东风，动孔风东。东风动红。", "oooooooooo", "第1句「东风」少2字"},
         }) {
        const Result r = check(tpl, QString::fromUtf8(c.text));
        EXPECT_EQ(statuses(r), QString::fromUtf8(c.statuses)) << c.text;
        const QStringList length = messages(r, Finding::Length);
        ASSERT_EQ(length.size(), 1) << c.text << " " << length.join(u' ').toStdString();
        EXPECT_TRUE(length[0].startsWith(QString::fromUtf8(c.message))) << length[0].toStdString();
        EXPECT_FALSE(r.keeps());
    }
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
    // A character the Song poets often rhymed with a part the books do not put it in.
    const Forms songUse = Forms::fromText("@charmix\n花\t1\t7\n");
    const Result used =
        Checker(lexicon, precedent, &songUse)
            .check({.templateText = tpl, .text = QStringLiteral("动孔风东，风东动孔花。")});
    EXPECT_TRUE(used.keeps());
    EXPECT_EQ(messages(used, Finding::OffRhyme).join(u' ').toStdString(),
              "宽：韵脚「花」不在词韵第一部 平声，宋人以此字押此部7次");
}

TEST_F(CheckerTest, ARhymeManyOfTheFormsPoetsLeaveOutIsLenient) {
    // The first rhyme of "●●○△，○○●●△，●○△。": 3 poems in 10 leave it unrhymed, or 1.
    auto precedentWith = [](const char* unrhymed) {
        return Precedent::fromText(QByteArray("@k\t宋\t10\n0\t10\t0\n0\t10\t0\n10\t0\t0\n10\t0\t") +
                                   unrhymed +
                                   "\n10\t0\t0\n10\t0\t0\n0\t10\t0\n0\t10\t0\n10\t0\t0\n"
                                   "0\t10\t0\n10\t0\t0\n10\t0\t0\n");
    };
    struct Case {
        const char* unrhymed;
        bool keeps;
        const char* message;
    };
    for (const Case& c : {
             Case{"0:3", true, "宽：「花」不在词韵第一部 平声，此处可不押韵"},
             Case{"0:1", false, "韵脚「花」不在词韵第一部 平声，出韵"},
             Case{"0", false, "韵脚「花」不在词韵第一部 平声，出韵"},
         }) {
        const Result r = Checker(lexicon, precedentWith(c.unrhymed))
                             .check({.templateText = QStringLiteral("●●○△，○○●●△，●○△。"),
                                     .text = QStringLiteral("动孔风花，风东动孔红，动风东。"),
                                     .patternKey = QStringLiteral("k")});
        EXPECT_EQ(r.keeps(), c.keeps) << c.unrhymed;
        EXPECT_EQ(messages(r, Finding::OffRhyme).join(u' ').toStdString(), c.message) << c.unrhymed;
    }
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

TEST_F(CheckerTest, ARhymeChangeStartsANewGroupAndAPlanCanReturnToAnEarlierOne) {
    // 仄 rhymes, then 平: each pair votes on its own.
    const QString tpl = QStringLiteral("○●▲，●○▲。●●△，○○△。");
    Result r = check(tpl, QStringLiteral("东月动，月东孔。月雪花，东风花。"));
    EXPECT_TRUE(r.keeps()) << messages(r, Finding::OffRhyme).join(u' ').toStdString();
    EXPECT_EQ(r.rhymes.size(), 2);
    r = check(tpl, QStringLiteral("东月动，月东雪。月雪花，东风花。"));
    EXPECT_EQ(messages(r, Finding::OffRhyme).size(), 1);

    // 平, a 仄 pair, and the 平 group back: the plan of the form says the last rhyme
    // returns to the first group, so it must share the first rhyme's part.
    const QString back = QStringLiteral("○○△，●▲，●▲，○○△。");
    const Forms forms = Forms::fromText(
        (QStringLiteral("@k\n本谱\t") + back + QStringLiteral("\t1221\tk\n")).toUtf8());
    auto withPlan = [&](const QString& text) {
        return Checker(lexicon, precedent, &forms)
            .check({.templateText = back, .text = text, .patternKey = QStringLiteral("k")});
    };
    EXPECT_TRUE(withPlan(QStringLiteral("东风红，月雪，月雪，风东冬。")).keeps());
    r = withPlan(QStringLiteral("东风红，月雪，月雪，风东花。"));
    EXPECT_EQ(messages(r, Finding::OffRhyme).size(), 1);
    EXPECT_EQ(r.form, QStringLiteral("本谱"));
    EXPECT_TRUE(check(back, QStringLiteral("东风红，月雪，月雪，风东花。")).keeps()); // no plan
}

TEST_F(CheckerTest, TheFormThePoemFitsIsChosenUnlessOneIsAsked) {
    const QString tpl = QStringLiteral("○○●●，●●○△。");
    const Forms forms =
        Forms::fromText(QStringLiteral("@k\n本谱\t○○●●，●●○△。\t1\tk\n"
                                       "钦定词谱·又一体（某体，10字）\t○○●●，●●○○△。\t1\t\n"
                                       "唐宋词格律（某体，8字）\t●●○○，○○●▲。\t1\t\n")
                            .toUtf8());
    auto run = [&](const QString& text, int form) {
        return Checker(lexicon, precedent, &forms)
            .check({.templateText = tpl,
                    .text = text,
                    .patternKey = QStringLiteral("k"),
                    .form = form});
    };
    struct Case {
        const char* text;
        int asked;
        int chosen;
        bool keeps;
    };
    for (const Case& c : {
             Case{"东风动孔，动孔风东。", -1, 0, true},
             Case{"东风动孔，动孔风红东。", -1, 1, true}, // the longer 又一体
             Case{"动孔东风，东风孔动。", -1, 2, true},   // the other tones, 仄 rhyme
             Case{"动孔东风，东风孔动。", 0, 0, false},   // forced to the template
             Case{"东风动孔，动孔风东。", 7, 0, true},    // out of range: chosen
         }) {
        const Result r = run(QString::fromUtf8(c.text), c.asked);
        EXPECT_EQ(r.formIndex, c.chosen) << c.text;
        EXPECT_EQ(r.keeps(), c.keeps) << c.text;
        EXPECT_EQ(r.forms.size(), 3);
        EXPECT_EQ(r.form, r.forms.value(c.chosen));
    }
}

TEST_F(CheckerTest, AClashThePoetsShareIsLenientAndTheRestFail) {
    // Place 1: 10 poems 平, 3 仄 (a share and a number enough to excuse 仄); place 2: 2 平 in
    // 20 (a tenth, but two poems only); places 5 and 6: every poem 平.
    const Precedent prec = Precedent::fromText(
        "@k\t宋\t13\n10\t3\t0\n2\t18\t0\n7\t6\t0\n0\t13\t0\n13\t0\t0\n13\t0\t0\n0\t13\t0\n"
        "13\t0\t0\n");
    // 一 and 玉 are 入声; the Song poets put 一 at a 平 place 40 times in 140, 玉 5 in 105.
    const Lexicon lex =
        Lexicon::fromText(QByteArray(kLexicon) + "一\tR\tZ\tR:四质:31:\t5\t3\t0/0\t\tB\t40/100\n"
                                                 "玉\tR\tZ\tR:二沃:31:\t5\t3\t0/0\t\tB\t5/100\n");
    struct Case {
        const char* text;
        bool keeps;
        const char* precedent; // of the one clash
    };
    for (const Case& c : {
             Case{"动动月孔，风红雪东。", true, "此处宋人13首中3首用仄"},
             Case{"东东月孔，风红雪东。", false, "此处宋人20首中2首用平"},
             Case{"东孔月孔，一红雪东。", true,
                  "此处宋人13首中0首用仄；宋词定声之处用「一」140次，40次作平（入声代平）"},
             Case{"东孔月孔，玉红雪东。", false, "此处宋人13首中0首用仄"},
         }) {
        const Result r = Checker(lex, prec).check({.templateText = QStringLiteral("○●◎●，○○●△。"),
                                                   .text = QString::fromUtf8(c.text),
                                                   .patternKey = QStringLiteral("k")});
        EXPECT_EQ(r.keeps(), c.keeps) << c.text;
        ASSERT_EQ(messages(r, Finding::Clash).size(), 1) << c.text;
        const Finding& f = r.findings[0];
        EXPECT_EQ(f.lenient, c.keeps) << c.text;
        EXPECT_EQ(f.message.startsWith(QStringLiteral("宽：")), c.keeps) << c.text;
        EXPECT_EQ(f.precedent.toStdString(), c.precedent) << c.text;
    }
}

TEST_F(CheckerTest, AClashAnotherFormOfTheSameShapeAllowsIsLenient) {
    // Three forms of one shape; the poem departs from the first at two places, from each of
    // the others at one, which the other of them allows.
    const Forms forms = Forms::fromText("@k\n本谱\t○○●●△。\n\n乙体\t○●●●△。\n\n丙体\t●○●●△。\n");
    const Checker checker(lexicon, precedent, &forms);
    Request req{.templateText = QStringLiteral("○○●●△。"),
                .text = QStringLiteral("孔孔动孔红。"),
                .patternKey = QStringLiteral("k")};
    const Result chosen = checker.check(req);
    EXPECT_EQ(chosen.form, QStringLiteral("乙体"));
    EXPECT_TRUE(chosen.keeps());
    ASSERT_EQ(messages(chosen, Finding::Clash).size(), 1);
    EXPECT_TRUE(chosen.findings[0].lenient);
    EXPECT_EQ(chosen.findings[0].precedent.toStdString(), "丙体此处作仄");
    // A form the user asks for is held to as it stands.
    req.form = 1;
    const Result asked = checker.check(req);
    EXPECT_FALSE(asked.keeps());
}

TEST_F(CheckerTest, APolyphoneIsKeptInTheReadingTheSongPoetsMostlyUseAndQueriedInTheOther) {
    // 听 read 仄 at 90 of the Song ci's 100 places of fixed tone, though the Tang strains lean
    // the other way.
    const Lexicon lex = Lexicon::fromText(
        QByteArray(kLexicon) + "听\tPS\tP\tP:九青:22:;S:二十五径:23:\t\t\t80/20\t\tB\t10/90\n");
    auto run = [&](const char* text, Standard s) {
        return Checker(lex, precedent)
            .check({.templateText = QStringLiteral("○●○●，○○●△。"),
                    .text = QString::fromUtf8(text),
                    .standard = s});
    };
    EXPECT_EQ(statuses(run("东听东孔，风红雪东。", Standard::CiYun)), QStringLiteral("oooooooo"));
    const Result query = run("听孔东孔，风红雪东。", Standard::CiYun);
    EXPECT_EQ(statuses(query), QStringLiteral("?ooooooo"));
    EXPECT_TRUE(
        messages(query, Finding::Uncertain).value(0).contains(QStringLiteral("宋词中多读仄")))
        << messages(query, Finding::Uncertain).join(u' ').toStdString();
    // Verse looks at the Tang poets' use first.
    EXPECT_EQ(statuses(run("听孔东孔，风红雪东。", Standard::PingShui)),
              QStringLiteral("oooooooo"));
}

TEST_F(CheckerTest, TraditionalCharactersAreLookedUpAsSimplifiedAndShownAsWritten) {
    const Simplifier t2s = Simplifier::fromText("東\t东\n風\t风\n紅\t红\n動\t动\n");
    const Result r = Checker(lexicon, precedent, nullptr, &t2s)
                         .check({.templateText = QStringLiteral("○●◎●，○○●△。"),
                                 .text = QStringLiteral("東動月孔，風紅雪東。")});
    EXPECT_EQ(statuses(r), QStringLiteral("oo-ooooo"));
    EXPECT_TRUE(r.keeps());
    EXPECT_EQ(r.marks[0].ch, U'東');
}

TEST_F(CheckerTest, RegulatedVerseAcceptsTheRescuesAndNamesThem) {
    QString tpl; // 五绝, 首句平起仄收: ◎○○●●，◎●●○△。◎●○○●，○○◎●△。
    for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
        if (v.label == QStringLiteral("五绝-首句平起仄收"))
            tpl = v.templateText;
    }
    ASSERT_FALSE(tpl.isEmpty());
    struct Case {
        const char* text;
        const char* note;
    };
    for (const Case& c : {
             Case{"东风动红孔，动孔动风东。动孔风东动，东风动孔红。", "平平仄平仄"},
             Case{"东风东孔动，动孔动风东。动孔风孔动，东风东孔红。", "对句相救"},
         }) {
        const Result r = check(tpl, QString::fromUtf8(c.text), Standard::PingShui);
        EXPECT_TRUE(r.keeps()) << c.text << " "
                               << messages(r, Finding::Clash).join(u' ').toStdString()
                               << messages(r, Finding::Verse).join(u' ').toStdString();
        const QStringList notes = messages(r, Finding::Note);
        EXPECT_TRUE(
            std::any_of(notes.cbegin(), notes.cend(),
                        [&](const QString& n) { return n.contains(QString::fromUtf8(c.note)); }))
            << c.text << " " << notes.join(u' ').toStdString();
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

TEST(Precedent, BlocksAreFoundByTheIndexAndByTheHeadingsWhereTheIndexIsDamaged) {
    const QByteArray blocks("@a\t宋\t3\n1\t2\t0\t苏轼《大江东去》\n@b\t唐\t5\n4\t1\t0\n0\t5\t0\n");
    const QByteArray indexed = Precedent::indexed(blocks);
    ASSERT_TRUE(indexed.startsWith(blocks));
    ASSERT_TRUE(indexed.endsWith("#index-at\t" + QByteArray::number(blocks.size()) + '\n'));
    QByteArray farOff = indexed;
    farOff.replace("#index-at\t" + QByteArray::number(blocks.size()), "#index-at\t99999");
    QByteArray outside = indexed;
    outside.replace("\t" + QByteArray::number(blocks.size()) + "\n#index-at", "\t99999\n#index-at");
    struct Case {
        const char* what;
        QByteArray text;
    } cases[] = {{"no index", blocks},
                 {"indexed", indexed},
                 {"index offset past the end", farOff},
                 {"a block past the index", outside},
                 {"cut short", indexed.first(indexed.size() - 3)}};
    for (const Case& c : cases) {
        const Precedent p = Precedent::fromText(c.text);
        const PatternPrecedent* a = p.find(QStringLiteral("a"));
        const PatternPrecedent* b = p.find(QStringLiteral("b"));
        ASSERT_TRUE(a && b) << c.what;
        EXPECT_EQ(a->era, QStringLiteral("宋")) << c.what;
        ASSERT_EQ(a->positions.size(), 1) << c.what;
        EXPECT_EQ(a->positions[0].minority, QStringList{QStringLiteral("苏轼《大江东去》")});
        ASSERT_EQ(b->positions.size(), 2) << c.what;
        EXPECT_EQ(b->positions[1].oblique, 5) << c.what;
        EXPECT_EQ(p.find(QStringLiteral("index")), nullptr) << c.what;
    }
}

} // namespace
