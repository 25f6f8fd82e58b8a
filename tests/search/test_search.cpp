// The phrase search on five poems: what it finds, in what order, what it counts, and how
// it refuses a query or a damaged file.

#include "search/core/index_builder.h"
#include "search/core/index_format.h"
#include "search/core/search_index.h"
#include "search/core/text_chars.h"
#include "search_fixture.h"
#include "support/temp_tree.h"

#include <QSet>
#include <cstring>
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
    QByteArray blockSum = good;
    blockSum[sizeof(format::Header)] = char(blockSum[sizeof(format::Header)] ^ 0x01);
    const Case cases[] = {
        {"empty", QByteArray()},
        {"cut short", good.left(good.size() - 100)},
        {"only the header", good.left(sizeof(format::Header))},
        {"a byte changed", flipped},
        {"not an index", magic},
        {"a wrong count", count},
        {"a block's checksum changed", blockSum},
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

const format::Header& headerOf(const QByteArray& file) {
    return *reinterpret_cast<const format::Header*>(file.constData());
}

// The code a file gives a character.
quint32 codeOf(const QByteArray& file, char32_t c) {
    const format::Header& h = headerOf(file);
    const auto* alphabet =
        reinterpret_cast<const quint32*>(file.constData() + h.offset[format::Alphabet]);
    return quint32(std::find(alphabet, alphabet + h.alphabetSize, c) - alphabet);
}

// Every search for a character of the poems, with all their hits, each name filter, and
// every poem.
void readEverything(const Index& idx) {
    QSet<QChar> chars;
    for (const PoemInput& p : poems()) {
        for (QChar c : p.text + p.simplified) {
            if (isWordChar(c.unicode()))
                chars.insert(c);
        }
    }
    for (QChar c : chars) {
        Query q;
        q.phrases = {QString(c)};
        q.limit = 0;
        for (const Hit& h : idx.search(q).hits) {
            idx.poem(h.poem);
            idx.hitLine(h, q.phrases);
        }
    }
    Query named;
    named.phrases = {QStringLiteral("花")};
    named.poet = QStringLiteral("温庭筠");
    named.tune = QStringLiteral("菩萨蛮");
    named.title = QStringLiteral("菩萨");
    idx.search(named);
    for (quint32 i = 0; i < idx.poemCount(); ++i)
        idx.poem(i);
}

// Once found, damage is what every search answers, in one line, and no poem is given.
void expectDamageKept(const Index& idx, const char* name) {
    const QString damage = idx.damage();
    EXPECT_TRUE(damage.contains(QStringLiteral("损坏"))) << name << damage.toStdString();
    EXPECT_FALSE(damage.contains(u'\n')) << name;
    Query q;
    q.phrases = {QStringLiteral("花")};
    const Result r = idx.search(q);
    EXPECT_EQ(r.error, damage) << name;
    EXPECT_EQ(r.total, 0) << name;
    EXPECT_TRUE(r.hits.empty() && r.poets.isEmpty()) << name;
    EXPECT_TRUE(idx.poem(0).text.isEmpty()) << name;
}

TEST(Search, ABlockDamagedIsFoundWhenFirstReadNotAtOpening) {
    // Many copies of the poems, so that each section's middle is in a block of its own.
    const QByteArray good = repeated(1000);
    const format::Header& h = headerOf(good);
    TempTree tree;
    for (const format::Section s : {format::Postings, format::Poems, format::Texts}) {
        const quint64 at = h.offset[s] + h.size[s] / 2;
        const quint64 block = (at - format::blocksStart(h)) / format::kBlockSize;
        ASSERT_TRUE(block > 0 && block + 1 < h.blockCount) << s; // not read at opening
        QByteArray bad = good;
        bad[qsizetype(at)] = char(bad[qsizetype(at)] ^ 0x10);
        tree.put(QStringLiteral("poems.idx"), bad);
        QString error;
        const auto idx = Index::open(tree.path(QStringLiteral("poems.idx")), &error);
        ASSERT_TRUE(idx) << s << error.toStdString();
        EXPECT_TRUE(idx->damage().isEmpty()) << s;
        readEverything(*idx);
        EXPECT_TRUE(idx->damage().contains(QStringLiteral("校验和不符"))) << s;
        expectDamageKept(*idx, "a damaged block");
    }
}

TEST(Search, NumbersPointingOutOfTheirTablesAreDamageNotReads) {
    // The checksums are right (the file was made so), the numbers not: nothing is read
    // from outside what they point into.
    const QByteArray good = bytes();
    const format::Header& h = headerOf(good);
    const quint32 pastNames = h.nameCount, pastPoets = h.poetCount;
    struct Case {
        const char* name;
        format::Section section;
        quint64 at; // in the section
        quint32 value;
    };
    const Case cases[] = {
        {"a character's positions past their section", format::PostingStarts,
         4 * (codeOf(good, U'花') + 1), quint32(h.size[format::Postings] + 1000)},
        {"a poem's first word past all words", format::WordStarts, 8, 0xfffffff0},
        {"a text past the texts", format::TextStarts, 4, quint32(h.size[format::Texts] + 100)},
        {"texts out of order", format::TextStarts, 8, 0},
        {"simplified words past their section", format::SimpleStarts, 4, 0xffff0000},
        {"a title past the names", format::Poems, 0, pastNames},
        {"a poet past the poets", format::Poems, 8, pastPoets},
        {"a tune past the tunes", format::Poems, 20 + 8, quint32(h.tuneCount << 16 | 1)},
        {"a form past the forms", format::Poems, 12, 0x00ff0000},
        {"a poet's name past the names", format::PoetNames, 4, pastNames + 3},
        {"a tune's name past the names", format::TuneNames, 4, 0xffffffff},
        {"a name past the names", format::NameStarts, 4, quint32(h.size[format::Names] + 7)},
        {"names out of order", format::NameStarts, 12, 0},
    };
    for (const Case& c : cases) {
        QByteArray bad = good;
        std::memcpy(bad.data() + h.offset[c.section] + c.at, &c.value, 4);
        sealIndex(bad);
        QString error;
        const auto idx = Index::fromBytes(bad, &error);
        ASSERT_TRUE(idx) << c.name << error.toStdString();
        readEverything(*idx);
        expectDamageKept(*idx, c.name);
    }
}

} // namespace
