// The model poems against their templates: each poem has one character per
// tone mark (unless it is a documented variant form), and at the template's
// fixed positions its characters carry the tone the mark asks for, judged by a
// character-to-tone map drawn from the dataset's per-character strains of the
// Tang shi.
#include "catalogue/core/catalogue.h"
#include "catalogue/core/forum.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "support/dataset.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

using namespace catalogue;

namespace {

const QString kPlaceholderStart = QString::fromUtf8(kPlaceholderLead);

using testdata::examplesDir;

QString datasetDir() {
    return testdata::poetryDir();
}

// One record of the catalogue, ci or verse, as the checks see it.
struct Record {
    QString key; // "general/07", the list folder and row of its example file
    QString name;
    QString templateText;
    const std::array<QString, 5>* examples;
};

std::vector<Record> allRecords() {
    static const char* const dirs[] = {"common", "general", "rare"};
    std::vector<Record> out;
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            out.push_back({QStringLiteral("%1/%2")
                               .arg(QLatin1String(dirs[int(list)]))
                               .arg(p.row + 1, 2, 10, QLatin1Char('0')),
                           p.name, p.templateText, &p.examples});
        }
    }
    for (const auto& v : versePatterns())
        out.push_back({QStringLiteral("verse/%1").arg(v.row + 1, 2, 10, QLatin1Char('0')), v.label,
                       v.templateText, &v.examples});
    return out;
}

// The tone marks of a template in order; notes and punctuation carry none.
std::vector<ToneMark> marksOf(const QString& templateText) {
    std::vector<ToneMark> marks;
    for (QChar c : templateText)
        if (auto m = toneMarkOf(c))
            marks.push_back(*m);
    return marks;
}

// The characters of a model poem: the text before its attribution ("--" in
// example 1, "——" in the others), inline notes in full-width parentheses
// removed, Chinese characters only.
QString poemCharacters(const QString& example, int slot) {
    QString body =
        example.left(example.lastIndexOf(slot == 1 ? QStringLiteral("--") : QStringLiteral("——")));
    static const QRegularExpression note(QStringLiteral("（[^（）]*）"));
    body.remove(note);
    QString chars;
    for (QChar c : body)
        if (c.script() == QChar::Script_Han)
            chars += c;
    return chars;
}

// The examples known to follow another form of the tune than the template:
// "list/NN example" -> the character count they have.
struct Variant {
    int count = 0;
    QString reason;
};

std::map<QString, Variant> loadVariants(QStringList* problems) {
    std::map<QString, Variant> out;
    QFile file(examplesDir() + QStringLiteral("/variants.tsv"));
    if (!file.open(QIODevice::ReadOnly)) {
        problems->append(QStringLiteral("variants.tsv missing"));
        return out;
    }
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        bool rowOk = false, slotOk = false, countOk = false;
        const int row = f.value(1).toInt(&rowOk);
        const int slot = f.value(2).toInt(&slotOk);
        const int count = f.value(3).toInt(&countOk);
        if (f.size() != 5 || !rowOk || !slotOk || !countOk || slot < 1 || slot > 5 ||
            f[4].trimmed().isEmpty()) {
            problems->append(QStringLiteral("variants.tsv: bad line: ") + line);
            continue;
        }
        const QString key = QStringLiteral("%1/%2 example %3")
                                .arg(f[0])
                                .arg(row, 2, 10, QLatin1Char('0'))
                                .arg(slot);
        if (out.count(key))
            problems->append(QStringLiteral("variants.tsv: listed twice: ") + key);
        out[key] = {count, f[4]};
    }
    return out;
}

} // namespace

// One character per mark, except the listed variant forms; a listed variant
// must still have the count it is listed with, and name an example that exists.
TEST(ExampleForms, CharacterCountMatchesTheTemplate) {
    QStringList problems;
    auto variants = loadVariants(&problems);
    int checked = 0;
    for (const Record& r : allRecords()) {
        const auto marks = marksOf(r.templateText);
        for (int slot = 1; slot <= 5; ++slot) {
            const QString& text = (*r.examples)[slot - 1];
            if (text.startsWith(kPlaceholderStart))
                continue;
            const QString key = QStringLiteral("%1 example %2").arg(r.key).arg(slot);
            const int count = int(poemCharacters(text, slot).size());
            const auto v = variants.find(key);
            if (v == variants.end()) {
                if (count != int(marks.size()))
                    problems.append(QStringLiteral("%1 %2: %3 characters, template %4 marks")
                                        .arg(key, r.name)
                                        .arg(count)
                                        .arg(marks.size()));
            } else {
                if (count != v->second.count)
                    problems.append(
                        QStringLiteral("%1 %2: listed as a %3-character variant, has %4")
                            .arg(key, r.name)
                            .arg(v->second.count)
                            .arg(count));
                variants.erase(v);
            }
            ++checked;
        }
    }
    for (const auto& [key, v] : variants)
        problems.append(QStringLiteral("variants.tsv: no such example: ") + key);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
    EXPECT_GT(checked, 500);
}

// The catalogue shows the standard form of every variant character the table lists.
TEST(ExampleForms, NoListedVariantCharacterReachesTheCatalogue) {
    QFile file(examplesDir() + QStringLiteral("/variant-chars.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString variants;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            variants += line[0];
    ASSERT_GE(variants.size(), 11);
    QStringList problems;
    for (const Record& r : allRecords())
        for (int slot = 1; slot <= 5; ++slot)
            for (QChar c : (*r.examples)[slot - 1])
                if (variants.contains(c))
                    problems << QStringLiteral("%1 example %2: %3").arg(r.key).arg(slot).arg(c);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
}

TEST(ExampleForms, PoemCharactersDropAttributionNotesAndPunctuation) {
    const struct {
        const char* example;
        int slot;
        const char* chars;
    } cases[] = {
        {"甲乙，丙丁（叠句）。    戊己--调名·题目[某]", 1, "甲乙丙丁戊己"},
        {"甲乙丙（换仄韵），丁、戊。——调名[宋·某]", 2, "甲乙丙丁戊"},
        // a hyphen pair inside a later example's title does not cut the poem
        {"甲乙丙。——题目--其一[唐·某]", 3, "甲乙丙"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(poemCharacters(QString::fromUtf8(c.example), c.slot).toStdString(),
                  std::string(c.chars))
            << c.example;
}

namespace {

enum class Tone { Level, Oblique };

// Characters with a level and an oblique reading of different meaning (看 kān
// and kàn, 重 chóng and zhòng, …). The strains resolve many of them by the
// metrical position, and some always one way (忘 望 醒 come out oblique), so
// their counts say nothing about the reading in a given poem.
const QString kTwoReadings = QStringLiteral(
    "看听思过教忘望醒重为胜令更相长中应当间论量禁任兴乘漫纵将分称难要骑吹燕冠供行正傍叹王闻调占凭");

// Character -> tone, for the characters the strains are sure of: at least five
// observations, one class at least nine in ten. Counted on the traditional
// characters of 全唐诗 and folded onto their simplified forms.
const QHash<QChar, Tone>& toneMap() {
    static const QHash<QChar, Tone> map = [] {
        QHash<QChar, Tone> sure;
        const auto& counts = testdata::classicalToneCounts();
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.key().size() != 1)
                continue;
            const QChar c = it.key()[0];
            const int level = it.value().level, oblique = it.value().oblique;
            const int n = level + oblique;
            if (n < 5 || kTwoReadings.contains(c))
                continue;
            if (level * 10 >= n * 9)
                sure.insert(c, Tone::Level);
            else if (oblique * 10 >= n * 9)
                sure.insert(c, Tone::Oblique);
        }
        return sure;
    }();
    return map;
}

bool datasetPresent() {
    return QDir(datasetDir() + QStringLiteral("/strains/json")).exists() &&
           QDir(datasetDir() + QStringLiteral("/quantangshi")).exists();
}

std::optional<Tone> toneAsked(ToneMark m) {
    switch (m) {
    case ToneMark::Level:
    case ToneMark::LevelRhyme:
        return Tone::Level;
    case ToneMark::Oblique:
    case ToneMark::ObliqueRhyme:
        return Tone::Oblique;
    case ToneMark::Either:
        break;
    }
    return std::nullopt;
}

} // namespace

// The map must know the common characters, put the old entering tone among the
// oblique ones (Mandarin reads many of them level), and leave the characters of
// two readings out.
TEST(ExampleTones, MapFromTheStrains) {
    if (!datasetPresent())
        GTEST_SKIP() << "chinese-poetry dataset not installed";
    const auto& map = toneMap();
    EXPECT_GT(map.size(), 4000);
    const struct {
        const char16_t* chars;
        std::optional<Tone> tone;
    } cases[] = {
        {u"花春风天山人年来秋", Tone::Level},
        {u"月雪白国十石一出说独", Tone::Oblique}, // entering tone
        {u"水里去见树酒", Tone::Oblique},
        {u"看听忘望醒重", std::nullopt},
    };
    for (const auto& c : cases) {
        for (QChar ch : QString::fromUtf16(c.chars)) {
            const auto it = map.constFind(ch);
            const std::optional<Tone> got =
                it == map.constEnd() ? std::nullopt : std::optional<Tone>(*it);
            EXPECT_EQ(got, c.tone) << QString(ch).toStdString();
        }
    }
}

// At every ○ ● △ ▲ the example's character has the tone the mark asks for,
// wherever the map is sure of it. Examples are aligned mark by mark only when
// their length equals the template's (variant forms are left out). The figure
// and the ten weakest patterns go to the test output.
TEST(ExampleTones, FixedPositionsAgreeWithTheClassicalTone) {
    if (!datasetPresent())
        GTEST_SKIP() << "chinese-poetry dataset not installed";
    const auto& map = toneMap();
    QStringList problems;
    const auto variants = loadVariants(&problems);

    struct Score {
        QString key, name;
        int agree = 0, checked = 0;
        QStringList misses; // "example:position character"
        double ratio() const { return checked ? double(agree) / checked : 1.0; }
    };
    std::vector<Score> scores;
    int ciAgree = 0, ciChecked = 0, verseAgree = 0, verseChecked = 0;
    for (const Record& r : allRecords()) {
        const auto marks = marksOf(r.templateText);
        Score s{r.key, r.name};
        for (int slot = 1; slot <= 5; ++slot) {
            const QString& text = (*r.examples)[slot - 1];
            if (text.startsWith(kPlaceholderStart))
                continue;
            const QString chars = poemCharacters(text, slot);
            if (chars.size() != qsizetype(marks.size()) ||
                variants.count(QStringLiteral("%1 example %2").arg(r.key).arg(slot)))
                continue;
            for (size_t i = 0; i < marks.size(); ++i) {
                const auto asked = toneAsked(marks[i]);
                const auto known = map.constFind(chars[qsizetype(i)]);
                if (!asked || known == map.constEnd())
                    continue;
                ++s.checked;
                if (*known == *asked)
                    ++s.agree;
                else
                    s.misses << QStringLiteral("%1:%2%3").arg(slot).arg(i + 1).arg(
                        chars[qsizetype(i)]);
            }
        }
        (r.key.startsWith(QLatin1String("verse")) ? verseAgree : ciAgree) += s.agree;
        (r.key.startsWith(QLatin1String("verse")) ? verseChecked : ciChecked) += s.checked;
        scores.push_back(s);
    }
    std::stable_sort(scores.begin(), scores.end(),
                     [](const Score& a, const Score& b) { return a.ratio() < b.ratio(); });

    const int agree = ciAgree + verseAgree, checked = ciChecked + verseChecked;
    ASSERT_GT(checked, 0);
    auto percent = [](int a, int n) { return QString::number(n ? 100.0 * a / n : 100.0, 'f', 1); };
    QString report =
        QStringLiteral("tone agreement at fixed positions: %1% (%2 of %3); ci %4%, verse %5%\n")
            .arg(percent(agree, checked))
            .arg(agree)
            .arg(checked)
            .arg(percent(ciAgree, ciChecked), percent(verseAgree, verseChecked));
    report += QStringLiteral("weakest patterns (example:position character):\n");
    for (size_t i = 0; i < std::min<size_t>(10, scores.size()); ++i) {
        const Score& s = scores[i];
        report += QStringLiteral("  %1 %2 %3% (%4/%5) %6\n")
                      .arg(s.key, s.name, percent(s.agree, s.checked))
                      .arg(s.agree)
                      .arg(s.checked)
                      .arg(s.misses.mid(0, 12).join(QLatin1Char(' ')));
    }
    std::printf("%s", qPrintable(report));
    RecordProperty("tone_agreement", percent(agree, checked).toStdString());
    EXPECT_GE(agree * 10, checked * 9) << qPrintable(report);
}

namespace {

// The rhymes of 词韵简编 (data/rhyme/ciyun.txt): for each character of a level-tone
// entry, the 平水韵 rhymes it stands under (the 【…】 headings) and its ci rhyme part.
struct RhymeBook {
    QHash<QChar, QSet<QString>> rhymes; // 中 -> {一东}
    QHash<QChar, QSet<QString>> parts;  // 中 -> {第一部}
};

const RhymeBook& rhymeBook() {
    static const RhymeBook book = [] {
        RhymeBook b;
        QFile f(testdata::sourceDir() + QStringLiteral("/data/rhyme/ciyun.txt"));
        if (!f.open(QIODevice::ReadOnly))
            return b;
        static const QRegularExpression senses(QStringLiteral("\\[[^\\]]*\\]|\\([^)]*\\)(?!】)"));
        static const QRegularExpression half(QStringLiteral("[(\\[][^)\\]]*[)\\]]"));
        QString part, heading;
        bool level = false, inText = false;
        for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1Char('#')))
                continue;
            if (line.startsWith(QLatin1String("name:"))) {
                part = line.mid(5).trimmed().section(QLatin1Char(' '), 0, 0);
                inText = false;
            } else if (line.startsWith(QLatin1String("tone:"))) {
                level = line.contains(QStringLiteral("平声"));
            } else if (line.startsWith(QLatin1String("text:"))) {
                inText = true;
            } else if (inText && level) {
                QString text = line;
                text.remove(senses);
                for (qsizetype i = 0; i < text.size(); ++i) {
                    if (text[i] == u'【') {
                        const qsizetype end = text.indexOf(u'】', i);
                        heading = text.mid(i + 1, end - i - 1).remove(half);
                        i = end;
                    } else if (text[i].script() == QChar::Script_Han) {
                        b.rhymes[text[i]].insert(heading);
                        b.parts[text[i]].insert(part);
                    }
                }
            }
        }
        return b;
    }();
    return book;
}

bool share(const QHash<QChar, QSet<QString>>& map, QChar a, QChar b) {
    return map.value(a).intersects(map.value(b));
}

// The lines of a poem, punctuation dropped.
QStringList poemLines(const QString& example, int slot) {
    const QString body =
        example.left(example.lastIndexOf(slot == 1 ? QStringLiteral("--") : QStringLiteral("——")));
    static const QRegularExpression stop(QStringLiteral("[，。？！；]"));
    return body.split(stop, Qt::SkipEmptyParts);
}

} // namespace

// Rhymes are read from the book's headings, so that two characters of one part but
// of neighbouring 平水韵 rhymes (东 and 冬) do not count as rhyming in regulated verse.
TEST(VerseRhymes, ReadFromTheRhymeBookHeadings) {
    const auto& book = rhymeBook();
    ASSERT_GT(book.rhymes.size(), 1500);
    const struct {
        char16_t a, b;
        bool rhyme, part;
    } cases[] = {
        {u'城', u'清', true, true},  {u'将', u'征', false, false}, {u'中', u'翁', true, true},
        {u'中', u'容', false, true}, {u'蒲', u'居', false, true},  {u'枝', u'飞', false, true},
        {u'佳', u'街', true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(share(book.rhymes, QChar(c.a), QChar(c.b)), c.rhyme)
            << QString(QChar(c.a)).toStdString() << QString(QChar(c.b)).toStdString();
        EXPECT_EQ(share(book.parts, QChar(c.a), QChar(c.b)), c.part)
            << QString(QChar(c.a)).toStdString() << QString(QChar(c.b)).toStdString();
    }
}

// The tone map of the strains settles a polyphone by its position, so it cannot see
// whether a first line rhymes. Where the template rhymes line 1 (△), its last character
// must share a 平水韵 rhyme with the end of line 2; where it does not (●), it must not
// even share a ci rhyme part with it, since a neighbouring rhyme there reads as a rhyme.
// Every line is a regulated line: its second, fourth and sixth characters alternate in
// tone, and it does not end in three level tones, wherever the strains are sure.
TEST(VerseRhymes, FirstLineAndRegulatedLines) {
    if (!datasetPresent())
        GTEST_SKIP() << "chinese-poetry dataset not installed";
    const auto& book = rhymeBook();
    const auto& tones = toneMap();
    QStringList problems;
    int checked = 0;
    for (const auto& v : versePatterns()) {
        const bool rhymes = v.templateText.section(u'，', 0, 0).endsWith(u'△');
        for (int slot = 1; slot <= 5; ++slot) {
            const QString where = QStringLiteral("%1 example %2").arg(v.label).arg(slot);
            const QStringList lines = poemLines(v.examples[slot - 1], slot);
            if (lines.size() < 2) {
                problems << where + QStringLiteral(": no lines");
                continue;
            }
            const QChar end1 = lines[0].back(), end2 = lines[1].back();
            if (rhymes && !share(book.rhymes, end1, end2))
                problems << where + QStringLiteral(": %1 does not rhyme with %2").arg(end1, end2);
            if (!rhymes && share(book.parts, end1, end2))
                problems << where + QStringLiteral(": %1 rhymes with %2").arg(end1, end2);
            for (const QString& line : lines) {
                auto tone = [&](qsizetype i) { return tones.value(line[i - 1], Tone(-1)); };
                for (qsizetype i = 2; i + 2 <= line.size(); i += 2) {
                    if (tones.contains(line[i - 1]) && tones.contains(line[i + 1]) &&
                        tone(i) == tone(i + 2))
                        problems << where +
                                        QStringLiteral(": %1 is not a regulated line").arg(line);
                }
                const qsizetype n = line.size();
                if (n >= 3 && tone(n) == Tone::Level && tone(n - 1) == Tone::Level &&
                    tone(n - 2) == Tone::Level)
                    problems << where + QStringLiteral(": %1 ends in three level tones").arg(line);
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 80);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
}
