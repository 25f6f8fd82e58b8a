#include "checker/core/checker.h"

#include "rhyme/core/rhyme_book.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>
#include <array>

namespace checker {

using catalogue::ToneMark;

QString standardName(Standard s) {
    switch (s) {
    case Standard::CiYun:
        return QStringLiteral("词韵");
    case Standard::PingShui:
        return QStringLiteral("平水韵");
    case Standard::XinYun:
        return QStringLiteral("新韵");
    case Standard::XianDai:
        return QStringLiteral("现代诗韵");
    }
    return {};
}

std::optional<Standard> standardNamed(QStringView name) {
    for (Standard s : {Standard::CiYun, Standard::PingShui, Standard::XinYun, Standard::XianDai}) {
        if (standardName(s) == name)
            return s;
    }
    return std::nullopt;
}

Tone toneOf(const CharInfo* info, Standard standard) {
    if (!info)
        return Tone::Unknown;
    const bool modern = standard == Standard::XinYun || standard == Standard::XianDai;
    const bool level = modern ? (info->modern & kModernLevel) : (info->classical & kLevel);
    const bool oblique =
        modern ? (info->modern & kModernOblique) : (info->classical & kObliqueMask);
    if (level && oblique)
        return Tone::Both;
    if (level)
        return Tone::Level;
    if (oblique)
        return Tone::Oblique;
    return Tone::Unknown;
}

namespace {

bool isRhymeMark(ToneMark m) {
    return m == ToneMark::LevelRhyme || m == ToneMark::ObliqueRhyme;
}
bool wantsLevel(ToneMark m) {
    return m == ToneMark::Level || m == ToneMark::LevelRhyme;
}

// The poem's characters with the clauses and sentences its punctuation marks.
struct PoemText {
    QList<TextChar> chars;
    QList<int> clauseStarts;   // then chars.size()
    QList<int> sentenceStarts; // then chars.size()
};

bool counts(char32_t c) {
    if (c >= 0x4E00 && c <= 0x9FFF) // the common ideographs: most of any poem
        return true;
    return c == U'□' || QChar::isLetterOrNumber(c);
}

PoemText readPoem(QStringView text) {
    PoemText t;
    t.chars.reserve(text.size());
    t.clauseStarts.append(0);
    t.sentenceStarts.append(0);
    auto mark = [](QList<int>& starts, int at) {
        if (starts.last() < at)
            starts.append(at);
    };
    for (qsizetype i = 0; i < text.size();) {
        char32_t c = text[i].unicode();
        int len = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            len = 2;
        }
        if (counts(c)) {
            t.chars.append({int(i), len, c});
        } else {
            const int at = int(t.chars.size());
            switch (c) {
            case U'。':
            case U'！':
            case U'？':
            case U'!':
            case U'?':
                mark(t.clauseStarts, at);
                mark(t.sentenceStarts, at);
                break;
            case U'，':
            case U'；':
            case U'：':
            case U',':
            case U';':
            case U'\n':
                mark(t.clauseStarts, at);
                break;
            default:
                break;
            }
        }
        i += len;
    }
    mark(t.clauseStarts, int(t.chars.size()));
    mark(t.sentenceStarts, int(t.chars.size()));
    if (t.chars.isEmpty()) {
        t.clauseStarts = {0};
        t.sentenceStarts = {0};
    }
    return t;
}

// Splits [first, last) of the starts list into its units.
QList<std::pair<int, int>> unitsWithin(const QList<int>& starts, int first, int last) {
    QList<std::pair<int, int>> out;
    for (qsizetype i = 0; i + 1 < starts.size(); ++i) {
        const int a = std::max(starts[i], first);
        const int b = std::min(starts[i + 1], last);
        if (a < b)
            out.append({a, b});
    }
    return out;
}

// The clause as the message quotes it: a long one is cut after twelve characters.
QString clauseText(const QList<TextChar>& chars, int a, int b) {
    QString s;
    for (int i = a; i < std::min(b, a + 12); ++i)
        s += QString::fromUcs4(&chars[i].ch, 1);
    return b - a > 12 ? s + u'…' : s;
}

class Aligner {
  public:
    Aligner(const Pattern& p, const PoemText& t, QList<int>& slotOf, QList<Finding>& findings)
        : p_(p), t_(t), slotOf_(slotOf), findings_(findings) {}

    void run() {
        const int n = int(p_.cells.size());
        const int m = int(t_.chars.size());
        if (n == m)
            return map(0, 0, n);
        if (tryUnits(p_.lineStarts, t_.clauseStarts, 0, n, 0, m))
            return;
        const auto ts = unitsWithin(p_.sentenceStarts, 0, n);
        const auto xs = unitsWithin(t_.sentenceStarts, 0, m);
        if (ts.size() == xs.size()) {
            for (qsizetype i = 0; i < ts.size(); ++i) {
                const auto [ta, tb] = ts[i];
                const auto [xa, xb] = xs[i];
                if (tb - ta == xb - xa)
                    map(ta, xa, tb - ta);
                else if (!tryUnits(p_.lineStarts, t_.clauseStarts, ta, tb, xa, xb))
                    report(ta, tb, xa, xb);
            }
            return;
        }
        const int common = std::min(n, m);
        map(0, 0, common);
        Finding f{.kind = Finding::Length};
        f.message = m > n
                        ? QStringLiteral("全篇比词谱多%1字，句读也对不上：按字序对齐，多出的字未查")
                              .arg(m - n)
                        : QStringLiteral("全篇比词谱少%1字，句读也对不上：按字序对齐").arg(n - m);
        findings_.append(f);
    }

  private:
    void map(int slot, int ch, int count) {
        for (int i = 0; i < count; ++i)
            slotOf_[ch + i] = slot + i;
    }

    // Aligns template lines with text clauses in the given ranges when both have as many;
    // a clause of another length is reported and left unchecked.
    bool tryUnits(const QList<int>& tStarts, const QList<int>& xStarts, int ta, int tb, int xa,
                  int xb) {
        const auto tu = unitsWithin(tStarts, ta, tb);
        const auto xu = unitsWithin(xStarts, xa, xb);
        if (tu.size() != xu.size() || tu.isEmpty())
            return false;
        for (qsizetype i = 0; i < tu.size(); ++i) {
            const auto [a, b] = tu[i];
            const auto [c, d] = xu[i];
            if (b - a == d - c)
                map(a, c, b - a);
            else
                report(a, b, c, d);
        }
        return true;
    }

    void report(int ta, int tb, int xa, int xb) {
        const int line = p_.cells[ta].line + 1;
        const int lastLine = p_.cells[tb - 1].line + 1;
        const int diff = (xb - xa) - (tb - ta);
        Finding f{.kind = Finding::Length};
        f.offset = t_.chars[xa].offset;
        f.length = t_.chars[xb - 1].offset + t_.chars[xb - 1].length - f.offset;
        const QString where = line == lastLine
                                  ? QStringLiteral("第%1句").arg(line)
                                  : QStringLiteral("第%1至%2句").arg(line).arg(lastLine);
        f.message = QStringLiteral("%1「%2」%3%4字（词谱%5字），此处未查")
                        .arg(where, clauseText(t_.chars, xa, xb),
                             diff > 0 ? QStringLiteral("多") : QStringLiteral("少"))
                        .arg(std::abs(diff))
                        .arg(tb - ta);
        findings_.append(f);
    }

    const Pattern& p_;
    const PoemText& t_;
    QList<int>& slotOf_;
    QList<Finding>& findings_;
};

QString charString(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

QString describedTone(const CharInfo* info, Standard standard) {
    if (standard == Standard::XinYun || standard == Standard::XianDai)
        return (info->modern & kModernLevel) ? QStringLiteral("今读平声")
                                             : QStringLiteral("今读仄声");
    static const std::array<QString, 16> named = [] {
        std::array<QString, 16> out;
        for (unsigned char bits = 0; bits < 16; ++bits)
            out[bits] = toneNames(bits) + QStringLiteral("声");
        return out;
    }();
    return named[info->classical & 15];
}

int partOfEntry(int entry) {
    return entry < 28 ? entry / 2 + 1 : entry - 28 + 15;
}

// The groups of a standard a rhyme character can belong to, in the tone its mark asks for:
// 词韵 parts, 平水韵 rhymes (by Lexicon::pingshuiNames) or the modern books' groups.
using Keys = QVarLengthArray<int, 8>;

Keys rhymeKeys(const CharInfo* info, Standard standard, bool level) {
    Keys keys;
    if (!info)
        return keys;
    auto add = [&keys](int k) {
        if (k >= 0 && !keys.contains(k))
            keys.append(k);
    };
    switch (standard) {
    case Standard::CiYun:
    case Standard::PingShui:
        for (const Reading& r : info->readings) {
            if (bool(r.tone & kLevel) == level)
                add(standard == Standard::CiYun ? partOfEntry(r.ciEntry) : r.pingshuiId);
        }
        break;
    case Standard::XinYun:
        for (int k : info->xinyun)
            add(k);
        break;
    case Standard::XianDai:
        for (int k : info->xiandai)
            add(k);
        break;
    }
    return keys;
}

QString groupLabel(int key, Standard standard, bool level, const Lexicon& lexicon) {
    switch (standard) {
    case Standard::CiYun: {
        const int entry = key <= 14 ? (key - 1) * 2 + (level ? 0 : 1) : key - 15 + 28;
        const auto& groups = rhyme::groups(RhymeSystem::CiYun);
        if (entry >= 0 && entry < groups.size())
            return QStringLiteral("词韵") + groups[entry].name.section(u'：', 0, 0);
        break;
    }
    case Standard::PingShui:
        if (key >= 0 && key < lexicon.pingshuiNames().size())
            return QStringLiteral("平水韵【") + lexicon.pingshuiNames()[key] + u'】';
        break;
    case Standard::XinYun:
    case Standard::XianDai: {
        const RhymeSystem sys =
            standard == Standard::XinYun ? RhymeSystem::XinYun : RhymeSystem::XianDai;
        const auto& pairs = rhyme::pairs(sys);
        if (key >= 0 && key < pairs.size())
            return rhyme::systemName(sys) + u' ' + pairs[key].name;
        break;
    }
    }
    return QString::number(key);
}

struct Ctx {
    const Lexicon& lexicon;
    const Precedent& precedent;
};

Result checkOnce(const Ctx& ctx, const Pattern& p, const PoemText& t, const Request& req) {
    Result r;
    if (p.cells.isEmpty()) {
        r.findings.append(
            {.kind = Finding::Length, .message = QStringLiteral("词谱中没有平仄符号，无从检查")});
        return r;
    }
    if (t.chars.isEmpty()) {
        r.findings.append(
            {.kind = Finding::Length, .message = QStringLiteral("文中没有可检查的字")});
        return r;
    }
    QList<int> slotOf(t.chars.size(), -1);
    QList<Finding> lengthFindings;
    Aligner(p, t, slotOf, lengthFindings).run();

    const PatternPrecedent* prec =
        req.patternKey.isEmpty() ? nullptr : ctx.precedent.find(req.patternKey);
    r.marks.reserve(t.chars.size());
    r.findings.reserve(16);
    QList<int> charOfSlot(p.cells.size(), -1);
    for (qsizetype i = 0; i < t.chars.size(); ++i) {
        const TextChar& c = t.chars[i];
        CharMark m{c.offset, c.length, c.ch, slotOf[i], Status::Unchecked};
        if (m.slot < 0) {
            r.marks.append(m);
            continue;
        }
        charOfSlot[m.slot] = int(i);
        const ToneMark mark = p.cells[m.slot].mark;
        m.rhyme = isRhymeMark(mark);
        if (mark == ToneMark::Either) {
            m.status = Status::Free;
            r.marks.append(m);
            continue;
        }
        const CharInfo* info = ctx.lexicon.find(c.ch);
        const bool level = wantsLevel(mark);
        const Tone tone = toneOf(info, req.standard);
        if (tone == Tone::Level || tone == Tone::Oblique) {
            const bool isLevel = tone == Tone::Level;
            m.status = isLevel == level ? Status::Ok : Status::Clash;
            if (m.status == Status::Clash) {
                const QString ch = charString(c.ch);
                Finding f{.kind = Finding::Clash, .offset = c.offset, .length = c.length};
                // Built by appending: formatting with arg() costs more than the check.
                f.message.reserve(16);
                f.message.append(u'「').append(ch).append(u'」');
                f.message.append(describedTone(info, req.standard));
                f.message.append(level ? QStringLiteral("，此处应平")
                                       : QStringLiteral("，此处应仄"));
                if (prec && m.slot < prec->positions.size()) {
                    const PositionCount& pc = prec->positions[m.slot];
                    const int total = pc.level + pc.oblique + pc.unknown;
                    f.precedent.reserve(20);
                    f.precedent.append(QStringLiteral("此处")).append(prec->era);
                    f.precedent.append(u'人').append(QString::number(total));
                    f.precedent.append(QStringLiteral("首中"));
                    f.precedent.append(QString::number(isLevel ? pc.level : pc.oblique));
                    f.precedent.append(isLevel ? QStringLiteral("首用平")
                                               : QStringLiteral("首用仄"));
                    f.examples = pc.minority;
                }
                r.findings.append(std::move(f));
            }
        } else {
            m.status = Status::Uncertain;
            const QString ch = charString(c.ch);
            Finding f{.kind = Finding::Uncertain, .offset = c.offset, .length = c.length};
            if (tone == Tone::Both) {
                const QString senses = info ? info->senses : QString();
                f.message.reserve(24 + senses.size());
                f.message.append(u'「').append(ch).append(QStringLiteral("」平仄两读"));
                if (!senses.isEmpty())
                    f.message.append(u'（').append(senses).append(u'）');
            } else {
                f.message.reserve(24);
                f.message.append(u'「').append(ch).append(QStringLiteral("」的声调无从查证"));
            }
            f.message.append(level ? QStringLiteral("，此处应平，请自审")
                                   : QStringLiteral("，此处应仄，请自审"));
            r.findings.append(std::move(f));
        }
        r.marks.append(m);
    }
    r.findings.append(lengthFindings);

    // Rhymes: each run (with the lines noted 叶, where the standard puts both tones of a
    // group together) should stay within one group.
    const bool joinXie = req.standard != Standard::PingShui;
    QVarLengthArray<QVarLengthArray<int, 16>, 4> slotsOfRun(p.runs.size()); // run → rhyme cells
    for (qsizetype s = 0; s < p.cells.size(); ++s) {
        if (!isRhymeMark(p.cells[s].mark) || p.cells[s].segment < 0)
            continue;
        int run = p.cells[s].segment;
        if (joinXie && p.runs[run].parent >= 0)
            run = p.runs[run].parent;
        slotsOfRun[run].append(int(s));
    }
    for (int run = 0; run < slotsOfRun.size(); ++run) {
        if (slotsOfRun[run].isEmpty())
            continue;
        QVarLengthArray<std::pair<int, int>, 8> votes;     // key, count, in order of first sight
        QVarLengthArray<std::pair<int, Keys>, 16> present; // char index, keys
        for (int s : slotsOfRun[run]) {
            const int ci = charOfSlot[s];
            if (ci < 0)
                continue;
            const bool level = p.cells[s].mark == ToneMark::LevelRhyme;
            const Keys keys = rhymeKeys(ctx.lexicon.find(t.chars[ci].ch), req.standard, level);
            for (int k : keys) {
                auto v = std::find_if(votes.begin(), votes.end(),
                                      [k](const auto& e) { return e.first == k; });
                if (v == votes.end())
                    votes.append({k, 1});
                else
                    v->second += 1;
            }
            present.append({ci, keys});
        }
        if (present.isEmpty())
            continue;
        int best = -1;
        int bestVotes = 0;
        for (const auto& [k, n] : votes) {
            if (n > bestVotes) {
                best = k;
                bestVotes = n;
            }
        }
        RhymeReport report;
        report.group = best < 0 ? QStringLiteral("（未定）")
                                : groupLabel(best, req.standard, p.runs[run].level, ctx.lexicon);
        for (const auto& [ci, keys] : present) {
            const QString ch = charString(t.chars[ci].ch);
            report.chars += ch;
            if (keys.contains(best))
                continue;
            report.outside += ch;
            CharMark& mk = r.marks[ci];
            const TextChar& c = t.chars[ci];
            if (keys.isEmpty() && !ctx.lexicon.find(c.ch)) {
                r.findings.append(
                    {.kind = Finding::Uncertain,
                     .offset = c.offset,
                     .length = c.length,
                     .message = QStringLiteral("韵脚「%1」韵书未收，请自审").arg(ch)});
                continue;
            }
            mk.offRhyme = true;
            r.findings.append(
                {.kind = Finding::OffRhyme,
                 .offset = c.offset,
                 .length = c.length,
                 .message = QStringLiteral("韵脚「%1」不在%2，出韵").arg(ch, report.group)});
        }
        r.rhymes.append(report);
    }
    return r;
}

// 孤平, 三平尾, 粘 and 对 of a regulated poem whose every line is aligned.
void verseRules(const Ctx& ctx, const Pattern& p, const PoemText& t, const Request& req,
                Result& r) {
    QList<int> charOfSlot(p.cells.size(), -1);
    for (qsizetype i = 0; i < r.marks.size(); ++i) {
        if (r.marks[i].slot >= 0)
            charOfSlot[r.marks[i].slot] = int(i);
    }
    auto toneAt = [&](int slot) {
        const int ci = charOfSlot[slot];
        return ci < 0 ? Tone::Unknown : toneOf(ctx.lexicon.find(t.chars[ci].ch), req.standard);
    };
    auto lineFinding = [&](int line, const QString& what) {
        const int first = charOfSlot[p.lineStarts[line]];
        const int last = charOfSlot[p.lineStarts[line + 1] - 1];
        Finding f{.kind = Finding::Verse};
        if (first >= 0 && last >= 0) {
            f.offset = t.chars[first].offset;
            f.length = t.chars[last].offset + t.chars[last].length - f.offset;
        }
        f.message = QStringLiteral("第%1句%2").arg(line + 1).arg(what);
        r.findings.append(f);
    };
    const int lines = p.lineCount();
    for (int l = 0; l < lines; ++l) {
        const int a = p.lineStarts[l];
        const int len = p.lineLength(l);
        QList<Tone> tones;
        for (int s = a; s < a + len; ++s)
            tones.append(toneAt(s));
        if (p.cells[a + len - 1].mark == ToneMark::LevelRhyme && tones.last() == Tone::Level) {
            if (tones[len - 2] == Tone::Level && tones[len - 3] == Tone::Level)
                lineFinding(l, QStringLiteral("三平尾"));
            bool settled = true;
            int levels = 0;
            int at = -1;
            for (int i = 0; i < len - 1; ++i) {
                if (tones[i] == Tone::Level) {
                    ++levels;
                    at = i;
                } else if (tones[i] != Tone::Oblique) {
                    settled = false;
                }
            }
            if (settled && levels == 1 && at != len - 2)
                lineFinding(l, QStringLiteral("犯孤平（除韵脚外只有一个平声字）"));
        }
    }
    auto second = [&](int line) { return toneAt(p.lineStarts[line] + 1); };
    auto settled = [](Tone x) { return x == Tone::Level || x == Tone::Oblique; };
    for (int l = 1; l < lines; ++l) {
        const Tone prev = second(l - 1);
        const Tone cur = second(l);
        if (!settled(prev) || !settled(cur))
            continue;
        if (l % 2 == 1 && prev == cur)
            lineFinding(l, QStringLiteral("失对（第二字与上句同声）"));
        if (l % 2 == 0 && prev != cur)
            lineFinding(l, QStringLiteral("失粘（第二字与上句异声）"));
    }
}

int clashCount(const Result& r) {
    return r.count(Status::Clash);
}

} // namespace

QList<TextChar> poemChars(QStringView text) {
    return readPoem(text).chars;
}

bool Result::keeps() const {
    for (const Finding& f : findings) {
        switch (f.kind) {
        case Finding::Clash:
        case Finding::OffRhyme:
        case Finding::Length:
        case Finding::Verse:
            return false;
        default:
            break;
        }
    }
    return true;
}

int Result::count(Status s) const {
    return int(std::count_if(marks.cbegin(), marks.cend(),
                             [s](const CharMark& m) { return m.status == s; }));
}

const Pattern& Checker::parsed(const QString& templateText) const {
    auto it = patterns_.find(templateText);
    if (it == patterns_.end())
        it = patterns_.insert(templateText, Pattern::parse(templateText));
    return *it;
}

Result Checker::check(const Request& req) const {
    const Ctx ctx{lexicon_, precedent_};
    const PoemText text = readPoem(req.text);
    const Pattern& pattern = parsed(req.templateText);
    Result r = checkOnce(ctx, pattern, text, req);
    if (!pattern.verseShape() || text.chars.size() != pattern.cells.size())
        return r;

    // Regulated verse: of the four openings of this form, the one the poem fits best.
    const catalogue::VersePattern* chosen = nullptr;
    for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
        if (v.templateText == req.templateText)
            chosen = &v;
    }
    if (chosen) {
        const catalogue::VersePattern* best = chosen;
        int bestClashes = clashCount(r);
        Result bestResult = r;
        for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
            if (&v == chosen || v.templateText.size() != chosen->templateText.size())
                continue;
            Request other = req;
            other.templateText = v.templateText;
            other.patternKey = patternKey(v);
            Result tried = checkOnce(ctx, parsed(v.templateText), text, other);
            if (clashCount(tried) < bestClashes) {
                best = &v;
                bestClashes = clashCount(tried);
                bestResult = std::move(tried);
            }
        }
        r = std::move(bestResult);
        r.form = best->label;
        if (best != chosen)
            r.findings.prepend(
                {.kind = Finding::Form,
                 .message = QStringLiteral("此诗更合「%1」，按此格检查").arg(best->label)});
    }
    const catalogue::VersePattern* used = chosen;
    if (chosen && !r.form.isEmpty()) {
        for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
            if (v.label == r.form)
                used = &v;
        }
    }
    verseRules(ctx, used ? parsed(used->templateText) : pattern, text, req, r);
    return r;
}

} // namespace checker
