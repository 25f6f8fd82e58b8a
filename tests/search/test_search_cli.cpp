// lyrevane-cli search as a user runs it: exit codes, the lines it prints, its JSON, and a
// missing or damaged corpus.

#include "search/core/index_format.h"
#include "search_fixture.h"
#include "support/run_cli.h"
#include "support/temp_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <optional>

namespace {

QStringList withIndex(const TempTree& tree, QStringList args) {
    return QStringList{QStringLiteral("search"), QStringLiteral("--index"),
                       tree.path(QStringLiteral("poems.idx"))} +
           args;
}

TEST(SearchCli, ExitsByWhatItFound) {
    TempTree tree;
    tree.put(QStringLiteral("poems.idx"), search_fixture::bytes());
    struct Case {
        QStringList args;
        int code;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {{QStringLiteral("宫花")}, 0, "元稹《行宫》（唐）  寥落古行宮，【宮花】寂寞紅。", ""},
        {{QStringLiteral("花"), QStringLiteral("--tune"), QStringLiteral("菩萨蛮")},
         0,
         "2 处，见于 1 首",
         ""},
        {{QStringLiteral("花"), QStringLiteral("--limit"), QStringLiteral("1")},
         0,
         "另有 4 处",
         ""},
        {{QStringLiteral("花"), QStringLiteral("--dynasty"), QStringLiteral("五代")},
         0,
         "诗人：温庭筠 2，李璟 1",
         ""},
        {{QStringLiteral("楼"), QStringLiteral("--at"), QStringLiteral("end")}, 0, "【樓】", ""},
        {{QStringLiteral("花落知少")}, 1, "没有找到用例", ""},
        {{QStringLiteral("楼"), QStringLiteral("--at"), QStringLiteral("start")},
         1,
         "没有找到",
         ""},
        {{}, 2, "", "请输入"},
        {{QStringLiteral("，。")}, 2, "", "只有标点"},
        {{QString(1000, u'花')}, 2, "", "最多 20 字"},
        {{QStringLiteral("😀")}, 2, "", "GBK"},
        {{QStringLiteral("花"), QStringLiteral("--dynasty"), QStringLiteral("秦朝")},
         2,
         "",
         "--dynasty"},
        {{QStringLiteral("花"), QStringLiteral("--at"), QStringLiteral("middle")}, 2, "", "--at"},
        {{QStringLiteral("花"), QStringLiteral("--limit")}, 2, "", "needs a value"},
        {{QStringLiteral("花"), QStringLiteral("--colour"), QStringLiteral("红")},
         2,
         "",
         "unknown option"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(withIndex(tree, c.args));
        EXPECT_EQ(run.code, c.code) << c.args.join(u' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.out))) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << run.err.toStdString();
    }
}

TEST(SearchCli, JsonGivesHitsMarksAndCounts) {
    TempTree tree;
    tree.put(QStringLiteral("poems.idx"), search_fixture::bytes());
    const CliRun run = runCli(withIndex(tree, {QStringLiteral("花"), QStringLiteral("--json")}));
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(doc[QLatin1String("total")].toInt(), 5);
    EXPECT_EQ(doc[QLatin1String("poems")].toInt(), 4);
    const QJsonObject first = doc[QLatin1String("hits")].toArray().first().toObject();
    EXPECT_EQ(first[QLatin1String("poet")].toString(), QStringLiteral("孟浩然"));
    EXPECT_EQ(first[QLatin1String("line")].toString(), QStringLiteral("夜來風雨聲，花落知多少。"));
    EXPECT_EQ(first[QLatin1String("marks")].toArray(), (QJsonArray{QJsonArray{6, 1}}));
    EXPECT_EQ(
        doc[QLatin1String("tunes")].toArray().first().toObject()[QLatin1String("name")].toString(),
        QStringLiteral("菩萨蛮"));
}

TEST(SearchCli, AMissingOrDamagedCorpusIsOneLine) {
    const QByteArray good = search_fixture::bytes();
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x40);
    // Damage in the middle of the poems' texts, read only for the lines printed.
    QByteArray lateText = search_fixture::repeated(1000);
    const auto& h = *reinterpret_cast<const search::format::Header*>(lateText.constData());
    const qsizetype at =
        qsizetype(h.offset[search::format::Texts] + h.size[search::format::Texts] / 2);
    lateText[at] = char(lateText[at] ^ 0x10);
    struct Case {
        const char* name;
        std::optional<QByteArray> file; // none: no file at all
        const char* says;
    };
    const Case cases[] = {
        {"no file", std::nullopt, "找不到"},
        {"empty", QByteArray(), "损坏"},
        {"cut short", good.left(500), "损坏"},
        {"a byte changed", flipped, "损坏"},
        {"another kind of file", QByteArray("白日依山尽\n").repeated(100), "损坏"},
        {"a text damaged after the first lines", lateText, "校验和不符"},
    };
    for (const Case& c : cases) {
        TempTree tree;
        if (c.file)
            tree.put(QStringLiteral("poems.idx"), *c.file);
        const CliRun run = runCli(withIndex(
            tree, {QStringLiteral("花"), QStringLiteral("--limit"), QStringLiteral("0")}));
        EXPECT_EQ(run.code, 1) << c.name;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << c.name << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << c.name;
        EXPECT_TRUE(run.out.isEmpty()) << c.name;
    }
}

TEST(SearchCli, FindsAFamousLineInTheBuiltCorpus) {
    if (!QFile::exists(QStringLiteral(LYREVANE_SEARCH_INDEX)))
        GTEST_SKIP() << "no search corpus (built only with the poetry dataset)";
    const CliRun run =
        runCli({QStringLiteral("search"), QStringLiteral("白日依山尽"), QStringLiteral("--json")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject first = QJsonDocument::fromJson(run.out.toUtf8())
                                  .object()[QLatin1String("hits")]
                                  .toArray()
                                  .first()
                                  .toObject();
    EXPECT_EQ(first[QLatin1String("poet")].toString(), QStringLiteral("王之涣"));
}

} // namespace
