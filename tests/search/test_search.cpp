// The phrase search on five poems: what it finds, in what order, what it counts, and how
// it refuses a query or a damaged file.

#include "search/core/index_builder.h"
#include "search/core/index_format.h"
#include "search/core/search_index.h"
#include "search_fixture.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

using namespace search;
using namespace search_fixture;

std::vector<quint32> poemsOf(const Result& r) {
    std::vector<quint32> out;
    for (const Hit& h : r.hits)
        out.push_back(h.poem);
    return out;
}

TEST(Search, FindsPhrasesWithTheirFilters) {
    const auto idx = index();
    ASSERT_TRUE(idx);
    struct Case {
        const char* name;
        Query query;
        qint64 total;
        qint64 poems;
    };
    const auto q = [](std::initializer_list<QString> phrases) {
        Query query;
        query.phrases = phrases;
        return query;
    };
    auto with = [](Query query, auto change) {
        change(query);
        return query;
    };
    const Case cases[] = {
        {"one character", q({QStringLiteral("花")}), 5, 4},
        {"two characters", q({QStringLiteral("宫花")}), 1, 1},
        {"a traditional query finds the simplified text", q({QStringLiteral("宮花")}), 1, 1},
        {"a character three times in one poem", q({QStringLiteral("宫")}), 3, 1},
        {"across a comma", q({QStringLiteral("行宫宫花")}), 1, 1},
        {"punctuation in the query is ignored", q({QStringLiteral("行宫，宫花")}), 1, 1},
        {"never across two poems", q({QStringLiteral("楼春眠")}), 0, 0},
        {"a phrase no poem has", q({QStringLiteral("花落知少")}), 0, 0},
        {"a character no poem has", q({QStringLiteral("棠")}), 0, 0},
        {"all phrases in one poem", q({QStringLiteral("花"), QStringLiteral("镜")}), 3, 2},
        {"only the poem with both", q({QStringLiteral("花"), QStringLiteral("鹧鸪")}), 2, 1},
        {"phrases in different poems", q({QStringLiteral("宫花"), QStringLiteral("镜")}), 0, 0},
        {"at the start of a line",
         with(q({QStringLiteral("花")}), [](Query& x) { x.place = Place::LineStart; }), 2, 2},
        {"the rhyme word",
         with(q({QStringLiteral("楼")}), [](Query& x) { x.place = Place::LineEnd; }), 1, 1},
        {"not at the start",
         with(q({QStringLiteral("楼")}), [](Query& x) { x.place = Place::LineStart; }), 0, 0},
        {"a later poem's first words start a line",
         with(q({QStringLiteral("寥落")}), [](Query& x) { x.place = Place::LineStart; }), 1, 1},
        {"a whole line at both ends",
         with(q({QStringLiteral("重帘静")}), [](Query& x) { x.place = Place::LineEnd; }), 1, 1},
        {"dynasty",
         with(q({QStringLiteral("花")}), [](Query& x) { x.dynasty = Dynasty::FiveDynasties; }), 3,
         2},
        {"poet",
         with(q({QStringLiteral("花")}), [](Query& x) { x.poet = QStringLiteral("温庭筠"); }), 2,
         1},
        {"tune",
         with(q({QStringLiteral("花")}), [](Query& x) { x.tune = QStringLiteral("应天长"); }), 1,
         1},
        {"part of a title",
         with(q({QStringLiteral("花")}), [](Query& x) { x.title = QStringLiteral("行宫"); }), 1, 1},
        {"form", with(q({QStringLiteral("花")}), [](Query& x) { x.form = Form::WuJue; }), 2, 2},
        {"a poet with no such phrase",
         with(q({QStringLiteral("花")}), [](Query& x) { x.poet = QStringLiteral("王之涣"); }), 0,
         0},
    };
    for (const Case& c : cases) {
        const Result r = idx->search(c.query);
        EXPECT_TRUE(r.error.isEmpty()) << c.name;
        EXPECT_EQ(r.total, c.total) << c.name;
        EXPECT_EQ(r.poems, c.poems) << c.name;
        EXPECT_EQ(qint64(r.hits.size()), c.total) << c.name;
    }
}

TEST(Search, RanksAnthologiesThenFameAndCountsPerPoetAndTune) {
    const auto idx = index();
    Query q;
    q.phrases = {QStringLiteral("花")};
    const Result r = idx->search(q);
    // 春晓 is in an anthology; then 温庭筠 (fame 80), 元稹 (50), 李璟 (10).
    EXPECT_EQ(poemsOf(r),
              (std::vector<quint32>{ChunXiao, PuSaMan, PuSaMan, XingGong, YingTianChang}));
    EXPECT_LT(r.hits[1].position, r.hits[2].position);
    ASSERT_EQ(r.poets.size(), 4);
    EXPECT_EQ(r.poets[0].name, QStringLiteral("温庭筠"));
    EXPECT_EQ(r.poets[0].count, 2);
    ASSERT_EQ(r.tunes.size(), 2);
    EXPECT_EQ(r.tunes[0].name, QStringLiteral("菩萨蛮"));
    EXPECT_EQ(r.tunes[1].count, 1);

    q.limit = 2;
    const Result few = idx->search(q);
    EXPECT_EQ(few.total, 5);
    EXPECT_EQ(poemsOf(few), (std::vector<quint32>{ChunXiao, PuSaMan}));
}

TEST(Search, HitLinesAreTheSourcesLinesWithThePhrasesMarked) {
    const auto idx = index();
    struct Case {
        QStringList phrases;
        PoemId poem;
        QString line;
        QList<std::pair<int, int>> marks;
    };
    const Case cases[] = {
        {{QStringLiteral("宫花")}, XingGong, QStringLiteral("寥落古行宮，宮花寂寞紅。"), {{6, 2}}},
        {{QStringLiteral("行宫宫花")},
         XingGong,
         QStringLiteral("寥落古行宮，宮花寂寞紅。"),
         {{3, 5}}},
        {{QStringLiteral("花"), QStringLiteral("镜")},
         PuSaMan,
         QStringLiteral("照花前后镜，花面交相映。"),
         {{1, 1}, {4, 1}, {6, 1}}},
    };
    for (const Case& c : cases) {
        Query q;
        q.phrases = c.phrases;
        const Result r = idx->search(q);
        ASSERT_FALSE(r.hits.empty());
        EXPECT_EQ(r.hits[0].poem, quint32(c.poem));
        const HitLine line = idx->hitLine(r.hits[0], c.phrases);
        EXPECT_EQ(line.text, c.line);
        EXPECT_EQ(line.marks, c.marks) << c.line.toStdString();
    }
}

TEST(Search, KeepsTheSourcesTextAndTheSimplifiedOne) {
    const auto idx = index();
    ASSERT_EQ(idx->poemCount(), 5u);
    const Poem p = idx->poem(DengGuanQue);
    EXPECT_EQ(p.text, QStringLiteral("白日依山盡，黃河入海流。\n欲窮千里目，更上一層樓。"));
    EXPECT_EQ(p.simplified, QStringLiteral("白日依山尽，黄河入海流。\n欲穷千里目，更上一层楼。"));
    EXPECT_EQ(p.poet, QStringLiteral("王之涣"));
    EXPECT_EQ(p.anthologies, TangShi300);
    EXPECT_EQ(idx->poem(YingTianChang).tune, QStringLiteral("应天长"));
    EXPECT_EQ(idx->simplify(QStringLiteral("黃河")), QStringLiteral("黄河"));
}

TEST(Search, KeepsEachPoemsSimplifiedWordsHoweverTheyDifferFromItsText) {
    // 乾 is mostly made 干, but stays 乾 in 乾坤; the converter may also change a text's
    // shape; a poem not converted keeps its words as its source has them.
    struct Case {
        QString text, simplified;
        QString phrase; // finds it
    };
    const Case cases[] = {
        {QStringLiteral("乾燥黃河。"), QStringLiteral("干燥黄河。"), QStringLiteral("干燥")},
        {QStringLiteral("江湖乾涸。"), QStringLiteral("江湖干涸。"), QStringLiteral("干涸")},
        {QStringLiteral("乾坤東南見。"), QStringLiteral("乾坤东南见。"), QStringLiteral("乾坤")},
        {QStringLiteral("獨上西樓，"), QStringLiteral("独上西楼，"), QStringLiteral("西楼")},
        {QStringLiteral("燈火闌珊處。"), QStringLiteral("灯火阑珊处"), QStringLiteral("阑珊")},
        {QStringLiteral("月上柳梢頭。"), QStringLiteral("月上柳梢頭。"), QStringLiteral("梢頭")},
    };
    IndexBuilder b;
    for (const Case& c : cases)
        b.add({.text = c.text, .simplified = c.simplified});
    QString error;
    const auto idx = Index::fromBytes(b.build(), &error);
    ASSERT_TRUE(idx) << error.toStdString();
    for (quint32 i = 0; i < std::size(cases); ++i) {
        const Poem p = idx->poem(i);
        EXPECT_EQ(p.text, cases[i].text);
        EXPECT_EQ(p.simplified, cases[i].simplified);
        Query q;
        q.phrases = {cases[i].phrase};
        const Result r = idx->search(q);
        ASSERT_EQ(r.total, 1) << cases[i].phrase.toStdString();
        EXPECT_EQ(r.hits[0].poem, i);
    }
}

TEST(Search, RefusesQueriesItCannotSearch) {
    const auto idx = index();
    struct Case {
        const char* name;
        QStringList phrases;
        const char* says;
    };
    const Case cases[] = {
        {"nothing", {}, "请输入"},
        {"only spaces", {QStringLiteral("  ")}, "请输入"},
        {"only punctuation", {QStringLiteral("，。！")}, "只有标点"},
        {"21 characters", {QString(21, u'花')}, "最多 20 字"},
        {"1,000 characters", {QString(1000, u'花')}, "最多 20 字"},
        {"outside GBK", {QStringLiteral("花😀")}, "GBK"},
        {"too many phrases", QStringList(9, QStringLiteral("花")), "最多检索 8 个"},
    };
    for (const Case& c : cases) {
        Query q;
        q.phrases = c.phrases;
        const Result r = idx->search(q);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.says)))
            << c.name << ": " << r.error.toStdString();
        EXPECT_EQ(r.total, 0) << c.name;
    }
    // Twenty characters are searched.
    Query q;
    q.phrases = {QStringLiteral("一钩初月临妆镜蝉鬓凤钗慵不整重帘静层楼迥")};
    EXPECT_EQ(idx->search(q).total, 1);
}

TEST(Search, ADamagedOrMissingFileIsReportedNotRead) {
    const QByteArray good = bytes();
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x40);
    QByteArray magic = good;
    magic[0] = 'X';
    QByteArray count = good;
    reinterpret_cast<format::Header*>(count.data())->poemCount += 1;
    const Case cases[] = {
        {"empty", QByteArray()},
        {"cut short", good.left(good.size() - 100)},
        {"only the header", good.left(sizeof(format::Header))},
        {"a byte changed", flipped},
        {"not an index", magic},
        {"a wrong count", count},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(Index::fromBytes(c.bytes, &error)) << c.name;
        EXPECT_TRUE(error.contains(QStringLiteral("损坏"))) << c.name;
    }
    TempTree tree;
    QString error;
    EXPECT_FALSE(Index::open(tree.path(QStringLiteral("poems.idx")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("找不到"))) << error.toStdString();
    tree.put(QStringLiteral("poems.idx"), good.left(1000));
    EXPECT_FALSE(Index::open(tree.path(QStringLiteral("poems.idx")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("损坏"))) << error.toStdString();
    tree.put(QStringLiteral("good.idx"), good);
    EXPECT_TRUE(Index::open(tree.path(QStringLiteral("good.idx")), &error)) << error.toStdString();
}

} // namespace
