// The model poems of the catalogue: their file layout, their attributions,
// and that each one is quoted exactly from the poetry dataset it came from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "support/dataset.h"
#include <nlohmann/json.hpp>

#include <opencc/opencc.h>

#include <map>
#include <memory>
#include <set>
#include <tuple>

namespace {

struct ListInfo {
    const char* dir;
    int rows;
};

// Example files live in one folder per list, NN.txt per row.
const ListInfo kLists[] = {{"common", 28}, {"general", 38}, {"rare", 41}, {"verse", 16}};

const QString kPlaceholder = QStringLiteral("@placeholder");

using testdata::examplesDir;

QString datasetDir() {
    return testdata::poetryDir();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

struct Example {
    QString list;
    int row = 0;
    int slot = 0; // 1 to 5
    QString text;
};

QString slotName(const Example& e) {
    return QStringLiteral("%1/%2 example %3")
        .arg(e.list)
        .arg(e.row, 2, 10, QLatin1Char('0'))
        .arg(e.slot);
}

// Reads every example file; a missing or malformed file shows up as fewer lines.
std::vector<Example> loadExamples(QStringList* problems) {
    std::vector<Example> all;
    for (const auto& list : kLists) {
        for (int row = 1; row <= list.rows; ++row) {
            const QString path = QStringLiteral("%1/%2/%3.txt")
                                     .arg(examplesDir(), QLatin1String(list.dir))
                                     .arg(row, 2, 10, QLatin1Char('0'));
            const QByteArray bytes = readAll(path);
            if (bytes.isEmpty()) {
                problems->append(path + QStringLiteral(": missing or empty"));
                continue;
            }
            if (bytes.contains('\r'))
                problems->append(path + QStringLiteral(": carriage return"));
            if (!bytes.endsWith('\n'))
                problems->append(path + QStringLiteral(": no final line feed"));
            QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
            if (lines.last().isEmpty())
                lines.removeLast();
            if (lines.size() != 5)
                problems->append(path + QStringLiteral(": %1 lines").arg(lines.size()));
            for (int i = 0; i < lines.size(); ++i) {
                if (lines[i].trimmed().isEmpty())
                    problems->append(path + QStringLiteral(": line %1 empty").arg(i + 1));
                all.push_back({QLatin1String(list.dir), row, i + 1, lines[i]});
            }
        }
    }
    return all;
}

// An example split into the poem and its attribution.
struct Parsed {
    bool ok = false;
    QString body;    // the poem, stanza separator included
    QString heading; // tune (ci) or title (shi), any "·title" removed for ci
    QString dynasty;
    QString poet;
};

// Example 1 ends "--" heading "[" poet "]"; examples 2 to 5 end "——" heading
// "[" dynasty "·" poet "]".
Parsed parse(const Example& e) {
    static const QRegularExpression first(
        QStringLiteral("^(.+)--([^\\[\\]]+)\\[([^\\[\\]·]+)\\]$"));
    static const QRegularExpression later(
        QStringLiteral("^(.+)——([^\\[\\]]+)\\[([^\\[\\]·]+)·([^\\[\\]·]+)\\]$"));
    Parsed p;
    const auto m = (e.slot == 1 ? first : later).match(e.text);
    if (!m.hasMatch())
        return p;
    p.ok = true;
    p.body = m.captured(1);
    p.heading = m.captured(2);
    if (e.slot == 1) {
        p.poet = m.captured(3);
    } else {
        p.dynasty = m.captured(3);
        p.poet = m.captured(4);
    }
    if (e.list != QLatin1String("verse"))
        p.heading = p.heading.section(QChar(0x00B7), 0, 0);
    return p;
}

int hanCount(const QString& s) {
    int n = 0;
    for (const QChar c : s)
        n += c.script() == QChar::Script_Han ? 1 : 0;
    return n;
}

// The variant-character table the generator applies (variant-chars.tsv): the
// verbatim checks compare after the same mapping.
QHash<QChar, QChar> loadVariantChars() {
    QHash<QChar, QChar> map;
    const auto lines =
        QString::fromUtf8(readAll(examplesDir() + QStringLiteral("/variant-chars.tsv")))
            .split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (!line.startsWith(QLatin1Char('#')) && f.size() == 3 && f[0].size() == 1 &&
            f[1].size() == 1)
            map.insert(f[0][0], f[1][0]);
    }
    return map;
}

QString standardForms(QString text) {
    static const QHash<QChar, QChar> map = loadVariantChars();
    for (QChar& c : text)
        c = map.value(c, c);
    return text;
}

} // namespace

// The slots left for readers' submissions (the catalogue's own 27) and the
// slots the dataset cannot fill: too few sound poems of the tune survive.
TEST(Examples, PlaceholderSlotsAreExactlyTheDocumentedOnes) {
    // Each row as "list/NN: slots".
    const QStringList expected = {
        // reserved by the catalogue, and what the dataset cannot add to them
        QStringLiteral("rare/05: 2 3 4 5"),   // 荆州亭
        QStringLiteral("rare/06: 1 2 3 4 5"), // 误佳期: none in the dataset
        QStringLiteral("rare/16: 3 4 5"),     // 锦缠道
        QStringLiteral("rare/24: 2 3 4 5"),   // 换巢鸾凤
        QStringLiteral("rare/27: 1 2 3 4 5"), // 陌上花: none in the dataset
        QStringLiteral("rare/31: 2 3 4 5"),   // 翠楼吟: one poem in the dataset
        QStringLiteral("rare/38: 1 2 3 4 5"), // 夺锦标: none in the dataset
        QStringLiteral("rare/40: 2 3 4 5"),   // 春风袅娜: one poem in the dataset
        // too few sound poems of the tune in the dataset
        QStringLiteral("common/23: 3 4 5"), // 双双燕: two
        QStringLiteral("general/36: 5"),    // 雨霖铃: four sound poems
        QStringLiteral("rare/18: 5"),       // 离亭燕: four
        QStringLiteral("rare/20: 5"),       // 潇湘夜雨: four without a missing character
        QStringLiteral("rare/23: 5"),       // 昼夜乐: four
    };
    QStringList problems;
    const auto examples = loadExamples(&problems);
    std::map<QString, QString> rows;
    for (const auto& e : examples) {
        if (e.text == kPlaceholder) {
            rows[QStringLiteral("%1/%2:").arg(e.list).arg(e.row, 2, 10, QLatin1Char('0'))] +=
                QLatin1Char(' ') + QString::number(e.slot);
        } else {
            EXPECT_FALSE(e.text.contains(kPlaceholder)) << qPrintable(slotName(e));
        }
    }
    QStringList found;
    for (const auto& [row, taken] : rows)
        found.append(row + taken);
    QStringList want = expected;
    want.sort();
    found.sort();
    EXPECT_EQ(found.join(QLatin1Char('\n')).toStdString(),
              want.join(QLatin1Char('\n')).toStdString());
}

TEST(Examples, FilesHoldFiveNonEmptyLines) {
    QStringList problems;
    const auto examples = loadExamples(&problems);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
    EXPECT_EQ(examples.size(), size_t(5 * (28 + 38 + 41 + 16)));
}

// The attribution forms, a sound poem body (no missing-character box, no
// stray spaces), and the stanza separator: four spaces between the stanzas of
// a two-stanza tune, none in a one-stanza tune or a regulated verse.
TEST(Examples, AttributionAndLayout) {
    QStringList problems;
    const auto examples = loadExamples(&problems);
    const QSet<QString> singleStanza = {QStringLiteral("忆江南"),   QStringLiteral("如梦令"),
                                        QStringLiteral("十六字令"), QStringLiteral("捣练子"),
                                        QStringLiteral("忆王孙"),   QStringLiteral("调笑令")};
    const QSet<QString> dynasties = {QStringLiteral("唐"), QStringLiteral("五代"),
                                     QStringLiteral("南唐"), QStringLiteral("宋")};
    for (const auto& e : examples) {
        if (e.text == kPlaceholder)
            continue;
        const Parsed p = parse(e);
        ASSERT_TRUE(p.ok) << qPrintable(slotName(e) + QStringLiteral(": ") + e.text);
        EXPECT_FALSE(e.text.contains(QChar(0x25A1))) << qPrintable(slotName(e));
        if (e.slot > 1) {
            EXPECT_TRUE(dynasties.contains(p.dynasty)) << qPrintable(slotName(e));
        }
        const int separators = p.body.count(QStringLiteral("    "));
        const bool oneStanza = e.list == QLatin1String("verse") || singleStanza.contains(p.heading);
        EXPECT_EQ(separators, oneStanza ? 0 : 1) << qPrintable(slotName(e));
        QString rest = p.body;
        rest.remove(QStringLiteral("    "));
        EXPECT_FALSE(rest.contains(QLatin1Char(' '))) << qPrintable(slotName(e));
        // The separator follows the punctuation that closes the upper stanza.
        const int at = p.body.indexOf(QStringLiteral("    "));
        if (at > 0) {
            EXPECT_NE(p.body[at - 1].script(), QChar::Script_Han) << qPrintable(slotName(e));
        }
    }
}

namespace {

// tunes.tsv: for each row ("common/04"), its tune name and the names the dataset files
// its poems under.
struct Tune {
    QString name;
    QStringList filedUnder;
};

QHash<QString, Tune> loadTunes() {
    QHash<QString, Tune> tunes;
    const auto tsv = QString::fromUtf8(readAll(examplesDir() + QStringLiteral("/tunes.tsv")))
                         .split(QLatin1Char('\n'));
    for (const auto& line : tsv) {
        const auto f = line.split(QLatin1Char('\t'));
        if (f.size() == 4 && !line.startsWith(QLatin1Char('#')))
            tunes.insert(f[0] + QLatin1Char('/') + f[1],
                         {f[2], f[3].split(QLatin1Char(' '), Qt::SkipEmptyParts)});
    }
    return tunes;
}

} // namespace

// The tune name in every attribution is the name of its row.
TEST(Examples, TuneNameMatchesItsRow) {
    QStringList problems;
    const auto examples = loadExamples(&problems);
    QHash<QString, QString> names;
    for (const auto& [key, tune] : loadTunes().asKeyValueRange())
        names.insert(key, tune.name);
    ASSERT_EQ(names.size(), 28 + 38 + 41);
    for (const auto& e : examples) {
        if (e.text == kPlaceholder || e.list == QLatin1String("verse"))
            continue;
        const Parsed p = parse(e);
        ASSERT_TRUE(p.ok) << qPrintable(slotName(e));
        EXPECT_EQ(p.heading, names.value(e.list + QLatin1Char('/') + QString::number(e.row)))
            << qPrintable(slotName(e));
    }
}

namespace {

using json = nlohmann::json;

json readJson(const QString& path) {
    const QByteArray bytes = readAll(path);
    return json::parse(bytes.constData(), bytes.constData() + bytes.size());
}

QString joined(const json& paragraphs) {
    QString s;
    for (const auto& p : paragraphs)
        s += QString::fromStdString(p.get<std::string>());
    return s;
}

struct Source {
    QString poet;
    QStringList tunes; // the parts of "alias・tune", or the title of a shi
};

// Every ci in 全宋词, 花间集 and 南唐二主词, keyed by its text.
QMultiHash<QString, Source> loadCi() {
    QMultiHash<QString, Source> byText;
    auto add = [&](const json& poem) {
        const QString tune = QString::fromStdString(poem.value("rhythmic", std::string()));
        byText.insert(standardForms(joined(poem["paragraphs"])),
                      {QString::fromStdString(poem.value("author", std::string())),
                       tune.split(QChar(0x30FB), Qt::SkipEmptyParts)});
    };
    const QDir song(datasetDir() + QStringLiteral("/songci"));
    for (const auto& name : song.entryList({QStringLiteral("ci.song.*.json")}, QDir::Files))
        for (const auto& poem : readJson(song.filePath(name)))
            add(poem);
    const QDir hj(datasetDir() + QStringLiteral("/wudaishici/huajianji"));
    for (const auto& name : hj.entryList({QStringLiteral("*juan.json")}, QDir::Files))
        for (const auto& poem : readJson(hj.filePath(name)))
            add(poem);
    for (const auto& poem :
         readJson(datasetDir() + QStringLiteral("/wudaishici/nantang/poetrys.json")))
        add(poem);
    return byText;
}

// A poem of 全唐诗 in simplified characters.
struct TangPoem {
    QString text, title, author;
};

// The poems of 全唐诗 whose text has one of `lengths` Han characters; only those are
// converted, which keeps the reading short.
std::vector<TangPoem> tangPoems(const QSet<int>& lengths) {
    const opencc::SimpleConverter t2s("t2s.json");
    auto simplified = [&](const std::string& s) { return QString::fromStdString(t2s.Convert(s)); };
    const QDir tang(datasetDir() + QStringLiteral("/quantangshi"));
    std::vector<TangPoem> poems;
    for (const auto& name : tang.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files)) {
        for (const auto& poem : readJson(tang.filePath(name))) {
            std::string text;
            for (const auto& para : poem["paragraphs"])
                text += para.get<std::string>();
            if (!lengths.contains(hanCount(QString::fromStdString(text))))
                continue;
            poems.push_back({simplified(text), simplified(poem.value("title", std::string())),
                             simplified(poem.value("author", std::string()))});
        }
    }
    return poems;
}

} // namespace

// A rhyme-change or repeat note added to a quoted poem: （换仄韵）, （换前平韵）,
// （叶平韵）, （叠句）, …
const QRegularExpression kNote(QStringLiteral("（(?:换前?[平仄]韵|叶[平仄]韵|叠[^（）]*)）"));

namespace {

// A reading that differs from the dataset, listed in corrections.tsv with the sources
// that settle it: at the given 1-based position among the poem's Chinese characters,
// our text reads `ours` where the dataset reads `dataset` ("-" for nothing).
struct Correction {
    int position = 0;
    QString dataset, ours, sources;
};

// "list/NN example" -> its corrections.
std::map<QString, std::vector<Correction>> loadCorrections(QStringList* problems) {
    std::map<QString, std::vector<Correction>> out;
    const QString path = examplesDir() + QStringLiteral("/corrections.tsv");
    const auto lines = QString::fromUtf8(readAll(path)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        bool ok = f.size() == 7;
        const int row = ok ? f[1].toInt(&ok) : 0;
        const int slot = ok ? f[2].toInt(&ok) : 0;
        const int position = ok ? f[3].toInt(&ok) : 0;
        if (!ok || f[5] == QLatin1String("-") || f[6].trimmed().isEmpty()) {
            problems->append(QStringLiteral("corrections.tsv: bad line: ") + line);
            continue;
        }
        const QString key = QStringLiteral("%1/%2 example %3")
                                .arg(f[0])
                                .arg(row, 2, 10, QLatin1Char('0'))
                                .arg(slot);
        out[key].push_back({position, f[4] == QLatin1String("-") ? QString() : f[4], f[5], f[6]});
    }
    return out;
}

// Undoes the corrections of one example, last position first, giving back the
// dataset's text; a correction whose reading is not where it is listed is a problem.
QString undoCorrections(QString text, std::vector<Correction> list, const QString& where,
                        QStringList* problems) {
    std::sort(list.begin(), list.end(),
              [](const Correction& a, const Correction& b) { return a.position > b.position; });
    for (const Correction& c : list) {
        qsizetype at = -1;
        for (qsizetype i = 0, n = 0; i < text.size(); ++i) {
            if (text[i].script() == QChar::Script_Han && ++n == c.position) {
                at = i;
                break;
            }
        }
        if (at < 0 || text.mid(at, c.ours.size()) != c.ours) {
            problems->append(QStringLiteral("%1: correction at %2 does not find %3")
                                 .arg(where)
                                 .arg(c.position)
                                 .arg(c.ours));
            continue;
        }
        text.replace(at, c.ours.size(), c.dataset);
    }
    return text;
}

} // namespace

TEST(ExamplesContent, CorrectionsAreUndoneWhereListed) {
    const std::vector<Correction> list = {
        {2, QString(), QStringLiteral("方"), QStringLiteral("s")},
        {6, QStringLiteral("洒"), QStringLiteral("酒"), QStringLiteral("s")}};
    QStringList problems;
    EXPECT_EQ(
        undoCorrections(QStringLiteral("甲方乙，丙丁酒。"), list, QStringLiteral("x"), &problems)
            .toStdString(),
        "甲乙，丙丁洒。");
    EXPECT_TRUE(problems.isEmpty());
    undoCorrections(QStringLiteral("甲乙丙丁戊"), list, QStringLiteral("x"), &problems);
    EXPECT_EQ(problems.size(), 2);
}

// Every ci example, stanza separator and notes removed and the listed corrections
// undone, is a poem of the dataset character for character (punctuation included),
// by the same poet, filed under the row's tune or one of its other names. The Tang
// and Five Dynasties ci of 全唐诗 are compared after conversion to simplified
// characters, as the regulated verse is.
TEST(ExamplesContent, CiQuotedVerbatimFromTheDataset) {
    if (!QDir(datasetDir() + QStringLiteral("/songci")).exists())
        GTEST_SKIP() << "chinese-poetry dataset not installed";
    QStringList problems;
    const auto examples = loadExamples(&problems);
    auto corrections = loadCorrections(&problems);
    QHash<QString, QStringList> aliases;
    for (const auto& [key, tune] : loadTunes().asKeyValueRange())
        aliases.insert(key, tune.filedUnder);
    const auto byText = loadCi();
    struct Wanted {
        QString where, text, poet;
        QStringList names;
    };
    std::vector<Wanted> unmatched;
    int checked = 0;
    for (const auto& e : examples) {
        if (e.text == kPlaceholder || e.list == QLatin1String("verse"))
            continue;
        const Parsed p = parse(e);
        ASSERT_TRUE(p.ok) << qPrintable(slotName(e));
        QString text = p.body;
        text.remove(QStringLiteral("    "));
        text.remove(kNote);
        const auto c = corrections.find(slotName(e));
        if (c != corrections.end()) {
            text = undoCorrections(text, c->second, slotName(e), &problems);
            corrections.erase(c);
        }
        text = standardForms(text);
        const QStringList names = aliases.value(e.list + QLatin1Char('/') + QString::number(e.row));
        bool found = false;
        for (auto it = byText.constFind(text); it != byText.constEnd() && it.key() == text; ++it) {
            const bool tuneOk = std::any_of(it->tunes.begin(), it->tunes.end(),
                                            [&](const QString& t) { return names.contains(t); });
            found = found || (tuneOk && it->poet == p.poet);
        }
        if (!found)
            unmatched.push_back({slotName(e), text, p.poet, names});
        ++checked;
    }
    for (const auto& [key, list] : corrections)
        problems.append(QStringLiteral("corrections.tsv: no such example: ") + key);

    // What the Song ci collections lack may be a ci of 全唐诗: its title holds the tune.
    if (!unmatched.empty()) {
        QSet<int> lengths;
        for (const auto& w : unmatched)
            lengths.insert(hanCount(w.text));
        QMultiHash<QString, Source> tangCi;
        for (const TangPoem& poem : tangPoems(lengths))
            tangCi.insert(standardForms(poem.text),
                          {poem.author, poem.title.split(QLatin1Char(' '), Qt::SkipEmptyParts)});
        for (const auto& w : unmatched) {
            bool found = false;
            for (auto it = tangCi.constFind(w.text); it != tangCi.constEnd() && it.key() == w.text;
                 ++it) {
                const bool tuneOk =
                    std::any_of(it->tunes.begin(), it->tunes.end(),
                                [&](const QString& t) { return w.names.contains(t); });
                found = found || (tuneOk && it->poet == w.poet);
            }
            if (!found)
                problems.append(w.where + QStringLiteral(": not in the dataset as ") + w.poet +
                                QStringLiteral(" / ") + w.names.join(QLatin1Char(' ')));
        }
    }
    EXPECT_GT(checked, 0);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
}

// Every regulated-verse example is a poem of 全唐诗 after conversion to
// simplified characters, with the same title and poet.
TEST(ExamplesContent, VerseQuotedVerbatimFromTheDataset) {
    const QDir tang(datasetDir() + QStringLiteral("/quantangshi"));
    if (!tang.exists())
        GTEST_SKIP() << "chinese-poetry dataset not installed";
    QStringList problems;
    const auto examples = loadExamples(&problems);
    std::set<std::tuple<QString, QString, QString>> wanted; // text, title, poet
    QSet<int> lengths;
    for (const auto& e : examples) {
        if (e.list != QLatin1String("verse"))
            continue;
        const Parsed p = parse(e);
        ASSERT_TRUE(p.ok) << qPrintable(slotName(e));
        wanted.insert({standardForms(p.body), p.heading, p.poet});
        lengths.insert(hanCount(p.body));
    }
    std::set<std::tuple<QString, QString, QString>> present;
    for (const TangPoem& poem : tangPoems(lengths)) {
        const auto key = std::make_tuple(standardForms(poem.text), poem.title, poem.author);
        if (wanted.count(key))
            present.insert(key);
    }
    for (const auto& w : wanted) {
        EXPECT_TRUE(present.count(w))
            << qPrintable(std::get<2>(w) + QStringLiteral("《") + std::get<1>(w) +
                          QStringLiteral("》 not in 全唐诗: ") + std::get<0>(w));
    }
    EXPECT_EQ(wanted.size(), size_t(80));
}
