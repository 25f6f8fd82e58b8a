// lyrevane-cli check, tones and poems as a user runs them: exit codes and the findings.

#include "support/run_cli.h"
#include "support/temp_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

TEST(CheckerCli, CheckExitsByWhetherThePoemKeepsThePattern) {
    TempTree tree;
    // Two lines that keep the template; against a template with one mark changed they break it.
    tree.put(QStringLiteral("good.txt"), QStringLiteral("东动红东送，红东孔动东。").toUtf8());
    // Two poems, each under a heading: the first keeps the template, the second does not.
    tree.put(
        QStringLiteral("two.txt"),
        QStringLiteral("《一》\n东动红东送，红东孔动东。\n\n《二》\n东动红东送，红东孔红东。\n")
            .toUtf8());
    tree.put(QStringLiteral("twogood.txt"),
             QStringLiteral("东动红东送，\n红东孔动东。\r\n\r\n东动红东送，红东孔动东。").toUtf8());
    struct Case {
        QStringList args;
        int code;
        const char* says;
    };
    const QString tpl = QStringLiteral("◎●○○●，○○◎●△。");
    for (const Case& c : {
             Case{{tpl, tree.path(QStringLiteral("good.txt"))}, 0, "合律"},
             Case{{tpl, tree.path(QStringLiteral("good.txt")), QStringLiteral("--standard"),
                   QStringLiteral("新韵")},
                  0,
                  "新韵"},
             Case{{QStringLiteral("◎●●○●，○○◎●△。"), tree.path(QStringLiteral("good.txt"))},
                  1,
                  "「红」平声，此处应仄"},
             Case{{tpl, tree.path(QStringLiteral("two.txt"))}, 1, "\n合律\n第2首  《二》\n"},
             Case{{tpl, tree.path(QStringLiteral("twogood.txt"))}, 0, "第2首"},
             Case{{tpl, tree.path(QStringLiteral("missing.txt"))}, 2, ""},
             Case{{QStringLiteral("没有这个词牌"), tree.path(QStringLiteral("good.txt"))}, 2, ""},
             Case{{tpl}, 2, ""},
             Case{{tpl, tree.path(QStringLiteral("good.txt")), QStringLiteral("--standard"),
                   QStringLiteral("中原音韵")},
                  2,
                  ""},
         }) {
        const CliRun run = runCli(QStringList{QStringLiteral("check")} + c.args);
        EXPECT_EQ(run.code, c.code) << c.args.join(u' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.says))) << run.out.toStdString();
    }
}

TEST(CheckerCli, CheckJsonGivesEveryCharacterAndFinding) {
    TempTree tree;
    tree.put(QStringLiteral("p.txt"), QStringLiteral("东动红东送，红东孔动花。").toUtf8());
    const CliRun run = runCli({QStringLiteral("check"), QStringLiteral("◎●○○●，○○◎●△。"),
                               tree.path(QStringLiteral("p.txt")), QStringLiteral("--json")});
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(o[QStringLiteral("marks")].toArray().size(), 10);
    EXPECT_EQ(o[QStringLiteral("standard")].toString(), QStringLiteral("词韵"));
    EXPECT_TRUE(o[QStringLiteral("keeps")].toBool()); // one rhyme: nothing to be outside of
}

TEST(CheckerCli, CheckNamesTheFormAndTakesAnother) {
    TempTree tree;
    // 吴文英's 满江红 on a level rhyme (全宋词), and 孟浩然's 宿建德江 (全唐诗).
    tree.put(
        QStringLiteral("mjh.txt"),
        QStringLiteral("云气楼台，分一派、沧浪翠蓬。开小景、玉盆寒浸，巧石盘松。风送流花时过岸，"
                       "浪摇晴练欲飞空。算鲛宫、祗隔一红尘，无路通。神女驾、凌晓风。明月佩，"
                       "响丁东。对两蛾犹锁，怨绿烟中。秋色未教飞尽雁，夕阳长是坠疏钟。"
                       "又一声、欸乃过前岩，移钓篷。")
            .toUtf8());
    tree.put(QStringLiteral("jdj.txt"),
             QStringLiteral("移舟泊煙渚，日暮客愁新。野曠天低樹，江清月近人。").toUtf8());
    const QString mjh = tree.path(QStringLiteral("mjh.txt"));
    struct Case {
        QStringList args;
        int code;
        const char* says;
    };
    for (const Case& c : {
             Case{{QStringLiteral("满江红"), mjh}, 0, "体，共"},
             Case{{QStringLiteral("满江红"), mjh, QStringLiteral("--form"), QStringLiteral("1")},
                  1,
                  "依本谱（第1体"},
             Case{{QStringLiteral("满江红"), mjh, QStringLiteral("--form"), QStringLiteral("99")},
                  2,
                  ""},
             Case{{QStringLiteral("满江红"), mjh, QStringLiteral("--form")}, 2, ""},
             Case{{QStringLiteral("五绝"), tree.path(QStringLiteral("jdj.txt"))}, 0, "平平仄平仄"},
         }) {
        const CliRun run = runCli(QStringList{QStringLiteral("check")} + c.args);
        if (run.code == 1 && c.code == 0 && run.out.contains(QStringLiteral("无从查证")))
            GTEST_SKIP() << "generated without the dataset";
        EXPECT_EQ(run.code, c.code) << c.args.join(u' ').toStdString() << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.says))) << run.out.toStdString();
    }
    const CliRun json =
        runCli({QStringLiteral("check"), QStringLiteral("满江红"), mjh, QStringLiteral("--json")});
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_GT(o[QStringLiteral("forms")].toArray().size(), 3);
    EXPECT_GE(o[QStringLiteral("formNumber")].toInt(), 2);
}

TEST(CheckerCli, CheckJsonGivesOneLinePerPoemWithTheFilesOffsets) {
    TempTree tree;
    const QString text =
        QStringLiteral("《一》\n东动红东送，红东孔动东。\n\n\n《二》\n东动红东送，红东孔红东。");
    tree.put(QStringLiteral("p.txt"), text.toUtf8());
    const CliRun run = runCli({QStringLiteral("check"), QStringLiteral("◎●○○●，○○◎●△。"),
                               tree.path(QStringLiteral("p.txt")), QStringLiteral("--json")});
    EXPECT_EQ(run.code, 1);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    const QList<bool> keeps{true, false};
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QJsonObject o = QJsonDocument::fromJson(lines[n].toUtf8()).object();
        EXPECT_EQ(o[QStringLiteral("poem")].toInt(), n + 1);
        EXPECT_EQ(o[QStringLiteral("keeps")].toBool(), keeps[n]);
        EXPECT_EQ(o[QStringLiteral("heading")].toString(), n == 0 ? u"《一》" : u"《二》");
        const QJsonArray marks = o[QStringLiteral("marks")].toArray();
        ASSERT_EQ(marks.size(), 10);
        for (const QJsonValue m : marks)
            EXPECT_EQ(text.mid(m[QStringLiteral("offset")].toInt(), 1),
                      m[QStringLiteral("char")].toString());
    }
    const QJsonArray findings =
        QJsonDocument::fromJson(lines[1].toUtf8())[QStringLiteral("findings")].toArray();
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings[0][QStringLiteral("offset")].toInt(), text.lastIndexOf(u'红'));
}

TEST(CheckerCli, TonesSayWhatTheLexiconKnows) {
    const CliRun run =
        runCli({QStringLiteral("tones"), QStringLiteral("看月，"), QStringLiteral("--json")});
    EXPECT_EQ(run.code, 0);
    const QJsonArray a = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(a.size(), 2);
    EXPECT_TRUE(a[0][QStringLiteral("polyphone")].toBool());
    EXPECT_EQ(a[1][QStringLiteral("classical")].toString(), QStringLiteral("入"));
    EXPECT_EQ(runCli({QStringLiteral("tones"), QStringLiteral("，。")}).code, 1);
    // A tone two public tables give, and a character only one table lists (to be checked).
    const QJsonArray b =
        QJsonDocument::fromJson(
            runCli({QStringLiteral("tones"), QStringLiteral("坞这"), QStringLiteral("--json")})
                .out.toUtf8())
            .array();
    ASSERT_EQ(b.size(), 2);
    EXPECT_EQ(b[0][QStringLiteral("classical")].toString(), QStringLiteral("上去"));
    EXPECT_TRUE(b[0][QStringLiteral("source")].toString().contains(QStringLiteral("词林正韵表")));
    EXPECT_FALSE(b[0][QStringLiteral("uncertain")].toBool());
    EXPECT_TRUE(b[1][QStringLiteral("uncertain")].toBool());
}

TEST(CheckerCli, PoemsListsTheTunesPoemsOrFindsNone) {
    const CliRun run = runCli({QStringLiteral("poems"), QStringLiteral("蝶恋花")});
    if (run.code == 1)
        GTEST_SKIP() << "generated without the dataset";
    EXPECT_EQ(run.code, 0);
    EXPECT_GT(run.out.count(u'\n'), 100);
    EXPECT_EQ(runCli({QStringLiteral("poems"), QStringLiteral("没有这个词牌")}).code, 1);
}

} // namespace
