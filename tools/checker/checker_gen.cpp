// checker-gen: builds the checker's data tree from the rhyme books and the poetry dataset:
// the tone lexicon, each tune's positional precedent and the tune's poems.
//
//   checker-gen SOURCE_DIR NPM_DIR OUT_DIR
//
// Without the dataset the lexicon holds the rhyme books alone and the other two files are
// empty. The output depends only on its inputs (sorted, no hash order), so running it
// again gives the same bytes.

#include "checker/core/checker.h"
#include "common/codegen.h"
#include "rhyme/core/rhyme_book.h"
#include "support/dataset.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>
#include <algorithm>
#include <bit>
#include <cstdio>
#include <map>
#include <opencc/opencc.h>
#include <set>

using namespace checker;

namespace {

// A book character that the strains mark with the other class at least this often (of at
// least kMinSeen observations) is given both readings: the book lacks one of them.
constexpr int kMinSeen = 20;
constexpr double kOtherShare = 0.15;
// A character the book does not list takes its class from the strains only when they are
// this unanimous over at least kStrainsOnlySeen observations.
constexpr int kStrainsOnlySeen = 10;
constexpr double kStrainsOnlyShare = 0.95;

char32_t single(const QString& s) {
    const QList<uint> u = s.toUcs4();
    return u.size() == 1 ? u.first() : 0;
}

std::map<char32_t, CharInfo> bookLexicon() {
    std::map<char32_t, CharInfo> lex;
    const auto& ci = rhyme::groups(RhymeSystem::CiYun);
    for (int e = 0; e < ci.size(); ++e) {
        const unsigned char tone = ci[e].tone == RhymeTone::Level     ? kLevel
                                   : ci[e].tone == RhymeTone::Oblique ? kRisingDeparting
                                                                      : kEntering;
        for (const RhymeItem& item : rhyme::items(ci[e].characters)) {
            const char32_t c = single(item.character);
            if (!c)
                continue;
            QString sense;
            if (item.mark.startsWith(u'['))
                sense = item.mark.mid(1, item.mark.size() - 2);
            QString heading = item.heading;
            heading.remove(QStringLiteral("(半)"));
            CharInfo& info = lex[c];
            info.classical |= tone;
            info.sources |= kSourceBook;
            info.readings.append({.tone = tone, .sense = sense, .pingshui = heading, .ciEntry = e});
        }
    }
    for (RhymeSystem sys : {RhymeSystem::XinYun, RhymeSystem::XianDai}) {
        const auto& groups = rhyme::groups(sys);
        for (int e = 0; e < groups.size(); ++e) {
            for (const RhymeItem& item : rhyme::items(groups[e].characters)) {
                const char32_t c = single(item.character);
                if (!c)
                    continue;
                CharInfo& info = lex[c];
                info.modern |= groups[e].tone == RhymeTone::Level ? kModernLevel : kModernOblique;
                QList<int>& ks = sys == RhymeSystem::XinYun ? info.xinyun : info.xiandai;
                if (!ks.contains(e / 2))
                    ks.append(e / 2);
            }
        }
    }
    return lex;
}

// One reading of a character in a public table (data/checker).
struct TableReading {
    unsigned char tone = 0; // one ClassicalTone bit: kLevel, kRisingDeparting or kEntering
    QString rhyme;          // the 平水韵 rhyme, "七麌"; empty where the table gives none
    int part = 0;           // the 词林正韵 part (1 to 19); 0 where the table gives none
};
using Table = std::map<char32_t, QList<TableReading>>;

unsigned char toneBit(QStringView t) {
    if (t == u"平")
        return kLevel;
    if (t == u"入")
        return kEntering;
    return t == u"上" || t == u"去" || t == u"仄" ? kRisingDeparting : 0;
}

// The table files' lines without comments, split at tabs.
QList<QStringList> tableRows(const QString& path) {
    QList<QStringList> rows;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    for (const QString& ln : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (!ln.isEmpty() && !ln.startsWith(u'#'))
            rows.append(ln.split(u'\t'));
    }
    return rows;
}

void addReading(Table& t, char32_t c, const TableReading& r) {
    QList<TableReading>& list = t[c];
    if (std::none_of(list.cbegin(), list.cend(), [&](const TableReading& o) {
            return o.tone == r.tone && o.rhyme == r.rhyme && o.part == r.part;
        }))
        list.append(r);
}

// pingshui-charlesix59.txt: tone, rhyme, characters.
Table pingshuiTable(const QString& path) {
    Table t;
    for (const QStringList& row : tableRows(path)) {
        if (row.size() == 3 && toneBit(row[0])) {
            for (char32_t c : row[2].toUcs4())
                addReading(t, c, {.tone = toneBit(row[0]), .rhyme = row[1], .part = 0});
        }
    }
    return t;
}

// cilin-charlesix59.txt: part, tone, characters.
Table cilinTable(const QString& path) {
    Table t;
    for (const QStringList& row : tableRows(path)) {
        if (row.size() == 3 && toneBit(row[1])) {
            for (char32_t c : row[2].toUcs4())
                addReading(t, c, {.tone = toneBit(row[1]), .rhyme = {}, .part = row[0].toInt()});
        }
    }
    return t;
}

// pingshui-couyun.txt: character, tone, rhyme, part.
Table excerptTable(const QString& path) {
    Table t;
    for (const QStringList& row : tableRows(path)) {
        const char32_t c = row.size() == 4 ? single(row[0]) : 0;
        if (c && toneBit(row[1]))
            addReading(t, c, {.tone = toneBit(row[1]), .rhyme = row[2], .part = row[3].toInt()});
    }
    return t;
}

// The 词韵简编 entry of a 词林正韵 part in one tone, -1 where the part has no such entry:
// parts one to fourteen hold a 平声 and a 仄声 entry each, fifteen to nineteen 入声 only.
int entryOfPart(int part, unsigned char tone) {
    if (part >= 1 && part <= 14 && tone != kEntering)
        return (part - 1) * 2 + (tone == kLevel ? 0 : 1);
    return part >= 15 && part <= 19 && tone == kEntering ? 28 + part - 15 : -1;
}

// The 词韵简编 entries each 平水韵 rhyme heading stands under ("十灰" under two).
QHash<QString, QList<int>> headingEntries() {
    QHash<QString, QList<int>> out;
    const auto& ci = rhyme::groups(RhymeSystem::CiYun);
    for (int e = 0; e < ci.size(); ++e) {
        for (const RhymeItem& item : rhyme::items(ci[e].characters)) {
            QString heading = item.heading;
            heading.remove(QStringLiteral("(半)"));
            QList<int>& entries = out[heading];
            if (!entries.contains(e))
                entries.append(e);
        }
    }
    return out;
}

// The three public tables, each an independent source.
struct Tables {
    Table pingshui; // 平水韵 (P)
    Table cilin;    // 词林正韵 (C)
    Table excerpt;  // rows of a second 平水韵 table (Y)
    QHash<QString, QList<int>> entriesOfHeading;
};

// The tone the lexicon gave before the public tables were used, kept to report what they
// changed: the book's, with the other class where the strains mark it at least kOtherShare
// of at least kMinSeen times; for a character the book lacks, the strains' class when at
// least kStrainsOnlyShare of at least kStrainsOnlySeen marks agree, both when each class
// has kOtherShare.
unsigned char toneBefore(unsigned char book, const testdata::ToneCount& n) {
    const int seen = n.seen();
    if (book) {
        const bool level = book & kLevel;
        if (level == bool(book & kObliqueMask) || seen < kMinSeen)
            return book;
        const int other = level ? n.oblique : n.level;
        return double(other) / seen >= kOtherShare ? book | (level ? kObliqueOnly : kLevel) : book;
    }
    if (seen < kStrainsOnlySeen)
        return 0;
    if (double(n.level) / seen >= kStrainsOnlyShare)
        return kLevel;
    if (double(n.oblique) / seen >= kStrainsOnlyShare)
        return kObliqueOnly;
    return std::min(n.level, n.oblique) >= seen * kOtherShare ? kLevel | kObliqueOnly : 0;
}

// Gives each character the tones two independent sources agree on (the book counts as
// one, and alone suffices), with the readings whose 词韵 entry two sources agree on.
void addTables(std::map<char32_t, CharInfo>& lex, const Tables& t) {
    std::set<char32_t> chars;
    for (const Table* table : {&t.pingshui, &t.cilin, &t.excerpt}) {
        for (const auto& entry : *table)
            chars.insert(entry.first);
    }
    const QList<TableReading> none;
    auto of = [&none](const Table& table, char32_t c) -> const QList<TableReading>& {
        auto it = table.find(c);
        return it == table.end() ? none : it->second;
    };
    for (char32_t c : chars) {
        const QList<TableReading>& p = of(t.pingshui, c);
        const QList<TableReading>& ci = of(t.cilin, c);
        const QList<TableReading>& y = of(t.excerpt, c);
        CharInfo& info = lex[c];
        info.sources |= (p.isEmpty() ? 0 : kSourcePingshui) | (ci.isEmpty() ? 0 : kSourceCilin) |
                        (y.isEmpty() ? 0 : kSourceExcerpt);
        const unsigned char book = info.classical;
        for (unsigned char tone : {kLevel, kRisingDeparting, kEntering}) {
            auto has = [tone](const QList<TableReading>& list) {
                return std::any_of(list.cbegin(), list.cend(),
                                   [tone](const TableReading& r) { return r.tone == tone; });
            };
            const int votes = int(has(p)) + int(has(ci)) + int(has(y)) + int(bool(book & tone));
            if (votes < 2)
                continue;
            info.classical |= tone;
            // The 词韵 entries and 平水韵 rhymes of this tone, each with the sources naming
            // it: a part names its entry, a rhyme the entries its heading stands under.
            std::map<int, unsigned char> entryVotes;
            std::map<int, unsigned char> partVotes; // the entry votes that come from parts
            std::map<QString, unsigned char> rhymeVotes;
            auto vote = [&](const QList<TableReading>& list, unsigned char source) {
                for (const TableReading& r : list) {
                    if (r.tone != tone)
                        continue;
                    if (r.part) {
                        entryVotes[entryOfPart(r.part, tone)] |= source;
                        partVotes[entryOfPart(r.part, tone)] |= source;
                    }
                    if (!r.rhyme.isEmpty()) {
                        rhymeVotes[r.rhyme] |= source;
                        for (int e : t.entriesOfHeading.value(r.rhyme))
                            entryVotes[e] |= source;
                    }
                }
            };
            vote(p, kSourcePingshui);
            vote(ci, kSourceCilin);
            vote(y, kSourceExcerpt);
            auto agreed = [](unsigned char sources) { return std::popcount(sources) >= 2; };
            for (const auto& [entry, sources] : entryVotes) {
                if (entry < 0 || !agreed(sources))
                    continue;
                if (std::any_of(info.readings.cbegin(), info.readings.cend(),
                                [&](const Reading& r) { return r.ciEntry == entry; }))
                    continue; // the book has this reading already
                // The rhyme of this entry two sources name, else one that another source's
                // part confirms.
                QString rhyme, confirmed;
                for (const auto& [name, rs] : rhymeVotes) {
                    if (!t.entriesOfHeading.value(name).contains(entry))
                        continue;
                    if (agreed(rs) && rhyme.isEmpty())
                        rhyme = name;
                    if (agreed(rs | partVotes[entry]) && confirmed.isEmpty())
                        confirmed = name;
                }
                if (rhyme.isEmpty())
                    rhyme = confirmed;
                info.readings.append(
                    {.tone = tone, .sense = {}, .pingshui = rhyme, .ciEntry = entry});
            }
        }
        if (info.classical == book && !book)
            info.uncertain = true; // listed, but no two sources agree
    }
}

// Adds the strains' counts. A book or table tone stands; the strains can only add the other
// class where the poets used it often (giving both readings) and no public table denies it
// (a table lists that class, or none lists the character); a character no two sources
// settle takes both readings, uncertain, whatever the strains lean to.
void addStrains(std::map<char32_t, CharInfo>& lex, const Tables& t) {
    const auto& counts = testdata::classicalToneCounts();
    QList<QString> keys = counts.keys();
    std::sort(keys.begin(), keys.end());
    for (const QString& k : keys) {
        const char32_t c = single(k);
        if (!c || QChar::script(c) != QChar::Script_Han)
            continue; // punctuation and □, which the strains align with marks as well
        const testdata::ToneCount n = counts[k];
        CharInfo& info = lex[c];
        info.strainsLevel = n.level;
        info.strainsOblique = n.oblique;
        const int seen = n.seen();
        if (seen >= kStrainsOnlySeen)
            info.sources |= kSourceStrains;
        if (info.classical && !info.uncertain) {
            const bool level = info.classical & kLevel;
            const bool oblique = info.classical & kObliqueMask;
            if (level == oblique || seen < kMinSeen)
                continue;
            const int other = level ? n.oblique : n.level;
            bool denied = info.sources & (kSourcePingshui | kSourceCilin | kSourceExcerpt);
            for (const Table* table : {&t.pingshui, &t.cilin, &t.excerpt}) {
                auto it = table->find(c);
                if (it != table->end() && std::any_of(it->second.cbegin(), it->second.cend(),
                                                      [level](const TableReading& r) {
                                                          return (r.tone == kLevel) != level;
                                                      }))
                    denied = false;
            }
            if (!denied && double(other) / seen >= kOtherShare) {
                info.classical |= level ? kObliqueOnly : kLevel;
                info.fromStrains = true;
            }
        } else if (seen >= kStrainsOnlySeen) {
            info.uncertain = true;
            info.fromStrains = true;
        }
    }
    for (auto& [c, info] : lex) {
        if (info.uncertain)
            info.classical = kLevel | kObliqueOnly;
    }
}

// Counts, for each character, its places in the tunes' poems where the pattern asks 平 and
// where it asks 仄 (poems of the pattern's length without a missing character; ◎ places
// left out). Poets break a pattern now and then; over 全宋词 the counts still show how a
// character is used, a polyphone's readings included.
template <typename Poems, typename Names>
void addCiUses(std::map<char32_t, CharInfo>& lex, const Poems& songci, const Names& tuneNames) {
    for (catalogue::PatternList list : catalogue::kPatternLists) {
        for (const catalogue::CiPattern& pat : catalogue::patterns(list)) {
            const QStringList names = tuneNames.value(patternKey(pat), {pat.name});
            const Pattern p = Pattern::parse(pat.templateText);
            for (const auto& poem : songci) {
                const QStringList parts = poem.title.split(u'・');
                if (std::none_of(parts.cbegin(), parts.cend(),
                                 [&](const QString& n) { return names.contains(n); }))
                    continue;
                const QList<TextChar> chars = poemChars(poem.paragraphs.join(QString()));
                if (chars.size() != p.cells.size() ||
                    std::any_of(chars.cbegin(), chars.cend(),
                                [](const TextChar& c) { return c.ch == U'□'; }))
                    continue;
                for (qsizetype i = 0; i < chars.size(); ++i) {
                    const catalogue::ToneMark m = p.cells[i].mark;
                    if (m == catalogue::ToneMark::Either)
                        continue;
                    auto it = lex.find(chars[i].ch);
                    if (it == lex.end())
                        continue;
                    const bool level =
                        m == catalogue::ToneMark::Level || m == catalogue::ToneMark::LevelRhyme;
                    ++(level ? it->second.ciLevel : it->second.ciOblique);
                }
            }
        }
    }
}

QJsonArray readArray(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).array();
}

QStringList sortedFiles(const QString& dir, const QString& pattern) {
    QStringList names = QDir(dir).entryList({pattern}, QDir::Files);
    std::sort(names.begin(), names.end());
    for (QString& n : names)
        n = dir + u'/' + n;
    return names;
}

struct Poem {
    QString poet;
    QString title;
    QStringList paragraphs;
    QString firstLine() const {
        return TunePoem{.poet = poet, .title = title, .paragraphs = paragraphs}.firstLine();
    }
};

// Converts many strings from traditional to simplified characters in one call.
QStringList toSimplified(const QStringList& in) {
    opencc_t cc = opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP);
    if (cc == reinterpret_cast<opencc_t>(-1))
        return in;
    const QByteArray joined = in.join(u'\n').toUtf8();
    char* converted = opencc_convert_utf8(cc, joined.constData(), size_t(joined.size()));
    QStringList out = QString::fromUtf8(converted).split(u'\n');
    opencc_convert_utf8_free(converted);
    opencc_close(cc);
    return out.size() == in.size() ? out : in;
}

enum class Class { Level, Oblique, Other };

Class classOf(const Lexicon& lex, char32_t c) {
    const Tone t = toneOf(lex.find(c), Standard::CiYun);
    return t == Tone::Level ? Class::Level : t == Tone::Oblique ? Class::Oblique : Class::Other;
}

// The lengths of a text's clauses (split at ，。 and the like), for matching a poem to a form.
QList<int> clauseLengths(const QString& text) {
    QList<int> out;
    int n = 0;
    for (const QChar c : text) {
        if (QStringLiteral("，。！？；：,.!?;:").contains(c)) {
            if (n)
                out.append(n);
            n = 0;
        } else if (c.isLetterOrNumber() || c == u'□') {
            ++n;
        }
    }
    if (n)
        out.append(n);
    return out;
}

QList<int> lineLengths(const Pattern& p) {
    QList<int> out;
    for (int l = 0; l < p.lineCount(); ++l)
        out.append(p.lineLength(l));
    return out;
}

// How often the parts of 词韵 meet in one rhyme group of the Song poems.
constexpr int kMixPoems = 10;
constexpr double kMixShare = 0.03;
constexpr int kCharMixUses = 5; // times a character is rhymed in a part not its own
struct Mixing {
    std::map<int, int> groups;                       // by majority part
    std::map<int, std::map<int, int>> together;      // majority part → other part → groups
    std::map<char32_t, std::map<int, int>> charUses; // character → part it is rhymed in → times
    // Whether the two parts are rhymed together often enough to be listed, either way round.
    bool listed(int major, int minor) const {
        auto often = [this](int a, int b) {
            auto it = together.find(a);
            if (it == together.end())
                return false;
            auto n = it->second.find(b);
            if (n == it->second.end())
                return false;
            const int groupsOfA = groups.count(a) ? groups.at(a) : 0;
            return n->second >= kMixPoems && n->second >= kMixShare * groupsOfA;
        };
        return often(major, minor) || often(minor, major);
    }
};

int partOf(int entry) {
    return entry < 28 ? entry / 2 + 1 : entry - 28 + 15;
}

// Counts each position over the poems that fit the template, famous poets first; with
// `sameClauses` only the poems whose clauses have the template's lengths.
// The 词韵 parts of a character's readings in one tone class.
QList<int> partsOf(const CharInfo* info, bool level) {
    QList<int> out;
    if (!info)
        return out;
    for (const Reading& r : info->readings) {
        if (bool(r.tone & kLevel) == level && r.ciEntry >= 0 && !out.contains(partOf(r.ciEntry)))
            out.append(partOf(r.ciEntry));
    }
    return out;
}

// With `mixing`, each rhyme position also counts the poems whose character there rhymes
// with neither its group's main part nor a part the poets rhyme with it: a rhyme the form
// marks that many poets leave out.
QString precedentBlock(const QString& key, const QString& era, const QString& templateText,
                       const QList<const Poem*>& poems, const Lexicon& lex,
                       const QString& plan = {}, const Mixing* mixing = nullptr,
                       bool sameClauses = false) {
    const Pattern p = Pattern::parse(templateText, plan);
    const int n = int(p.cells.size());
    const QList<int> lines = lineLengths(p);
    QList<PositionCount> pos(n);
    QList<int> unrhymed(n, 0);
    int used = 0;
    QList<const Poem*> fitting;
    for (const Poem* poem : poems) {
        const QString text = poem->paragraphs.join(QString());
        if (sameClauses && clauseLengths(text) != lines)
            continue;
        fitting.append(poem);
    }
    for (const Poem* poem : fitting) {
        const QList<TextChar> chars = poemChars(poem->paragraphs.join(QString()));
        if (chars.size() != n)
            continue;
        if (std::any_of(chars.cbegin(), chars.cend(),
                        [](const TextChar& c) { return c.ch == U'□'; }))
            continue;
        ++used;
        for (int i = 0; i < n; ++i) {
            const Class c = classOf(lex, chars[i].ch);
            PositionCount& pc = pos[i];
            (c == Class::Level ? pc.level : c == Class::Oblique ? pc.oblique : pc.unknown) += 1;
        }
        if (!mixing)
            continue;
        // Each rhyme group's main part: the part most of its rhymes can be read in.
        std::map<int, std::map<int, int>> votes; // group → part → rhymes
        for (int i = 0; i < n; ++i) {
            if (p.cells[i].segment < 0)
                continue;
            const bool level = p.cells[i].mark == catalogue::ToneMark::LevelRhyme;
            for (int part : partsOf(lex.find(chars[i].ch), level))
                votes[p.cells[i].segment][part] += 1;
        }
        for (int i = 0; i < n; ++i) {
            if (p.cells[i].segment < 0)
                continue;
            int major = -1, most = 0;
            for (const auto& [part, count] : votes[p.cells[i].segment]) {
                if (count > most)
                    major = part, most = count;
            }
            const bool level = p.cells[i].mark == catalogue::ToneMark::LevelRhyme;
            const QList<int> parts = partsOf(lex.find(chars[i].ch), level);
            if (major < 0 || parts.isEmpty())
                continue; // nothing to judge by
            if (std::none_of(parts.cbegin(), parts.cend(), [&](int part) {
                    return part == major || mixing->listed(major, part);
                }))
                ++unrhymed[i];
        }
    }
    // The minority examples: the tone the template does not ask for (the rarer one at ◎).
    QList<Class> minority(n);
    for (int i = 0; i < n; ++i) {
        const catalogue::ToneMark m = p.cells[i].mark;
        if (m == catalogue::ToneMark::Either)
            minority[i] = pos[i].level < pos[i].oblique ? Class::Level : Class::Oblique;
        else
            minority[i] = (m == catalogue::ToneMark::Level || m == catalogue::ToneMark::LevelRhyme)
                              ? Class::Oblique
                              : Class::Level;
    }
    for (const Poem* poem : fitting) {
        const QList<TextChar> chars = poemChars(poem->paragraphs.join(QString()));
        if (chars.size() != n)
            continue;
        const QString label = poem->poet + QStringLiteral("《") + poem->firstLine() + u'》';
        for (int i = 0; i < n; ++i) {
            if (pos[i].minority.size() < 3 && classOf(lex, chars[i].ch) == minority[i] &&
                !pos[i].minority.contains(label))
                pos[i].minority.append(label);
        }
    }
    QString out = u'@' + key + u'\t' + era + u'\t' + QString::number(used) + u'\n';
    if (used == 0)
        return out;
    for (int i = 0; i < n; ++i) {
        const PositionCount& pc = pos[i];
        // "unknown:unrhymed" where some poems leave a marked rhyme unrhymed.
        QStringList f{QString::number(pc.level), QString::number(pc.oblique),
                      QString::number(pc.unknown) +
                          (unrhymed[i] ? u':' + QString::number(unrhymed[i]) : QString())};
        f.append(pc.minority);
        out += f.join(u'\t') + u'\n';
    }
    return out;
}

// One form of a pattern book extract (data/catalogue/patternbooks/*.tsv).
struct BookForm {
    QString tune;
    int number;
    QString author;
    int characters;
    QString pattern;
    QString plan; // from the book's own rhyme groups, where it has them
};

QList<BookForm> readBook(const QString& path) {
    QList<BookForm> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QString& ln : QString::fromUtf8(f.readAll()).split(u'\n')) {
        const QStringList c = ln.split(u'\t');
        if (ln.startsWith(u'#') || c.size() < 6)
            continue;
        out.append({c[0], c[2].toInt(), c[3], c[4].toInt(), c[5], {}});
    }
    return out;
}

// The rhymes' tones in order, "PPZZ": forms with the same sequence rhyme alike.
QString rhymeTones(const Pattern& p) {
    QString out;
    for (const Slot& s : p.cells) {
        if (s.mark == catalogue::ToneMark::LevelRhyme)
            out += u'P';
        else if (s.mark == catalogue::ToneMark::ObliqueRhyme)
            out += u'Z';
    }
    return out;
}

// The rhyme plan of a form: the book's own where it has one for as many rhymes, else the
// plan of a 唐宋词格律 form of the tune whose rhymes run on the same tones (the one of the
// same length first), else the plan the template's notes and tone changes give.
QString planFor(const Pattern& p, int characters, const QList<const BookForm*>& planned) {
    const QString tones = rhymeTones(p);
    const BookForm* match = nullptr;
    for (const BookForm* b : planned) {
        if (rhymeTones(Pattern::parse(b->pattern)) != tones)
            continue;
        if (!match || (b->characters == characters && match->characters != characters))
            match = b;
    }
    return match ? match->plan : p.plan();
}

// Counts, over the poems that fit the form mark for mark, each rhyme group's parts: the
// part most of its rhymes share, and the others found beside it (characters of one part
// only, so that a second reading does not blur the count).
void countMixing(const Pattern& p, const QList<const Poem*>& poems, const Lexicon& lex,
                 Mixing& mixing) {
    for (const Poem* poem : poems) {
        const QList<TextChar> chars = poemChars(poem->paragraphs.join(QString()));
        if (chars.size() != p.cells.size())
            continue;
        std::map<int, std::map<int, int>> parts; // group → part → rhymes
        for (int i = 0; i < p.cells.size(); ++i) {
            if (p.cells[i].segment < 0)
                continue;
            const CharInfo* info = lex.find(chars[i].ch);
            if (!info)
                continue;
            const bool level = p.cells[i].mark == catalogue::ToneMark::LevelRhyme;
            int part = -1;
            bool single = true;
            for (const Reading& r : info->readings) {
                if (bool(r.tone & kLevel) != level || r.ciEntry < 0)
                    continue;
                if (part >= 0 && part != partOf(r.ciEntry))
                    single = false;
                part = partOf(r.ciEntry);
            }
            if (part >= 0 && single)
                parts[p.cells[i].segment][part] += 1;
        }
        std::map<int, int> majorOf; // group → its main part, where one part has most rhymes
        for (const auto& [group, counts] : parts) {
            int major = -1, most = 0, all = 0;
            for (const auto& [part, n] : counts) {
                all += n;
                if (n > most)
                    major = part, most = n;
            }
            if (all < 3 || 2 * most <= all)
                continue;
            majorOf[group] = major;
            mixing.groups[major] += 1;
            for (const auto& [part, n] : counts) {
                if (part != major)
                    mixing.together[major][part] += 1;
            }
        }
        // The characters rhymed in a group of a part no reading of theirs is in.
        for (int i = 0; i < p.cells.size(); ++i) {
            const auto major = majorOf.find(p.cells[i].segment);
            if (p.cells[i].segment < 0 || major == majorOf.end())
                continue;
            const bool level = p.cells[i].mark == catalogue::ToneMark::LevelRhyme;
            if (!partsOf(lex.find(chars[i].ch), level).contains(major->second))
                mixing.charUses[chars[i].ch][major->second] += 1;
        }
    }
}

QString clean(QString s) {
    s.replace(u'\t', u' ');
    s.replace(u'\n', u' ');
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: checker-gen SOURCE_DIR NPM_DIR OUT_DIR\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString npm = QString::fromLocal8Bit(argv[2]);
    const QString out = QString::fromLocal8Bit(argv[3]);
    qputenv("LYREVANE_NPM_DIR", npm.toLocal8Bit());
    const QString dist = npm + QStringLiteral("/chinese-poetry/dist");
    const bool haveDataset = QFile::exists(dist + QStringLiteral("/songci/ci.song.0.json"));

    // 1. The lexicon.
    std::map<char32_t, CharInfo> lexMap = bookLexicon();
    const QString tableDir = source + QStringLiteral("/data/checker/");
    const Tables tables{.pingshui =
                            pingshuiTable(tableDir + QStringLiteral("pingshui-charlesix59.txt")),
                        .cilin = cilinTable(tableDir + QStringLiteral("cilin-charlesix59.txt")),
                        .excerpt = excerptTable(tableDir + QStringLiteral("pingshui-couyun.txt")),
                        .entriesOfHeading = headingEntries()};
    // What the book gave alone, to report what the tables and the strains changed.
    std::map<char32_t, unsigned char> bookTones;
    for (const auto& [c, info] : lexMap)
        bookTones[c] = info.classical;
    addTables(lexMap, tables);
    if (haveDataset)
        addStrains(lexMap, tables);
    QString lexText = QStringLiteral(
        "# char\tclassical (P 平, S 上去, R 入, Z 仄)\tmodern (P, Z)\treadings "
        "tone:平水韵:词韵 entry:sense\t新韵简观 groups\t现代诗韵 groups\tstrains 平/仄\tflags "
        "(s strains, u uncertain)\tsources (B book, P 平水韵, C 词林正韵, Y 平水韵 excerpt, S "
        "strains)\t全宋词 uses where the pattern asks 平/仄\n");
    for (const auto& [c, info] : lexMap)
        lexText += Lexicon::line(c, info) + u'\n';
    const Lexicon lex = Lexicon::fromText(lexText.toUtf8());

    // 2. The tunes' poems, famous poets (most poems in 全宋词) first.
    QList<Poem> songci;
    if (haveDataset) {
        for (const QString& file :
             sortedFiles(dist + QStringLiteral("/songci"), QStringLiteral("ci.song.*.json"))) {
            for (const QJsonValue& v : readArray(file)) {
                Poem p{.poet = clean(v[QStringLiteral("author")].toString()),
                       .title = clean(v[QStringLiteral("rhythmic")].toString()),
                       .paragraphs = {}};
                for (const QJsonValue& para : v[QStringLiteral("paragraphs")].toArray())
                    p.paragraphs.append(clean(para.toString()));
                songci.append(p);
            }
        }
    }
    // Fame by the number of poems in the collection; the anonymous ones come last.
    QHash<QString, int> poetCount;
    for (const Poem& p : songci)
        poetCount[p.poet] += p.poet == QStringLiteral("无名氏") ? 0 : 1;
    QList<const Poem*> byFame;
    for (const Poem& p : songci)
        byFame.append(&p);
    std::stable_sort(byFame.begin(), byFame.end(), [&](const Poem* a, const Poem* b) {
        const int ca = poetCount.value(a->poet), cb = poetCount.value(b->poet);
        return ca != cb ? ca > cb : a->poet < b->poet;
    });

    // tunes.tsv: list, row, name, the names the dataset files the tune under.
    QMap<QString, QStringList> tuneNames;
    {
        QFile f(source + QStringLiteral("/data/catalogue/examples/tunes.tsv"));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QString& ln : QString::fromUtf8(f.readAll()).split(u'\n')) {
                const QStringList cols = ln.split(u'\t');
                if (ln.startsWith(u'#') || cols.size() < 4)
                    continue;
                tuneNames[cols[0] + u'/' + cols[1]] = cols[3].split(u' ', Qt::SkipEmptyParts);
            }
        }
    }

    // The pattern books' forms, with the rhyme plans of 唐宋词格律.
    const QString books = source + QStringLiteral("/data/catalogue/patternbooks/");
    const QList<BookForm> qinding = readBook(books + QStringLiteral("qinding.tsv"));
    QList<BookForm> tangsong = readBook(books + QStringLiteral("tangsong.tsv"));
    {
        QFile f(books + QStringLiteral("tangsong-plans.tsv"));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QString& ln : QString::fromUtf8(f.readAll()).split(u'\n')) {
                const QStringList c = ln.split(u'\t');
                if (ln.startsWith(u'#') || c.size() < 3)
                    continue;
                for (BookForm& b : tangsong) {
                    if (b.tune == c[0] && b.number == c[1].toInt() &&
                        rhymeTones(Pattern::parse(b.pattern)).size() == c[2].size())
                        b.plan = c[2];
                }
            }
        }
    }

    QString poemsText;
    QString precedentText;
    QString formsText;
    Mixing mixing;
    // The precedent of each form, counted once the mixing of the parts is known.
    struct PrecedentJob {
        QString key, templateText, plan;
        QList<const Poem*> poems;
    };
    QList<PrecedentJob> precedentJobs;
    for (catalogue::PatternList list : catalogue::kPatternLists) {
        for (const catalogue::CiPattern& pat : catalogue::patterns(list)) {
            const QString key = patternKey(pat);
            const QStringList names = tuneNames.value(key, {pat.name});
            QList<const Poem*> poems;
            for (const Poem* p : byFame) {
                const QStringList parts = p->title.split(u'・');
                if (std::any_of(parts.cbegin(), parts.cend(),
                                [&](const QString& s) { return names.contains(s); }))
                    poems.append(p);
            }
            poemsText += u'@' + key + u'\n';
            for (const Poem* p : poems)
                poemsText += p->poet + u'\t' + p->title + u'\t' + p->paragraphs.join(u'\t') + u'\n';

            // The forms: the catalogue's template, then 钦定词谱's, then 唐宋词格律's; a form
            // whose template is one already listed is left out.
            QList<const BookForm*> planned;
            for (const BookForm& b : tangsong) {
                if (b.tune == pat.name && !b.plan.isEmpty())
                    planned.append(&b);
            }
            const Pattern own = Pattern::parse(pat.templateText);
            const QString ownPlan = planFor(own, int(own.cells.size()), planned);
            formsText += u'@' + key + u'\n';
            formsText +=
                QStringLiteral("本谱\t") + pat.templateText + u'\t' + ownPlan + u'\t' + key + u'\n';
            countMixing(Pattern::parse(pat.templateText, ownPlan), poems, lex, mixing);
            precedentJobs.append({key, pat.templateText, ownPlan, poems});
            QStringList seen{pat.templateText};
            int index = 0;
            auto addForm = [&](const BookForm& b, const QString& label, const QString& plan) {
                if (seen.contains(b.pattern))
                    return;
                seen.append(b.pattern);
                const QString formKey = key + u'#' + QString::number(++index);
                formsText += label + u'\t' + b.pattern + u'\t' + plan + u'\t' + formKey + u'\n';
                precedentJobs.append({formKey, b.pattern, plan, poems});
            };
            const QString who = QStringLiteral("（%1体，%2字）");
            for (const BookForm& b : qinding) {
                if (b.tune != pat.name)
                    continue;
                const QString label = (b.number == 1 ? QStringLiteral("钦定词谱")
                                                     : QStringLiteral("钦定词谱·又一体")) +
                                      who.arg(b.author).arg(b.characters);
                const Pattern p = Pattern::parse(b.pattern);
                addForm(b, label, planFor(p, b.characters, planned));
            }
            for (const BookForm& b : tangsong) {
                if (b.tune != pat.name)
                    continue;
                const QString label =
                    QStringLiteral("唐宋词格律") + who.arg(b.author).arg(b.characters);
                addForm(b, label,
                        b.plan.isEmpty() ? planFor(Pattern::parse(b.pattern), b.characters, planned)
                                         : b.plan);
            }
        }
    }

    for (const PrecedentJob& job : precedentJobs)
        precedentText += precedentBlock(job.key, QStringLiteral("宋"), job.templateText, job.poems,
                                        lex, job.plan, &mixing);

    // The 词韵 parts the Song poets rhyme together: a part that stands beside another's
    // majority in at least kMixShare of that part's rhyme groups (and kMixPoems of them).
    formsText += QStringLiteral("@mix\n");
    for (const auto& [major, minors] : mixing.together) {
        const int groups = mixing.groups[major];
        for (const auto& [minor, n] : minors) {
            if (n >= kMixPoems && n >= kMixShare * groups)
                formsText +=
                    QStringLiteral("%1\t%2\t%3\t%4\n").arg(major).arg(minor).arg(n).arg(groups);
        }
    }

    // Characters the Song poets rhyme in a part the rhyme books do not put them in, often
    // enough to be their practice (做 among the rhymes of 第四部).
    formsText += QStringLiteral("@charmix\n");
    for (const auto& [ch, parts] : mixing.charUses) {
        for (const auto& [part, n] : parts) {
            if (n >= kCharMixUses)
                formsText +=
                    QString::fromUcs4(&ch, 1) + QStringLiteral("\t%1\t%2\n").arg(part).arg(n);
        }
    }

    // Traditional characters and their simplified forms, one by one, as OpenCC gives them.
    QString t2sText;
    {
        QStringList chars;
        for (char32_t c = 0x3400; c <= 0x9FFF; ++c)
            chars.append(QString::fromUcs4(&c, 1));
        for (char32_t c = 0xF900; c <= 0xFAFF; ++c)
            chars.append(QString::fromUcs4(&c, 1));
        const QStringList simple = toSimplified(chars);
        for (qsizetype i = 0; i < chars.size(); ++i) {
            if (simple[i] != chars[i] && simple[i].toUcs4().size() == 1)
                t2sText += chars[i] + u'\t' + simple[i] + u'\n';
        }
    }

    // 3. The verse forms from 全唐诗: poems of four or eight lines of five or seven
    // characters on a level rhyme, each counted under the opening it fits best.
    if (haveDataset) {
        QList<Poem> tang;
        QStringList toConvert;
        for (const QString& file : sortedFiles(dist + QStringLiteral("/quantangshi"),
                                               QStringLiteral("poet.tang.*.json"))) {
            for (const QJsonValue& v : readArray(file)) {
                const QJsonArray paras = v[QStringLiteral("paragraphs")].toArray();
                Poem p{.poet = clean(v[QStringLiteral("author")].toString()),
                       .title = {},
                       .paragraphs = {}};
                for (const QJsonValue& para : paras)
                    p.paragraphs.append(clean(para.toString()));
                const QString joined = p.paragraphs.join(QString());
                const qsizetype n = poemChars(joined).size();
                if (n != 20 && n != 28 && n != 40 && n != 56)
                    continue;
                tang.append(p);
                toConvert.append(p.poet);
                toConvert.append(p.paragraphs.join(u'\t'));
            }
        }
        const QStringList simple = toSimplified(toConvert);
        for (qsizetype i = 0; i < tang.size(); ++i) {
            tang[i].poet = simple[2 * i];
            tang[i].paragraphs = simple[2 * i + 1].split(u'\t');
        }
        QHash<QString, int> tangCount;
        for (const Poem& p : tang)
            tangCount[p.poet] += p.poet == QStringLiteral("无名氏") ? 0 : 1;
        const Precedent none;
        const Checker checker(lex, none);
        QMap<int, QList<const Poem*>> byRow;
        for (const Poem& p : tang) {
            const QString text = p.paragraphs.join(QString());
            const QList<TextChar> chars = poemChars(text);
            // Lines: clauses of equal length.
            const QStringList clauses = QString(text)
                                            .replace(u'。', u'，')
                                            .replace(u'？', u'，')
                                            .replace(u'！', u'，')
                                            .split(u'，', Qt::SkipEmptyParts);
            const int lines = chars.size() == 20 || chars.size() == 28 ? 4 : 8;
            const int len = int(chars.size()) / lines;
            if (clauses.size() != lines ||
                std::any_of(clauses.cbegin(), clauses.cend(),
                            [&](const QString& c) { return poemChars(c).size() != len; }))
                continue;
            bool levelRhyme = true;
            for (int l = 1; l < lines; l += 2) {
                if (classOf(lex, chars[(l + 1) * len - 1].ch) == Class::Oblique)
                    levelRhyme = false;
            }
            if (!levelRhyme)
                continue;
            const catalogue::VersePattern* first = nullptr;
            for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
                if (!first && Pattern::parse(v.templateText).cells.size() == chars.size())
                    first = &v;
            }
            if (!first)
                continue;
            const Result r = checker.check({.templateText = first->templateText,
                                            .text = text,
                                            .standard = Standard::PingShui,
                                            .patternKey = {}});
            for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
                if (v.label == r.form)
                    byRow[v.row].append(&p);
            }
        }
        for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
            QList<const Poem*> poems = byRow.value(v.row);
            std::stable_sort(poems.begin(), poems.end(), [&](const Poem* a, const Poem* b) {
                const int ca = tangCount.value(a->poet), cb = tangCount.value(b->poet);
                return ca != cb ? ca > cb : a->poet < b->poet;
            });
            precedentText +=
                precedentBlock(patternKey(v), QStringLiteral("唐"), v.templateText, poems, lex);
        }
    }

    // 4. Coverage over 全宋词: by occurrence and by distinct character, against what the book
    // and the strains gave before the public tables were used (the strains alone settling a
    // character the book lacks when 95% of at least ten marks agree).
    const auto& counts = testdata::classicalToneCounts();
    auto before = [&](char32_t c) -> unsigned char {
        const unsigned char book = bookTones.count(c) ? bookTones.at(c) : 0;
        return toneBefore(book, counts.value(QString::fromUcs4(&c, 1)));
    };
    auto settled = [](unsigned char bits) {
        return bool(bits & kLevel) != bool(bits & kObliqueMask);
    };
    qint64 all = 0, known = 0, knownBefore = 0, untoned = 0, untonedBefore = 0;
    std::map<char32_t, qint64> uses;
    for (const Poem& p : songci) {
        for (const TextChar& c : poemChars(p.paragraphs.join(QString()))) {
            if (c.ch == U'□')
                continue;
            ++all;
            ++uses[c.ch];
            const Tone t = toneOf(lex.find(c.ch), Standard::CiYun);
            known += t == Tone::Level || t == Tone::Oblique;
            knownBefore += settled(before(c.ch));
            untoned += t == Tone::Unknown;
            untonedBefore += before(c.ch) == 0;
        }
    }
    int distinctUntoned = 0, distinctUntonedBefore = 0;
    for (const auto& [c, n] : uses) {
        const CharInfo* info = lex.find(c);
        distinctUntoned += !info || !info->classical;
        distinctUntonedBefore += before(c) == 0;
    }
    int polyphones = 0, uncertain = 0, withTone = 0, fromTables = 0;
    QStringList corrected;
    for (const auto& [c, info] : lexMap) {
        polyphones += info.polyphone() && !info.uncertain;
        uncertain += info.uncertain;
        withTone += info.classical != 0;
        const bool book = info.sources & kSourceBook;
        fromTables += !book && info.classical && !info.uncertain;
        // Characters the strains alone had settled whose class is now another.
        const unsigned char old = before(c);
        if (!book && settled(old) &&
            (!settled(info.classical) || bool(old & kLevel) != bool(info.classical & kLevel)))
            corrected.append(QString::fromUcs4(&c, 1) + u' ' + (old & kLevel ? u'平' : u'仄') +
                             QStringLiteral("→") +
                             (info.uncertain ? QStringLiteral("未定") : toneNames(info.classical)));
    }
    auto percent = [](qint64 part, qint64 whole) {
        return whole ? QString::number(100.0 * double(part) / double(whole), 'f', 1)
                     : QStringLiteral("-");
    };
    QString stats;
    QTextStream s(&stats);
    s << "characters with a classical tone: " << withTone << '\n'
      << "of them settled by two public tables without the book: " << fromTables << '\n'
      << "uncertain (no two sources agree; both readings, the strains' share as the lean): "
      << uncertain << '\n'
      << "marked polyphones (both 平 and 仄): " << polyphones << '\n'
      << "全宋词 characters by occurrence: " << all << ", tone settled for " << known << " ("
      << percent(known, all) << "%), before the tables " << knownBefore << " ("
      << percent(knownBefore, all) << "%)\n"
      << "全宋词 distinct characters: " << uses.size() << ", without any tone " << distinctUntoned
      << " (" << untoned << " uses), before the tables " << distinctUntonedBefore << " ("
      << untonedBefore << " uses)\n"
      << "settled by the strains alone before, now another class or uncertain (" << corrected.size()
      << "):\n";
    for (qsizetype i = 0; i < corrected.size(); i += 10)
        s << "  " << corrected.mid(i, 10).join(QStringLiteral("  ")) << '\n';
    s.flush();

    // The lexicon as written: with the tunes' uses, which change no tone (the precedent
    // above was counted with the same tones).
    addCiUses(lexMap, songci, tuneNames);
    lexText = lexText.section(u'\n', 0, 0) + u'\n';
    for (const auto& [c, info] : lexMap)
        lexText += Lexicon::line(c, info) + u'\n';

    QDir().mkpath(out);
    const bool ok =
        // The tables a check looks into are not compressed: a check maps each file and
        // reads only the lines and blocks it needs.
        codegen::writeIfChanged(out + QStringLiteral("/lexicon.dat"), lexText.toUtf8()) &&
        codegen::writeIfChanged(out + QStringLiteral("/precedent.dat"),
                                Precedent::indexed(precedentText.toUtf8())) &&
        codegen::writeIfChanged(out + QStringLiteral("/forms.dat"), formsText.toUtf8()) &&
        codegen::writeIfChanged(out + QStringLiteral("/t2s.dat"), t2sText.toUtf8()) &&
        // Read whole, when a tune's poems are asked for.
        codegen::writeIfChanged(out + QStringLiteral("/poems.dat"),
                                qCompress(poemsText.toUtf8(), 9)) &&
        codegen::writeIfChanged(out + QStringLiteral("/coverage.txt"), stats.toUtf8());
    if (!ok) {
        std::fprintf(stderr, "checker-gen: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::fputs(stats.toUtf8().constData(), stdout);
    return 0;
}
