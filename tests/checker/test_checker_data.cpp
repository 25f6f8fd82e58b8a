// The checker's generated data and the checker on the dataset's own poems: regeneration
// gives the same bytes, the Song and Tang poems keep their patterns, damaged copies are
// caught. The figures are printed for the notes. Skips when the dataset is absent.

#include "checker/core/checker_data.h"
#include "rhyme/core/rhyme_book.h"
#include "support/dataset.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <opencc/opencc.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <thread>

using namespace checker;

namespace {

const QString kDataDir = QStringLiteral(LYREVANE_CHECKER_DATA);

bool haveDataset() {
    return QFile::exists(testdata::poetryDir() + QStringLiteral("/songci/ci.song.0.json"));
}

#define SKIP_WITHOUT_DATASET()                                                                     \
    if (!haveDataset())                                                                            \
    GTEST_SKIP() << "the chinese-poetry dataset is not installed"

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CheckerData, RegeneratingGivesTheSameFiles) {
    QTemporaryDir out;
    QProcess gen;
    gen.start(QStringLiteral(CHECKER_GEN), {testdata::sourceDir(), testdata::npmDir(), out.path()});
    ASSERT_TRUE(gen.waitForFinished(300000));
    ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();
    for (const char* name :
         {"lexicon.dat", "precedent.dat", "poems.dat", "forms.dat", "t2s.dat", "coverage.txt"}) {
        const QByteArray built = readFile(kDataDir + u'/' + QLatin1String(name));
        EXPECT_FALSE(built.isEmpty()) << name;
        EXPECT_EQ(readFile(out.filePath(QLatin1String(name))), built) << name;
    }
}

TEST(CheckerData, TheLexiconKnowsBothReadingsOfThePolyphones) {
    const Lexicon& lex = checkerData(kDataDir).lexicon;
    ASSERT_FALSE(lex.isEmpty());
    // Characters the strains alone would call 仄 although the rhyme book has them 平 too.
    for (char16_t c : {u'忘', u'望', u'醒', u'看', u'听', u'中', u'重', u'教'}) {
        const CharInfo* info = lex.find(c);
        ASSERT_NE(info, nullptr) << QString(QChar(c)).toStdString();
        EXPECT_TRUE(info->polyphone()) << QString(QChar(c)).toStdString();
        EXPECT_EQ(toneOf(info, Standard::CiYun), Tone::Both);
    }
    // Entering tones are 仄 classically, whatever Mandarin makes of them.
    for (char16_t c : {u'白', u'国', u'十', u'石', u'月', u'雪', u'出'}) {
        EXPECT_EQ(toneOf(lex.find(c), Standard::CiYun), Tone::Oblique)
            << QString(QChar(c)).toStdString();
    }
    EXPECT_EQ(toneOf(lex.find(u'国'), Standard::XinYun), Tone::Level);
}

// The public rhyme tables of data/checker, read here on their own: character → the tone
// classes (ClassicalTone bits) each table lists it under.
struct TableRows {
    std::map<char32_t, unsigned char> pingshui, cilin, excerpt;
};

unsigned char toneClass(const QString& t) {
    return t == u"平" ? kLevel : t == u"入" ? kEntering : kRisingDeparting;
}

const TableRows& tableRows() {
    static const TableRows rows = [] {
        TableRows out;
        const QString dir = testdata::sourceDir() + QStringLiteral("/data/checker/");
        auto lines = [&dir](const char* name) {
            QStringList kept;
            for (const QString& ln :
                 QString::fromUtf8(readFile(dir + QLatin1String(name))).split(u'\n'))
                if (!ln.isEmpty() && !ln.startsWith(u'#'))
                    kept.append(ln);
            return kept;
        };
        for (const QString& ln : lines("pingshui-charlesix59.txt")) {
            const QStringList f = ln.split(u'\t'); // tone, rhyme, characters
            for (char32_t c : f.value(2).toUcs4())
                out.pingshui[c] |= toneClass(f[0]);
        }
        for (const QString& ln : lines("cilin-charlesix59.txt")) {
            const QStringList f = ln.split(u'\t'); // part, tone, characters
            for (char32_t c : f.value(2).toUcs4())
                out.cilin[c] |= toneClass(f[1]);
        }
        for (const QString& ln : lines("pingshui-couyun.txt")) {
            const QStringList f = ln.split(u'\t'); // character, tone, rhyme, part
            out.excerpt[f[0].toUcs4().value(0)] |= toneClass(f.value(1));
        }
        return out;
    }();
    return rows;
}

// A few characters each table is known to hold, so that a faulty extraction shows.
TEST(CheckerData, EachPublicTableHoldsKnownCharacters) {
    const TableRows& t = tableRows();
    struct Case {
        const std::map<char32_t, unsigned char>* table;
        char32_t ch;
        unsigned char tones;
    };
    const Case cases[] = {
        {&t.pingshui, U'东', kLevel},
        {&t.pingshui, U'看', kLevel | kRisingDeparting},
        {&t.pingshui, U'月', kEntering},
        {&t.pingshui, U'阐', kRisingDeparting},
        {&t.cilin, U'东', kLevel},
        {&t.cilin, U'坞', kRisingDeparting},
        {&t.cilin, U'雪', kEntering},
        {&t.cilin, U'拖', kLevel | kRisingDeparting},
        {&t.excerpt, U'坞', kRisingDeparting},
        {&t.excerpt, U'做', kRisingDeparting},
        {&t.excerpt, U'着', kEntering},
    };
    for (const Case& c : cases) {
        const auto it = c.table->find(c.ch);
        ASSERT_NE(it, c.table->end()) << QString::fromUcs4(&c.ch, 1).toStdString();
        EXPECT_EQ(it->second, c.tones) << QString::fromUcs4(&c.ch, 1).toStdString();
    }
}

// Tones that the Tang strains alone once gave wrongly, now from two agreeing tables; and a
// rhyme character the book lacks, now with its rhyme.
TEST(CheckerData, TheTablesMendTheStrainsOnlyTones) {
    const Lexicon& lex = checkerData(kDataDir).lexicon;
    struct Case {
        char32_t ch;
        unsigned char classical;
        const char* pingshui; // the first reading's rhyme
    };
    const Case cases[] = {
        {U'坞', kRisingDeparting, "七麌"}, {U'阐', kRisingDeparting, "十六铣"},
        {U'戆', kRisingDeparting, "三绛"}, {U'拖', kLevel | kRisingDeparting, "五歌"},
        {U'赪', kLevel, "八庚"},           {U'馀', kLevel, "六鱼"},
    };
    for (const Case& c : cases) {
        const std::string name = QString::fromUcs4(&c.ch, 1).toStdString();
        const CharInfo* info = lex.find(c.ch);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_EQ(info->classical, c.classical) << name;
        EXPECT_FALSE(info->uncertain) << name;
        ASSERT_FALSE(info->readings.isEmpty()) << name;
        EXPECT_EQ(info->readings.first().pingshui, QString::fromUtf8(c.pingshui)) << name;
        EXPECT_GE(info->readings.first().ciEntry, 0) << name;
    }
    // Listed by one table only: both readings, to be checked, leaning as the poets used it.
    const CharInfo* zhe = lex.find(U'这');
    ASSERT_NE(zhe, nullptr);
    EXPECT_TRUE(zhe->uncertain);
    EXPECT_EQ(toneOf(zhe, Standard::CiYun), Tone::Both);
    EXPECT_LT(zhe->levelShare, 0.5);
}

// Every definite tone (平 only or 仄 only) comes from our book or from two public tables
// that list it: never from the strains alone, never from one table alone.
TEST(CheckerData, EveryDefiniteToneHasTheBookOrTwoTables) {
    const Lexicon& lex = checkerData(kDataDir).lexicon;
    const TableRows& t = tableRows();
    std::map<char32_t, unsigned char> book;
    for (const RhymeGroup& g : rhyme::groups(RhymeSystem::CiYun)) {
        const unsigned char tone = g.tone == RhymeTone::Level     ? kLevel
                                   : g.tone == RhymeTone::Oblique ? kRisingDeparting
                                                                  : kEntering;
        for (const RhymeItem& item : rhyme::items(g.characters)) {
            const QList<uint> u = item.character.toUcs4();
            if (u.size() == 1)
                book[u.first()] |= tone;
        }
    }
    auto bits = [](const std::map<char32_t, unsigned char>& m, char32_t c) -> unsigned char {
        const auto it = m.find(c);
        return it == m.end() ? 0 : it->second;
    };
    std::set<char32_t> chars;
    for (char32_t c = 0x3400; c < 0x10000; ++c)
        chars.insert(c);
    using Rows = std::map<char32_t, unsigned char>;
    for (const Rows* m : {static_cast<const Rows*>(&book), &t.pingshui, &t.cilin, &t.excerpt}) {
        for (const auto& entry : *m)
            chars.insert(entry.first);
    }
    int definite = 0;
    QString faults;
    for (char32_t c : chars) {
        const CharInfo* info = lex.find(c);
        const Tone tone = toneOf(info, Standard::CiYun);
        if (tone != Tone::Level && tone != Tone::Oblique)
            continue;
        ++definite;
        for (unsigned char bit : {kLevel, kRisingDeparting, kEntering}) {
            if (!(info->classical & bit))
                continue;
            const int tables = int(bool(bits(t.pingshui, c) & bit)) +
                               int(bool(bits(t.cilin, c) & bit)) +
                               int(bool(bits(t.excerpt, c) & bit));
            if (!(bits(book, c) & bit) && tables < 2)
                faults += QString::fromUcs4(&c, 1) + toneNames(bit) + u' ';
        }
        if (info->classical & kObliqueOnly)
            faults += QString::fromUcs4(&c, 1) + QStringLiteral("仄 ");
    }
    EXPECT_GT(definite, 5000);
    EXPECT_TRUE(faults.isEmpty()) << faults.toStdString();
}

TEST(CheckerData, TheShareOfLevelUseRanksAPolyphonesReadings) {
    SKIP_WITHOUT_DATASET();
    const Lexicon& lex = checkerData(kDataDir).lexicon;
    // 风 as 讽 is rare; 看 听 忘 truly vary (忘 although the strains mark it 仄 throughout).
    EXPECT_GT(lex.find(U'风')->levelShare, 0.95);
    for (char32_t c : {U'看', U'听', U'忘'}) {
        const float share = lex.find(c)->levelShare;
        EXPECT_GT(share, 0.1) << QString::fromUcs4(&c, 1).toStdString();
        EXPECT_LT(share, 0.9) << QString::fromUcs4(&c, 1).toStdString();
    }
    EXPECT_LT(lex.find(U'坞')->levelShare, 0.1); // the strains' 平 was their own mistake
}

struct Tally {
    qint64 positions = 0;
    qint64 clashes = 0;
    int poems = 0;
    int kept = 0; // poems that keep the pattern
    double share() const { return positions ? double(clashes) / double(positions) : 0; }
};

// Poems that fit a template mark for mark, and hold no missing-character box.
bool fits(const QString& text, const Pattern& p) {
    const QList<TextChar> chars = poemChars(text);
    return chars.size() == p.cells.size() &&
           std::none_of(chars.cbegin(), chars.cend(),
                        [](const TextChar& c) { return c.ch == U'□'; });
}

// What a check says, in a few lines: every mark's status and every finding.
QString described(const Result& r) {
    QString out = r.form + u'\n';
    for (const CharMark& m : r.marks)
        out += QString::number(int(m.status)) + (m.rhyme ? u'r' : u'-') + (m.lenient ? u'l' : u'-');
    for (const Finding& f : r.findings)
        out += u'\n' + QString::number(f.offset) + u' ' + f.message + u' ' + f.precedent;
    for (const RhymeReport& rr : r.rhymes)
        out += u'\n' + rr.group + u' ' + rr.chars + u' ' + rr.outside;
    return out;
}

// The check pane checks on a thread of its own while the window may read the same data:
// two checkers on two threads over one fresh copy of the data (nothing read yet, so both
// read the lexicon's lines and the precedent's blocks as they go) say what one checker
// alone says.
TEST(CheckerData, TwoThreadsCheckOverOneCopyOfTheData) {
    const CheckerData& data = checkerData(kDataDir);
    QList<Request> requests;
    for (const QString& tune : {QStringLiteral("蝶恋花"), QStringLiteral("水调歌头"),
                                QStringLiteral("念奴娇"), QStringLiteral("浣溪沙")}) {
        const auto named = namedPattern(tune);
        ASSERT_TRUE(named);
        const QList<TunePoem> poems = data.poems().poems(named->key);
        for (qsizetype i = 0; i < std::min<qsizetype>(poems.size(), 30); ++i) {
            for (Standard s : {Standard::CiYun, Standard::PingShui})
                requests.append(
                    {named->templateText, poems[i].paragraphs.join(u'\n'), s, named->key});
        }
    }
    ASSERT_GT(requests.size(), 100);
    QStringList alone;
    const Checker one = checkerOf(data);
    for (const Request& r : requests)
        alone.append(described(one.check(r)));

    const CheckerData fresh{Lexicon::load(kDataDir), Precedent::load(kDataDir),
                            Forms::load(kDataDir), Simplifier::load(kDataDir), kDataDir};
    QStringList forwards, backwards;
    std::thread a([&] {
        const Checker c = checkerOf(fresh);
        for (const Request& r : requests)
            forwards.append(described(c.check(r)));
    });
    std::thread b([&] {
        const Checker c = checkerOf(fresh);
        for (qsizetype i = requests.size() - 1; i >= 0; --i)
            backwards.prepend(described(c.check(requests[i])));
    });
    a.join();
    b.join();
    EXPECT_EQ(forwards, alone);
    EXPECT_EQ(backwards, alone);
}

struct Named {
    QString name;
    QString templateText;
    QString key;
    Standard standard;
    QStringList poems;
};

// The ci tunes with their Song poems; the verse forms with their Tang poems.
QList<Named> corpus() {
    QList<Named> out;
    const CheckerData& data = checkerData(kDataDir);
    for (catalogue::PatternList list : catalogue::kPatternLists) {
        for (const catalogue::CiPattern& p : catalogue::patterns(list)) {
            Named n{p.name, p.templateText, patternKey(p), Standard::CiYun, {}};
            const Pattern pat = Pattern::parse(p.templateText);
            for (const TunePoem& poem : data.poems().poems(n.key)) {
                const QString text = poem.paragraphs.join(QString());
                if (fits(text, pat))
                    n.poems.append(text);
            }
            out.append(n);
        }
    }
    // 全唐诗: four or eight lines of five or seven characters, checked against the first
    // opening of the form (the checker picks the opening that fits).
    QStringList tang;
    const QDir dir(testdata::poetryDir() + QStringLiteral("/quantangshi"));
    for (const QString& f : dir.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files)) {
        for (const QJsonValue& v : QJsonDocument::fromJson(readFile(dir.filePath(f))).array()) {
            QString text;
            for (const QJsonValue& para : v[QStringLiteral("paragraphs")].toArray())
                text += para.toString();
            tang.append(text.replace(u'\n', u' '));
        }
    }
    opencc_t cc = opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP);
    const QByteArray joined = tang.join(u'\n').toUtf8();
    char* converted = opencc_convert_utf8(cc, joined.constData(), size_t(joined.size()));
    tang = QString::fromUtf8(converted).split(u'\n');
    opencc_convert_utf8_free(converted);
    opencc_close(cc);
    const Lexicon& lex = data.lexicon;
    std::map<int, Named> forms; // by number of characters
    for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
        const int n = int(Pattern::parse(v.templateText).cells.size());
        if (!forms.count(n))
            forms[n] =
                Named{v.label.left(2), v.templateText, patternKey(v), Standard::PingShui, {}};
    }
    for (const QString& text : tang) {
        const QList<TextChar> chars = poemChars(text);
        auto it = forms.find(int(chars.size()));
        if (it == forms.end())
            continue;
        const Pattern p = Pattern::parse(it->second.templateText);
        // Lines as the punctuation gives them, all of the form's length, on a level rhyme.
        QString lines = text;
        for (QChar stop : {u'。', u'？', u'！', u'；'})
            lines.replace(stop, u'，');
        const QStringList parts = lines.split(u'，', Qt::SkipEmptyParts);
        if (parts.size() != p.lineCount() ||
            std::any_of(parts.cbegin(), parts.cend(),
                        [&](const QString& l) { return poemChars(l).size() != p.lineLength(0); }))
            continue;
        bool level = true;
        for (int l = 1; l < p.lineCount(); l += 2)
            level = level && toneOf(lex.find(chars[p.lineStarts[l + 1] - 1].ch),
                                    Standard::PingShui) != Tone::Oblique;
        if (level && fits(text, p))
            it->second.poems.append(text);
    }
    for (auto& [n, named] : forms)
        out.append(named);
    return out;
}

TEST(CheckerFigures, RealPoemsKeepTheirPatternsAndDamageIsCaught) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const Checker checker(data.lexicon, data.precedent);
    Tally songAll, tangAll;
    QList<std::pair<double, QString>> perTune;
    qint64 damaged = 0, caught = 0, flagsUntouchedBefore = 0, flagsUntouchedAfter = 0;
    for (const Named& n : corpus()) {
        const Pattern p = Pattern::parse(n.templateText);
        Tally t;
        for (const QString& text : n.poems) {
            const Result r = checker.check({.templateText = n.templateText,
                                            .text = text,
                                            .standard = n.standard,
                                            .patternKey = n.key});
            ++t.poems;
            t.kept += r.keeps();
            t.positions += r.marks.size();
            t.clashes += r.count(Status::Clash);
            // The same poem with one fixed position (of the form it was checked against)
            // given a character of the other, certain tone: a different one in each poem.
            QString tpl = n.templateText;
            for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
                if (v.label == r.form)
                    tpl = v.templateText;
            }
            const Pattern used = Pattern::parse(tpl);
            // In verse the first line decides between the openings (平收 or 仄收), so a change
            // there can make the poem another opening rather than a faulty one: it is left be.
            QList<int> fixed;
            for (int i = 0; i < used.cells.size(); ++i) {
                if (used.cells[i].mark != catalogue::ToneMark::Either &&
                    !(n.standard == Standard::PingShui && used.cells[i].line == 0))
                    fixed.append(i);
            }
            if (fixed.isEmpty())
                continue;
            const int at = fixed[t.poems % fixed.size()];
            const catalogue::ToneMark m = used.cells[at].mark;
            const bool level =
                m == catalogue::ToneMark::Level || m == catalogue::ToneMark::LevelRhyme;
            const TextChar c = poemChars(text)[at];
            QString broken = text;
            broken.replace(c.offset, c.length, level ? u'月' : u'花'); // 入声 / 平声, both certain
            const Result d = checker.check(
                {.templateText = tpl, .text = broken, .standard = n.standard, .patternKey = n.key});
            // A change that makes or unmakes a rescue (拗救) the Tang poets allowed is no
            // damage the checker should flag: such poems are left out.
            auto rescued = [](const Result& x) {
                return std::any_of(x.findings.cbegin(), x.findings.cend(),
                                   [](const Finding& f) { return f.kind == Finding::Note; });
            };
            if (rescued(r) || rescued(d))
                continue;
            for (qsizetype i = 0; i < d.marks.size() && i < r.marks.size(); ++i) {
                if (d.marks[i].slot == at) {
                    ++damaged;
                    caught += d.marks[i].status == Status::Clash;
                } else {
                    flagsUntouchedBefore += r.marks[i].status == Status::Clash;
                    flagsUntouchedAfter += d.marks[i].status == Status::Clash;
                }
            }
        }
        Tally& all = n.standard == Standard::CiYun ? songAll : tangAll;
        all.positions += t.positions;
        all.clashes += t.clashes;
        all.poems += t.poems;
        all.kept += t.kept;
        if (t.poems > 0)
            perTune.append({t.share(), QStringLiteral("%1 (%2 poems)").arg(n.name).arg(t.poems)});
    }
    std::sort(perTune.begin(), perTune.end(), std::greater<>());
    std::printf("Song ci: %d poems, %lld positions, %.2f%% clashes, %.1f%% keep the pattern\n",
                songAll.poems, songAll.positions, 100 * songAll.share(),
                100.0 * songAll.kept / std::max(1, songAll.poems));
    std::printf("Tang verse: %d poems, %lld positions, %.2f%% clashes, %.1f%% keep the pattern\n",
                tangAll.poems, tangAll.positions, 100 * tangAll.share(),
                100.0 * tangAll.kept / std::max(1, tangAll.poems));
    std::printf("worst ten:\n");
    for (qsizetype i = 0; i < std::min<qsizetype>(10, perTune.size()); ++i)
        std::printf("  %.2f%%  %s\n", 100 * perTune[i].first, qPrintable(perTune[i].second));
    std::printf("damaged: %lld positions, %lld caught (%.2f%%); clashes at untouched positions "
                "%lld before, %lld after\n",
                damaged, caught, damaged ? 100.0 * double(caught) / double(damaged) : 0.0,
                flagsUntouchedBefore, flagsUntouchedAfter);
    EXPECT_GT(songAll.poems, 5000);
    EXPECT_GT(tangAll.poems, 5000);
    EXPECT_LT(songAll.share(), 0.05);
    EXPECT_LT(tangAll.share(), 0.05);
    EXPECT_GE(double(caught), 0.99 * double(damaged));
    EXPECT_LE(flagsUntouchedAfter, flagsUntouchedBefore);
}

TEST(CheckerFigures, AClashCarriesTheSongPoetsPractice) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const auto named = namedPattern(QStringLiteral("蝶恋花"));
    ASSERT_TRUE(named);
    const Pattern p = Pattern::parse(named->templateText);
    // The first poem of the tune that keeps the pattern, with its fifth character (○)
    // given an entering tone.
    for (const TunePoem& poem : data.poems().poems(named->key)) {
        QString text = poem.paragraphs.join(QString());
        const Checker checker(data.lexicon, data.precedent);
        const Request req{named->templateText, text, Standard::CiYun, named->key};
        if (!fits(text, p) || !checker.check(req).keeps())
            continue;
        ASSERT_EQ(p.cells[4].mark, catalogue::ToneMark::Level);
        text[poemChars(text)[4].offset] = u'月';
        const Result r = checker.check({named->templateText, text, Standard::CiYun, named->key});
        const auto clash = std::find_if(r.findings.cbegin(), r.findings.cend(),
                                        [](const Finding& f) { return f.kind == Finding::Clash; });
        ASSERT_NE(clash, r.findings.cend());
        EXPECT_EQ(clash->message, QStringLiteral("「月」入声，此处应平"));
        EXPECT_TRUE(clash->precedent.startsWith(QStringLiteral("此处宋人")));
        EXPECT_TRUE(clash->precedent.endsWith(QStringLiteral("首用仄")));
        EXPECT_FALSE(clash->examples.isEmpty());
        EXPECT_LE(clash->examples.size(), 3);
        return;
    }
    FAIL() << "no 蝶恋花 in the dataset keeps the pattern";
}

} // namespace
