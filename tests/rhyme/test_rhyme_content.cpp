// Checks the characters of the three rhyme books against outside sources: the Mandarin
// readings of pinyin-pro for the two modern books, and the level/oblique marks of the
// poetry dataset's Tang poems for 词韵简编.

#include "rhyme/core/rhyme_book.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include "support/dataset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using testdata::npmDir;

// ---------------------------------------------------------------------------------------
// Mandarin readings

// Readings of each character, the usual one first, from pinyin-pro's dictionary: a JS
// object whose keys are blank-separated readings and whose values are lists of characters.
QHash<QString, QStringList> loadReadings(const QString& path) {
    QHash<QString, QStringList> readings;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return readings;
    const QString src = QString::fromUtf8(file.readAll());
    const qsizetype start = src.indexOf(QLatin1String("const map = {"));
    const qsizetype end = src.indexOf(QLatin1String("\n};"), start);
    if (start < 0 || end < 0)
        return readings;
    static const QRegularExpression keyRe(QStringLiteral("^\\s*(?:'([^']+)'|([^\\s:']+)):\\s*\\["));
    static const QRegularExpression charRe(QStringLiteral("'([^']+)'"));
    QStringList current;
    for (const QString& line : src.mid(start, end - start).split(u'\n')) {
        QString rest = line;
        const auto key = keyRe.match(line);
        if (key.hasMatch()) {
            current = (key.captured(1).isEmpty() ? key.captured(2) : key.captured(1)).split(u' ');
            rest = line.mid(key.capturedEnd());
        }
        for (auto it = charRe.globalMatch(rest); it.hasNext();)
            readings[it.next().captured(1)] += current;
    }
    return readings;
}

struct Syllable {
    QString initial;
    QString final; // ü written v; y- and w- spellings undone (yue -> ve, wei -> ui)
    int tone = 5;
};

Syllable analyse(const QString& pinyin) {
    Syllable s;
    QString plain;
    for (QChar c : pinyin.normalized(QString::NormalizationForm_D)) {
        switch (c.unicode()) {
        case 0x0304:
            s.tone = 1;
            break;
        case 0x0301:
            s.tone = 2;
            break;
        case 0x030C:
            s.tone = 3;
            break;
        case 0x0300:
            s.tone = 4;
            break;
        case 0x0308:
            plain.back() = u'v';
            break; // ü
        default:
            plain += c;
        }
    }
    static const char* initials[] = {"zh", "ch", "sh", "b", "p", "m", "f", "d", "t", "n", "l",
                                     "g",  "k",  "h",  "j", "q", "x", "r", "z", "c", "s"};
    QString rest = plain;
    for (const char* i : initials) {
        if (plain.startsWith(QLatin1String(i))) {
            s.initial = QLatin1String(i);
            rest = plain.mid(s.initial.size());
            break;
        }
    }
    if (s.initial.isEmpty() && rest.startsWith(u'y')) {
        rest.remove(0, 1);
        rest = rest.startsWith(u'u')   ? u'v' + rest.mid(1)
               : rest.startsWith(u'i') ? rest
                                       : u'i' + rest;
        if (rest == u"iou")
            rest = QStringLiteral("iu");
    } else if (s.initial.isEmpty() && rest.startsWith(u'w')) {
        rest.remove(0, 1);
        if (!rest.startsWith(u'u'))
            rest.prepend(u'u');
        if (rest == u"uei")
            rest = QStringLiteral("ui");
        else if (rest == u"uen")
            rest = QStringLiteral("un");
        else if (rest == u"ueng")
            rest = QStringLiteral("eng");
    } else if (QStringLiteral("jqx").contains(s.initial) && !s.initial.isEmpty() &&
               rest.startsWith(u'u')) {
        rest[0] = u'v';
    }
    s.final = rest;
    return s;
}

// A group's finals label names the rhymes; a label final also covers the same rhyme after
// a medial (天 tian and 欢 huan under "an"), and üe and ün are written ue and un as well.
bool labelCovers(const QString& label, const QString& final) {
    static const QHash<QString, QStringList> medials = {
        {QStringLiteral("an"),
         {QStringLiteral("ian"), QStringLiteral("uan"), QStringLiteral("van")}},
        {QStringLiteral("ang"), {QStringLiteral("iang"), QStringLiteral("uang")}},
        {QStringLiteral("ao"), {QStringLiteral("iao")}},
        {QStringLiteral("ong"), {QStringLiteral("iong")}},
        {QStringLiteral("eng"), {QStringLiteral("ueng")}},
        {QStringLiteral("un"), {QStringLiteral("vn")}},
        {QStringLiteral("ue"), {QStringLiteral("ve")}},
    };
    static const QRegularExpression sep(QStringLiteral("[ ,]+"));
    for (const QString& f : label.split(sep, Qt::SkipEmptyParts)) {
        if (f == final || medials.value(f).contains(final))
            return true;
    }
    return false;
}

// Whether `pinyin` is a reading that belongs in entry `g` of a modern book.
bool readingFits(const RhymeGroup& g, const QString& pinyin) {
    const Syllable s = analyse(pinyin);
    const bool level = s.tone == 1 || s.tone == 2;
    const bool oblique = s.tone == 3 || s.tone == 4;
    if (g.tone == RhymeTone::Level ? !level : !oblique)
        return false;
    if (!labelCovers(g.finals, s.final))
        return false;
    // 现代诗韵 splits the final i by initial: 支 after the retroflex and dental sibilants
    // (and r), 齐 after every other initial; 歌 and 皆 share the label "e".
    static const QStringList sibilants = {
        QStringLiteral("zh"), QStringLiteral("ch"), QStringLiteral("sh"), QStringLiteral("r"),
        QStringLiteral("z"),  QStringLiteral("c"),  QStringLiteral("s")};
    if (g.name.startsWith(u"五支"))
        return sibilants.contains(s.initial);
    if (g.name.startsWith(u"七齐"))
        return !sibilants.contains(s.initial);
    if (g.name.startsWith(u"三歌"))
        return s.final == u"e";
    if (g.name.startsWith(u"四皆"))
        return s.final != u"e";
    return true;
}

// The reading a mark gives: the Latin letters at its start, "（chén）" or "[kān看守]".
QString markedReading(const QString& mark) {
    QString reading;
    for (QChar c : mark.mid(1)) {
        if (c.unicode() >= 0x2E80 || c == u'）' || c == u']')
            break;
        reading += c;
    }
    return reading;
}

// The texts that stand verbatim in every copy of the books: their polyphones carry no
// marks, so a character there passes on any of its readings.
bool isFixedText(RhymeSystem s, int entry) {
    return (s == RhymeSystem::XinYun && (entry == 2 || entry == 3)) ||
           (s == RhymeSystem::XianDai && (entry == 10 || entry == 11));
}

TEST(RhymeContent, ModernBooksAgreeWithMandarinReadings) {
    const QString path = npmDir() + QStringLiteral("/pinyin-pro/dist/esm/data/dict1.mjs");
    const QHash<QString, QStringList> readings = loadReadings(path);
    if (readings.isEmpty())
        GTEST_SKIP() << "pinyin-pro is not installed: " << path.toStdString();
    ASSERT_GT(readings.size(), 20000);

    for (RhymeSystem s : {RhymeSystem::XinYun, RhymeSystem::XianDai}) {
        int total = 0, usual = 0, marked = 0, fixed = 0;
        QStringList failures;
        const QList<RhymeGroup>& list = rhyme::groups(s);
        for (int e = 0; e < list.size(); ++e) {
            for (const RhymeItem& item : rhyme::items(list[e].characters)) {
                ++total;
                const QStringList known = readings.value(item.character);
                const QString mark = markedReading(item.mark);
                if (!mark.isEmpty()) {
                    if (known.contains(mark) && readingFits(list[e], mark))
                        ++marked;
                    else
                        failures << item.character + item.mark + QStringLiteral(" in ") +
                                        list[e].name;
                } else if (!known.isEmpty() && readingFits(list[e], known.first())) {
                    ++usual;
                } else if (isFixedText(s, e) &&
                           std::any_of(known.begin(), known.end(),
                                       [&](const QString& r) { return readingFits(list[e], r); })) {
                    ++fixed;
                } else {
                    failures << item.character + u'(' + known.join(u'/') + QStringLiteral(") in ") +
                                    list[e].name;
                }
            }
        }
        std::printf("%s: %d characters; %d by their usual reading, %d by a marked reading, "
                    "%d polyphones of the fixed texts; agreement %.2f%%\n",
                    qPrintable(rhyme::systemName(s)), total, usual, marked, fixed,
                    100.0 * (usual + marked + fixed) / total);
        EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
    }
}

// ---------------------------------------------------------------------------------------
// Classical level and oblique tones

using testdata::ToneCount;

TEST(RhymeContent, CiYunLevelAndObliqueAgreeWithTheTangPoems) {
    const QString dist = npmDir() + QStringLiteral("/chinese-poetry/dist");
    if (!QFileInfo::exists(dist + QStringLiteral("/strains/json")))
        GTEST_SKIP() << "chinese-poetry is not installed: " << dist.toStdString();
    const QHash<QString, ToneCount>& tones = testdata::classicalToneCounts();
    ASSERT_GT(tones.size(), 5000);

    // A character is judged only when it was seen often enough and one class clearly
    // prevails; the strains resolve polyphones by metrical position, so a split count
    // says nothing about the reading listed here.
    constexpr int minSeen = 5;
    constexpr double clear = 0.8;
    int agree = 0, skipped = 0;
    QStringList disagreements;
    const QList<RhymeGroup>& list = rhyme::groups(RhymeSystem::CiYun);
    for (const RhymeGroup& g : list) {
        for (const RhymeItem& item : rhyme::items(g.characters)) {
            const ToneCount c = tones.value(item.character);
            const int seen = c.level + c.oblique;
            const double levelShare = seen ? double(c.level) / seen : 0.5;
            if (!item.mark.isEmpty() || seen < minSeen ||
                (levelShare > 1 - clear && levelShare < clear)) {
                ++skipped;
                continue;
            }
            if ((levelShare >= clear) == (g.tone == RhymeTone::Level))
                ++agree;
            else
                disagreements << QStringLiteral("%1 (平%2 仄%3) in %4")
                                     .arg(item.character)
                                     .arg(c.level)
                                     .arg(c.oblique)
                                     .arg(g.name);
        }
    }
    const double share = 100.0 * agree / (agree + disagreements.size());
    std::printf(
        "词韵简编: %d characters judged, %d skipped; agreement %.2f%%; disagreements:\n  %s\n",
        agree + int(disagreements.size()), skipped, share,
        qPrintable(disagreements.join(QStringLiteral("\n  "))));
    EXPECT_GE(share, 97.0);
}

// ---------------------------------------------------------------------------------------

TEST(RhymeContent, NoCharacterTwiceInAnEntryUnderOneReading) {
    // 夏's oblique text, fixed as it stands, lists 贾 and 假 once among the third-tone and
    // again among the fourth-tone readings (jiǎ, jià) without a mark.
    const QSet<QString> fixedRepeats = {QStringLiteral("贾"), QStringLiteral("假")};
    for (RhymeSystem s : rhyme::systems) {
        const QList<RhymeGroup>& list = rhyme::groups(s);
        for (int e = 0; e < list.size(); ++e) {
            QHash<QString, QStringList> seen; // character -> heading+mark of each listing
            for (const RhymeItem& item : rhyme::items(list[e].characters)) {
                // Under two rhyme headings, one simplified form stands for two traditional
                // characters (沖 in 一东, 衝 in 二冬): that is two listings, not one twice.
                const QString reading = item.heading + u'|' + item.mark;
                QStringList& readings = seen[item.character];
                const bool allowed = isFixedText(s, e) && fixedRepeats.contains(item.character);
                EXPECT_TRUE(!readings.contains(reading) || allowed)
                    << item.character.toStdString() << " twice in " << list[e].name.toStdString();
                readings << reading;
            }
        }
    }
}

} // namespace

namespace {

TEST(RhymeContent, EnteringToneCharactersStayInTheEnteringParts) {
    // A character of an entering-tone part that also stands in a level or oblique part of
    // 词韵简编 must have a second reading there, and the listing says which.
    const QList<RhymeGroup>& list = rhyme::groups(RhymeSystem::CiYun);
    QHash<QString, bool> entering; // character -> every listing in the entering parts is plain
    for (const RhymeGroup& g : list) {
        if (g.tone != RhymeTone::Entering)
            continue;
        for (const RhymeItem& item : rhyme::items(g.characters))
            entering[item.character] = entering.value(item.character, true) && item.mark.isEmpty();
    }
    for (const RhymeGroup& g : list) {
        if (g.tone == RhymeTone::Entering)
            continue;
        for (const RhymeItem& item : rhyme::items(g.characters)) {
            const auto it = entering.constFind(item.character);
            EXPECT_TRUE(it == entering.constEnd() || !item.mark.isEmpty() || !*it)
                << item.character.toStdString() << " in " << g.name.toStdString()
                << " and, unmarked, in an entering-tone part";
        }
    }
}

} // namespace
