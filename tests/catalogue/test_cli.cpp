// lyrevane-cli over the catalogue: output, exit codes and the one-line error messages.

#include "support/run_cli.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CliRun cli(const QStringList& args) {
    return runCli(args);
}

} // namespace

TEST(Cli, ShowPrintsTheRecordInFull) {
    const CliRun r = cli({QStringLiteral("show"), QStringLiteral("相见欢")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty());
    for (const char* line :
         {"label: 相见欢        36字\n", "name: 相见欢\n",
          "template: ◎○◎●○△，●○△，◎●◎○、○●●○△。    ●◎▲，◎○▲，●○△。◎●◎○、○●●○△。\n",
          "explanation: 唐教坊曲名，后用为词牌。又名《秋夜月》、《上西楼》、《乌夜啼》等。"
          "双调三十六字，上阕平韵，下阕两仄韵两平韵，亦有通篇皆押平韵者。\n",
          "template file: data\\常用词谱\\04.txt\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line;
    EXPECT_EQ(r.out.count(QStringLiteral("\nexample ")), 5);
}

TEST(Cli, ExitCodesAndMessages) {
    struct Case {
        QStringList args;
        int code;
        const char* out; // part of standard output, or "" for none expected
    } cases[] = {
        {{"patterns"}, 0, "  何满子        74字\n"},
        {{"verse"}, 0, "五绝-首句平起平收\t○○◎●△，◎●●○△。◎●○○●，○○◎●△。\n"},
        {{"find", "满庭"}, 0, "满庭芳\t常用词谱\t20\t"},
        {{"find", "何满子"}, 0, "河满子\t通用词谱\t28\t"},
        {{"show", "何满子"}, 0, "name: 河满子\n"},
        {{"show", "首句平起平收-五绝"}, 0, "template file: data\\律诗绝句\\16.txt\n"},
        {{"find", "花"}, 1, ""},
        {{"find", "蝶恋花 "}, 1, ""},
        {{"show", "无此调"}, 1, ""},
        {{"find"}, 2, ""},
        {{"show", "a", "b"}, 2, ""},
        {{"patterns", "extra"}, 2, ""},
        {{"verse", "--xml"}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, c.code);
        if (c.code == 0) {
            EXPECT_TRUE(r.err.isEmpty());
            EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.out))) << r.out.toStdString();
        } else {
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        }
    }
}

TEST(Cli, JsonOnEachCommand) {
    const CliRun find =
        cli({QStringLiteral("find"), QStringLiteral("乌夜啼"), QStringLiteral("--json")});
    ASSERT_EQ(find.code, 0);
    const QJsonObject hit = QJsonDocument::fromJson(find.out.toUtf8()).object();
    EXPECT_EQ(hit.value("name").toString(), u"相见欢");
    EXPECT_EQ(hit.value("file").toString(), u"data\\常用词谱\\04.txt");

    const CliRun show =
        cli({QStringLiteral("show"), QStringLiteral("十六字令"), QStringLiteral("--json")});
    const QJsonObject rec = QJsonDocument::fromJson(show.out.toUtf8()).object();
    EXPECT_EQ(rec.value("template").toString(), u"△，◎●◎○●●△。◎◎●，◎●●○△。");
    EXPECT_EQ(rec.value("examples").toArray().size(), 5);

    const QJsonObject lists =
        QJsonDocument::fromJson(
            cli({QStringLiteral("patterns"), QStringLiteral("--json")}).out.toUtf8())
            .object();
    EXPECT_EQ(lists.value(QStringLiteral("冷僻词谱")).toArray().size(), 41);
    EXPECT_EQ(lists.value(QStringLiteral("通用词谱"))
                  .toArray()
                  .at(35)
                  .toObject()
                  .value("name")
                  .toString(),
              u"雨淋铃");

    const QJsonDocument verse = QJsonDocument::fromJson(
        cli({QStringLiteral("verse"), QStringLiteral("--json")}).out.toUtf8());
    EXPECT_EQ(verse.array().size(), 16);
}

TEST(Cli, OutputThatCannotBeWrittenFailsWithOneLine) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("poem.txt"));
    const QString rtf = dir.filePath(QStringLiteral("mq1.rtf"));
    {
        QFile t(text), r(rtf);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly) && r.open(QIODevice::WriteOnly));
        t.write(QStringLiteral("明月几时有，把酒问青天。\n").toUtf8());
        r.write("{\\rtf1\\ansi\\ansicpg936 \\'c3\\'f7\\'d4\\'c2\\par}");
    }
    // Short outputs fail only at the final flush; the rhyme books' lists fill buffers first.
    const QStringList cases[] = {
        {QStringLiteral("rtf2txt"), rtf},
        {QStringLiteral("txt2rtf"), text},
        {QStringLiteral("rhyme")},
        {QStringLiteral("rhyme"), QStringLiteral("1"), QStringLiteral("0")},
        {QStringLiteral("show"), QStringLiteral("相见欢"), QStringLiteral("--json")},
        {QStringLiteral("patterns")},
        {QStringLiteral("--help")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        ASSERT_EQ(runCli(args).code, 0);
        const CliRun r = runCli(args, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("lyrevane-cli: cannot write standard output"))
            << r.err.toStdString();
    }
}
