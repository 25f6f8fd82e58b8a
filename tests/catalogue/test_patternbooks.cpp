// Every ci template against the forms two pattern books give its tune: 钦定词谱
// (with its 又一体) and 龙榆生's 唐宋词格律, kept as compact extracts in
// data/catalogue/patternbooks. A template is aligned with the form of the same
// length whose clause breaks agree best; then an opposite tone at a position
// both fix, a rhyme in one and not the other, a clause break in one and not
// the other, or a break that ends a clause ("，" "。") in one and is only a pause
// inside a line ("、") in the other is a fault, unless exceptions.tsv lists it
// with its reason.
//
// A template may also not fix a tone (○ or ●) that the books leave open (◎):
// the checker would flag a poet for a rule neither book makes. Rhyme marks are
// left out, since a rhyme's tone is the rhyme's. The books are asked
// conservatively: where both give a form of the template's length, the
// position is a fault only when both mark it ◎; where only one does (the other
// lacks the tune, has no form of that length, or is listed as following
// another form), that book alone decides only if its form is the one the
// template follows, with the same clause breaks. exceptions.tsv lists what the
// templates keep on purpose under the kind "open", the book column naming the
// books asked ("钦定词谱+唐宋词格律" when both).
#include "catalogue/core/catalogue.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "support/dataset.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

using namespace catalogue;

namespace {

QString bookDir() {
    return testdata::sourceDir() + QStringLiteral("/data/catalogue/patternbooks");
}

// A pattern reduced to what the books can be compared on.
struct Shape {
    QString marks;    // one of ○ ● ◎ △ ▲ per character
    QSet<int> breaks; // 1-based positions followed by "，" "。" or "、"
    QSet<int> pauses; // those followed by "、", a pause inside a line
};

// Rhyme notes in parentheses and the stanza separator carry no marks.
Shape shapeOf(const QString& pattern) {
    static const QRegularExpression note(QStringLiteral("（[^（）]*）"));
    QString text = pattern;
    text.remove(note);
    Shape s;
    for (const QChar c : text) {
        if (toneMarkOf(c))
            s.marks += c;
        else if ((c == u'，' || c == u'。' || c == u'、') && !s.marks.isEmpty()) {
            s.breaks.insert(int(s.marks.size()));
            if (c == u'、')
                s.pauses.insert(int(s.marks.size()));
        }
    }
    return s;
}

enum class Fixed { None, Level, Oblique };

Fixed fixedTone(QChar m) {
    if (m == u'○' || m == u'△')
        return Fixed::Level;
    if (m == u'●' || m == u'▲')
        return Fixed::Oblique;
    return Fixed::None;
}

bool rhymes(QChar m) {
    return m == u'△' || m == u'▲';
}

struct Difference {
    int position; // 1-based; 0 for a whole-form difference
    QString kind; // tone, rhyme, break, pause, length (no form of the template's length)
    bool operator<(const Difference& o) const {
        return std::tie(position, kind) < std::tie(o.position, o.kind);
    }
};

std::vector<Difference> compare(const Shape& ours, const Shape& book) {
    std::vector<Difference> out;
    for (int i = 0; i < ours.marks.size(); ++i) {
        const Fixed a = fixedTone(ours.marks[i]), b = fixedTone(book.marks[i]);
        if (a != Fixed::None && b != Fixed::None && a != b)
            out.push_back({i + 1, QStringLiteral("tone")});
        if (rhymes(ours.marks[i]) != rhymes(book.marks[i]))
            out.push_back({i + 1, QStringLiteral("rhyme")});
    }
    const int last = int(ours.marks.size());
    for (int p : ours.breaks + book.breaks)
        if (p != last && ours.breaks.contains(p) != book.breaks.contains(p))
            out.push_back({p, QStringLiteral("break")});
    for (int p : ours.breaks& book.breaks)
        if (ours.pauses.contains(p) != book.pauses.contains(p))
            out.push_back({p, QStringLiteral("pause")});
    std::sort(out.begin(), out.end());
    return out;
}

struct Form {
    QString author;
    int number = 0;
    Shape shape;
};

// tune -> its forms in the book's order.
QHash<QString, std::vector<Form>> loadBook(const QString& file) {
    QHash<QString, std::vector<Form>> forms;
    QFile f(bookDir() + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly))
        return forms;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QStringList c = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || c.size() != 6)
            continue;
        forms[c[0]].push_back({c[3], c[2].toInt(), shapeOf(c[5])});
    }
    return forms;
}

// "tune|book|position|kind" -> reason
std::map<QString, QString> loadExceptions(QStringList* problems) {
    std::map<QString, QString> out;
    QFile f(bookDir() + QStringLiteral("/exceptions.tsv"));
    if (!f.open(QIODevice::ReadOnly)) {
        problems->append(QStringLiteral("exceptions.tsv missing"));
        return out;
    }
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList c = line.split(QLatin1Char('\t'));
        if (c.size() != 5 || c[4].trimmed().isEmpty()) {
            problems->append(QStringLiteral("exceptions.tsv: bad line: ") + line);
            continue;
        }
        // One line may list several positions of the same kind and reason.
        for (const QString& position : c[2].split(QLatin1Char(','))) {
            const QString key =
                QStringList{c[0], c[1], position.trimmed(), c[3]}.join(QLatin1Char('|'));
            if (out.count(key))
                problems->append(QStringLiteral("exceptions.tsv: listed twice: ") + key);
            out[key] = c[4];
        }
    }
    return out;
}

struct Book {
    const char* id; // as exceptions.tsv names it
    const char* file;
};
const Book kBooks[] = {{"钦定词谱", "qinding.tsv"}, {"唐宋词格律", "tangsong.tsv"}};

// The form of the template's length whose clause breaks agree best, then whose
// other differences are fewest; null when the book has no form of that length.
const Form* alignedForm(const Shape& ours, const std::vector<Form>& forms,
                        std::vector<Difference>* diffs) {
    const Form* best = nullptr;
    auto rank = [](const std::vector<Difference>& d) {
        const auto breaks = std::count_if(d.begin(), d.end(), [](const Difference& x) {
            return x.kind == QLatin1String("break");
        });
        return std::make_pair(breaks, d.size());
    };
    for (const Form& f : forms) {
        if (f.shape.marks.size() != ours.marks.size())
            continue;
        auto d = compare(ours, f.shape);
        if (!best || rank(d) < rank(*diffs)) {
            best = &f;
            *diffs = std::move(d);
        }
    }
    return best;
}

// Exceptions of this kind belong to FixedTonesWhereTheBooksLeaveThemOpen.
const QString kOpenKind = QStringLiteral("open");

} // namespace

TEST(PatternBooks, ComparisonFindsEachKindOfDifference) {
    const struct {
        const char16_t* ours;
        const char16_t* book;
        const char* found; // "position kind" joined by spaces
    } cases[] = {
        {u"◎○●，○△。", u"○◎●，○△。", ""},
        {u"◎○●，○△。", u"○●◎，●△。", "2 tone 4 tone"},
        {u"◎○●，○△。", u"◎○●，○○。", "5 rhyme"},
        // a level rhyme where the book rhymes on an oblique tone
        {u"◎○●，○△。", u"◎○●，○▲。", "5 tone"},
        {u"◎○●，○△。", u"◎○、●○△。", "2 break 3 break"},
        // a clause end in one, a pause inside the line in the other
        {u"◎○●，○△。", u"◎○●、○△。", "3 pause"},
        // stanza separator and rhyme notes carry no marks
        {u"◎○△（换平韵）。    ●△。", u"◎○△。●△。", ""},
    };
    for (const auto& c : cases) {
        QStringList found;
        for (const auto& d :
             compare(shapeOf(QString::fromUtf16(c.ours)), shapeOf(QString::fromUtf16(c.book))))
            found << QStringLiteral("%1 %2").arg(d.position).arg(d.kind);
        EXPECT_EQ(found.join(QLatin1Char(' ')).toStdString(), std::string(c.found))
            << QString::fromUtf16(c.ours).toStdString();
    }
}

TEST(PatternBooks, TemplatesAgreeWithBothBooks) {
    QStringList problems;
    auto exceptions = loadExceptions(&problems);
    QString report;
    std::set<QString> formExcused;
    for (const Book& book : kBooks) {
        const auto forms = loadBook(QLatin1String(book.file));
        ASSERT_FALSE(forms.isEmpty()) << book.file;
        int tunes = 0, absent = 0, positions = 0;
        int toneBoth = 0, toneAgree = 0, rhymeAny = 0, rhymeAgree = 0, breakAny = 0, breakAgree = 0;
        const QString bookId = QString::fromUtf8(book.id);
        for (PatternList list : kPatternLists) {
            for (const CiPattern& p : patterns(list)) {
                const auto it = forms.constFind(p.name);
                if (it == forms.constEnd()) {
                    ++absent;
                    continue;
                }
                const Shape ours = shapeOf(p.templateText);
                std::vector<Difference> bestDiffs;
                const Form* best = alignedForm(ours, *it, &bestDiffs);
                ++tunes;
                if (!best) {
                    bestDiffs = {{0, QStringLiteral("length")}};
                } else {
                    positions += int(ours.marks.size());
                    for (int i = 0; i < ours.marks.size(); ++i) {
                        const Fixed a = fixedTone(ours.marks[i]),
                                    b = fixedTone(best->shape.marks[i]);
                        if (a != Fixed::None && b != Fixed::None) {
                            ++toneBoth;
                            toneAgree += a == b;
                        }
                        const bool ra = rhymes(ours.marks[i]), rb = rhymes(best->shape.marks[i]);
                        rhymeAny += ra || rb;
                        rhymeAgree += ra && rb;
                    }
                    const auto all = ours.breaks + best->shape.breaks;
                    breakAny += int(all.size());
                    breakAgree += int((ours.breaks & best->shape.breaks).size());
                }
                // "form" at position 0 excuses every difference: the template
                // follows another form of the tune than the book gives.
                const QString wholeForm =
                    QStringList{p.name, bookId, QStringLiteral("0"), QStringLiteral("form")}.join(
                        QLatin1Char('|'));
                if (!bestDiffs.empty() && exceptions.count(wholeForm))
                    formExcused.insert(wholeForm);
                for (const Difference& d : bestDiffs) {
                    const QString key =
                        QStringList{p.name, bookId, QString::number(d.position), d.kind}.join(
                            QLatin1Char('|'));
                    if (exceptions.erase(key) == 0 && exceptions.count(wholeForm) == 0)
                        problems.append(
                            QStringLiteral("%1: %2 %3 at %4 (%5 against %6; form %7 %8, %9 "
                                           "characters)")
                                .arg(p.name, bookId, d.kind)
                                .arg(d.position)
                                .arg(d.position ? ours.marks.mid(d.position - 1, 1) : QString(),
                                     best && d.position ? best->shape.marks.mid(d.position - 1, 1)
                                                        : QString())
                                .arg(best ? best->number : 0)
                                .arg(best ? best->author : QString())
                                .arg(ours.marks.size()));
                }
            }
        }
        auto pct = [](int a, int n) { return QString::number(n ? 100.0 * a / n : 100.0, 'f', 1); };
        report += QStringLiteral("%1: %2 templates compared (%3 tunes not in the book), %4 "
                                 "positions; tones %5% (%6/%7), rhymes %8% (%9/%10), breaks "
                                 "%11% (%12/%13)\n")
                      .arg(bookId)
                      .arg(tunes)
                      .arg(absent)
                      .arg(positions)
                      .arg(pct(toneAgree, toneBoth))
                      .arg(toneAgree)
                      .arg(toneBoth)
                      .arg(pct(rhymeAgree, rhymeAny))
                      .arg(rhymeAgree)
                      .arg(rhymeAny)
                      .arg(pct(breakAgree, breakAny))
                      .arg(breakAgree)
                      .arg(breakAny);
    }
    for (const auto& key : formExcused)
        exceptions.erase(key);
    for (const auto& [key, reason] : exceptions)
        if (!key.endsWith(QLatin1Char('|') + kOpenKind))
            problems.append(QStringLiteral("exceptions.tsv: no such difference: ") + key);
    std::printf("%s", qPrintable(report));
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " differences\n"
                                    << qPrintable(problems.join(QLatin1Char('\n')));
}

TEST(PatternBooks, FixedTonesWhereTheBooksLeaveThemOpen) {
    QStringList problems;
    auto exceptions = loadExceptions(&problems);
    std::vector<std::pair<QString, QHash<QString, std::vector<Form>>>> books;
    for (const Book& book : kBooks) {
        books.emplace_back(QString::fromUtf8(book.id), loadBook(QLatin1String(book.file)));
        ASSERT_FALSE(books.back().second.isEmpty()) << book.file;
    }
    int templates = 0, byBoth = 0, byOne = 0, fixed = 0, open = 0, kept = 0;
    for (PatternList list : kPatternLists) {
        for (const CiPattern& p : patterns(list)) {
            const Shape ours = shapeOf(p.templateText);
            QStringList asked;
            std::vector<const Form*> aligned;
            bool sameBreaks = true;
            for (const auto& [bookId, forms] : books) {
                const auto it = forms.constFind(p.name);
                const QString wholeForm =
                    QStringList{p.name, bookId, QStringLiteral("0"), QStringLiteral("form")}.join(
                        QLatin1Char('|'));
                if (it == forms.constEnd() || exceptions.count(wholeForm))
                    continue;
                std::vector<Difference> diffs;
                if (const Form* f = alignedForm(ours, *it, &diffs)) {
                    asked << bookId;
                    aligned.push_back(f);
                    sameBreaks = std::none_of(diffs.begin(), diffs.end(), [](const Difference& d) {
                        return d.kind == QLatin1String("break");
                    });
                }
            }
            if (aligned.empty() || (aligned.size() == 1 && !sameBreaks))
                continue;
            ++templates;
            ++(aligned.size() == 1 ? byOne : byBoth);
            const QString bookKey = asked.join(QLatin1Char('+'));
            for (int i = 0; i < ours.marks.size(); ++i) {
                if (ours.marks[i] != u'○' && ours.marks[i] != u'●')
                    continue;
                ++fixed;
                if (!std::all_of(aligned.begin(), aligned.end(),
                                 [i](const Form* f) { return f->shape.marks[i] == u'◎'; }))
                    continue;
                ++open;
                const QString key =
                    QStringList{p.name, bookKey, QString::number(i + 1), kOpenKind}.join(
                        QLatin1Char('|'));
                if (exceptions.erase(key))
                    ++kept;
                else
                    problems.append(QStringLiteral("%1: %2 at %3 fixed, open in %4")
                                        .arg(p.name, ours.marks.mid(i, 1))
                                        .arg(i + 1)
                                        .arg(bookKey));
            }
        }
    }
    for (const auto& [key, reason] : exceptions)
        if (key.endsWith(QLatin1Char('|') + kOpenKind))
            problems.append(QStringLiteral("exceptions.tsv: no such open position: ") + key);
    std::printf("fixed tones against open books: %d templates asked (%d of both books, %d of one), "
                "%d fixed positions, %d open in the books asked, %d kept as listed\n",
                templates, byBoth, byOne, fixed, open, kept);
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " positions\n"
                                    << qPrintable(problems.join(QLatin1Char('\n')));
}
