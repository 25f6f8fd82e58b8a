#include "checker/core/checker.h"

#include "rhyme/core/rhyme_book.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <climits>

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

// The clause as the message quotes it: a long one is cut after twelve characters.
QString clauseText(const QList<TextChar>& chars, int a, int b) {
    QString s;
    for (int i = a; i < std::min(b, a + 12); ++i)
        s += QString::fromUcs4(&chars[i].ch, 1);
    return b - a > 12 ? s + u'…' : s;
}

// Aligns the poem's characters with the template's slots by the fewest edits: a character
// missing or extra costs most, a settled tone against a strict mark less, a clause end
// where the template has none (or none where it has one) least. So a clause too long or too
// short takes its gap inside itself and the rest of the poem stays in place.
class Aligner {
  public:
    Aligner(const Pattern& p, const PoemText& t, QList<int>& slotOf, QList<Finding>& findings)
        : p_(p), t_(t), slotOf_(slotOf), findings_(findings) {}

    // `toneCost(char index, slot)` is 1 where the character's settled tone clashes.
    template <typename ToneCost> void run(ToneCost toneCost) {
        const int n = int(p_.cells.size());
        const int m = int(t_.chars.size());
        QList<bool> textEnd(m, false);
        for (int s : t_.clauseStarts) {
            if (s > 0)
                textEnd[s - 1] = true;
        }
        QList<bool> slotEnd(n, false);
        for (int s : p_.lineStarts) {
            if (s > 0)
                slotEnd[s - 1] = true;
        }
        if (n == m && textEnd == slotEnd)
            return map(0, 0, n);

        // Banded edit distance around the diagonal; a band as wide as the difference in
        // length and then some holds any alignment worth having.
        constexpr int kGap = 6;
        const int w = std::abs(n - m) + 24;
        const int width = 2 * w + 1;
        if (qint64(m + 1) * width > (qint64(1) << 20)) {
            // Lengths too far apart for any alignment to mean much: in order, and said so.
            map(0, 0, std::min(n, m));
            edits_ = std::abs(n - m);
            Finding f{.kind = Finding::Length};
            f.message =
                m > n ? QStringLiteral("全篇比词谱多%1字：按字序对齐，多出的字未查").arg(m - n)
                      : QStringLiteral("全篇比词谱少%1字：按字序对齐").arg(n - m);
            findings_.append(f);
            return;
        }
        auto centre = [&](int i) { return m == 0 ? 0 : int((qint64(i) * n + m / 2) / m); };
        constexpr int kInf = 1 << 28;
        QList<int> cost(qsizetype(m + 1) * width, kInf);
        QList<char> step(qsizetype(m + 1) * width, 0); // 'm' match, 'x' extra char, 'g' gap
        auto at = [&](int i, int j) -> qsizetype {
            const int d = j - centre(i) + w;
            return d < 0 || d >= width ? -1 : qsizetype(i) * width + d;
        };
        for (int i = 0; i <= m; ++i) {
            const int c = centre(i);
            for (int j = std::max(0, c - w); j <= std::min(n, c + w); ++j) {
                const qsizetype k = at(i, j);
                if (i == 0 && j == 0) {
                    cost[k] = 0;
                    continue;
                }
                int best = kInf;
                char how = 0;
                if (i > 0 && j > 0) {
                    const qsizetype q = at(i - 1, j - 1);
                    if (q >= 0 && cost[q] < kInf) {
                        int v = cost[q] + 2 * toneCost(i - 1, j - 1);
                        if (textEnd[i - 1] != slotEnd[j - 1])
                            v += 1;
                        if (v < best)
                            best = v, how = 'm';
                    }
                }
                if (i > 0) {
                    const qsizetype q = at(i - 1, j);
                    if (q >= 0 && cost[q] + kGap < best)
                        best = cost[q] + kGap, how = 'x';
                }
                if (j > 0) {
                    const qsizetype q = at(i, j - 1);
                    if (q >= 0 && cost[q] + kGap < best)
                        best = cost[q] + kGap, how = 'g';
                }
                cost[k] = best;
                step[k] = how;
            }
        }
        if (at(m, n) < 0 || cost[at(m, n)] >= kInf) {
            map(0, 0, std::min(n, m));
            return;
        }
        // Back along the path: the slot of each character, the gaps by template line.
        QList<int> missing(p_.lineCount(), 0);
        QList<QList<int>> extra(p_.lineCount());
        for (int i = m, j = n; i > 0 || j > 0;) {
            const char how = step[at(i, j)];
            if (how == 'm') {
                slotOf_[i - 1] = j - 1;
                --i, --j;
            } else if (how == 'x') {
                const int line = j > 0 ? p_.cells[j - 1].line : 0;
                extra[line].prepend(i - 1);
                --i;
            } else {
                missing[p_.cells[j - 1].line] += 1;
                --j;
            }
        }
        for (int l = 0; l < p_.lineCount(); ++l) {
            if (missing[l] || !extra[l].isEmpty())
                report(l, missing[l], extra[l]);
        }
    }

    int edits() const { return edits_; }

  private:
    void map(int slot, int ch, int count) {
        for (int i = 0; i < count; ++i)
            slotOf_[ch + i] = slot + i;
    }

    // One line with characters missing or extra: names the clause and what is off.
    void report(int line, int missing, const QList<int>& extra) {
        edits_ += missing + int(extra.size());
        int first = -1, last = -1;
        for (int i = 0; i < slotOf_.size(); ++i) {
            const bool inLine =
                (slotOf_[i] >= 0 && p_.cells[slotOf_[i]].line == line) || extra.contains(i);
            if (inLine) {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
        Finding f{.kind = Finding::Length};
        QString what;
        if (!extra.isEmpty()) {
            QString chars;
            for (int i : extra)
                chars += QString::fromUcs4(&t_.chars[i].ch, 1);
            what = QStringLiteral("多「%1」").arg(chars);
            f.offset = t_.chars[extra.first()].offset;
            f.length = t_.chars[extra.last()].offset + t_.chars[extra.last()].length - f.offset;
        }
        if (missing)
            what += QStringLiteral("少%1字").arg(missing);
        QString clause;
        if (first >= 0) {
            clause = u'「' + clauseText(t_.chars, first, last + 1) + u'」';
            if (extra.isEmpty()) {
                f.offset = t_.chars[first].offset;
                f.length = t_.chars[last].offset + t_.chars[last].length - f.offset;
            }
        }
        f.message = QStringLiteral("第%1句%2%3（词谱%4字），其余照常对齐")
                        .arg(line + 1)
                        .arg(clause, what)
                        .arg(p_.lineLength(line));
        findings_.append(f);
    }

    const Pattern& p_;
    const PoemText& t_;
    QList<int>& slotOf_;
    QList<Finding>& findings_;
    int edits_ = 0;
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
    const Simplifier* simplifier;
    const Forms* forms;
    // A character as it stands, else its simplified form: the user's traditional text is
    // looked up in the simplified books.
    const CharInfo* find(char32_t c) const {
        const CharInfo* info = lexicon.find(c);
        if (!info && simplifier)
            info = lexicon.find(simplifier->simplified(c));
        return info;
    }
};

// A clash is lenient where at least this share of the poets who fit the form took the tone
// used here, and at least kLenientTaken of them, over at least kLenientPoems poems: a tone a
// tenth of the Song poets chose at a place is their practice there, not a slip.
constexpr double kLenientShare = 0.1;
constexpr int kLenientPoems = 5;
constexpr int kLenientTaken = 3;
// A clash is also lenient where the Song poets put this very character in the tone used here
// at least this share of its places of fixed tone (over kCharUsesSeen places): a reading the
// rhyme books do not give it (拈 as 仄), or an 入声 character standing for a 平 one (一, 十).
constexpr double kCharUseShare = 0.15;
constexpr int kCharUsesSeen = 20;

// A poem more characters than this (or an eighth of the shortest form) outside the lengths
// of a tune's forms is most likely of another tune.
constexpr int kFarOff = 4;

// A rhyme the form marks is optional where at least this share of its poems (and
// kLenientTaken of them) rhyme there with neither the group nor a part the poets rhyme with
// it: an inner rhyme (句中韵) many leave out. Stricter than for tones, since a rhyme is the
// frame of the form.
constexpr double kUnrhymedShare = 0.2;

// How the poets used a polyphone: the share of its uses in a tone, -1 when they hardly show
// it, and whose uses those are. The ci standard looks at the Song ci first, verse at the
// Tang strains.
struct Lean {
    double share = -1;
    const char16_t* era = u"";
};
Lean leanOf(const CharInfo* info, Standard standard, bool level) {
    if (!info)
        return {};
    auto shareOf = [level](int lv, int ob) { return double(level ? lv : ob) / (lv + ob); };
    const bool songFirst = standard != Standard::PingShui;
    if (songFirst && info->ciLevel + info->ciOblique >= 10)
        return {shareOf(info->ciLevel, info->ciOblique), u"宋词"};
    if (info->strainsLevel + info->strainsOblique >= 10)
        return {shareOf(info->strainsLevel, info->strainsOblique), u"唐诗"};
    if (info->ciLevel + info->ciOblique >= 10)
        return {shareOf(info->ciLevel, info->ciOblique), u"宋词"};
    return {};
}

Result checkOnce(const Ctx& ctx, const Pattern& p, const PoemText& t, const Request& req,
                 const QString& precedentKey, int* edits = nullptr) {
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
    Aligner aligner(p, t, slotOf, lengthFindings);
    aligner.run([&](int ci, int slot) {
        const ToneMark mark = p.cells[slot].mark;
        if (mark == ToneMark::Either)
            return 0;
        const Tone tone = toneOf(ctx.find(t.chars[ci].ch), req.standard);
        if (tone != Tone::Level && tone != Tone::Oblique)
            return 0;
        return (tone == Tone::Level) == wantsLevel(mark) ? 0 : 1;
    });
    if (edits)
        *edits = aligner.edits();

    const PatternPrecedent* prec =
        precedentKey.isEmpty() ? nullptr : ctx.precedent.find(precedentKey);
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
        const CharInfo* info = ctx.find(c.ch);
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
                    const int settled = pc.level + pc.oblique;
                    const int taken = isLevel ? pc.level : pc.oblique;
                    f.lenient = settled >= kLenientPoems && taken >= kLenientTaken &&
                                taken >= kLenientShare * settled;
                }
                const int uses = info->ciLevel + info->ciOblique;
                const int usedSo = level ? info->ciLevel : info->ciOblique; // as this place asks
                if (!f.lenient && req.standard == Standard::CiYun && uses >= kCharUsesSeen &&
                    usedSo >= kCharUseShare * uses) {
                    // The character's own use, where the place's does not excuse it.
                    f.lenient = true;
                    const bool enteringForLevel = level && info->classical == kEntering;
                    if (!f.precedent.isEmpty())
                        f.precedent.append(u'；');
                    f.precedent +=
                        QStringLiteral("宋词定声之处用「%1」%2次，%3次作%4%5")
                            .arg(ch)
                            .arg(uses)
                            .arg(usedSo)
                            .arg(QChar(level ? u'平' : u'仄'))
                            .arg(enteringForLevel ? QStringLiteral("（入声代平）") : QString());
                }
                if (f.lenient) {
                    f.message.prepend(QStringLiteral("宽："));
                    m.lenient = true;
                }
                r.findings.append(std::move(f));
            }
        } else if (tone == Tone::Both && leanOf(info, req.standard, level).share >= 0.5) {
            // Two readings, and the one this place asks for is the one the poets mostly use.
            m.status = Status::Ok;
        } else {
            m.status = Status::Uncertain;
            const QString ch = charString(c.ch);
            Finding f{.kind = Finding::Uncertain, .offset = c.offset, .length = c.length};
            if (tone == Tone::Both) {
                const QString senses = info ? info->senses : QString();
                f.message.reserve(32 + senses.size());
                f.message.append(u'「').append(ch).append(QStringLiteral("」平仄两读"));
                if (!senses.isEmpty())
                    f.message.append(u'（').append(senses).append(u'）');
                const Lean other = leanOf(info, req.standard, !level);
                if (other.share >= 0.5)
                    f.message.append(u'，')
                        .append(QStringView(other.era))
                        .append(level ? QStringLiteral("中多读仄") : QStringLiteral("中多读平"));
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
            const Keys keys = rhymeKeys(ctx.find(t.chars[ci].ch), req.standard, level);
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
            const CharInfo* known = ctx.find(c.ch);
            if (keys.isEmpty() && (!known || known->readings.isEmpty())) {
                r.findings.append(
                    {.kind = Finding::Uncertain,
                     .offset = c.offset,
                     .length = c.length,
                     .message = QStringLiteral("韵脚「%1」韵书未收，请自审").arg(ch)});
                continue;
            }
            // An off rhyme the Song poets often allowed: 宽, reported but not failing.
            auto lenient = [&](const QString& message, const QString& precedent = {}) {
                Finding f{.kind = Finding::OffRhyme,
                          .offset = c.offset,
                          .length = c.length,
                          .message = message,
                          .precedent = precedent,
                          .lenient = true};
                r.findings.append(std::move(f));
                mk.lenient = true;
                report.outside.chop(ch.size());
            };
            const bool songUse = ctx.forms && req.standard == Standard::CiYun && best >= 0;
            if (songUse && std::any_of(keys.begin(), keys.end(), [&](int k) {
                    return ctx.forms->mixed(best, k) || ctx.forms->mixed(k, best);
                })) {
                // A part the Song poets often rhyme with this one, either way round.
                lenient(
                    QStringLiteral("宽：韵脚「%1」不在%2，宋人常与此部通押").arg(ch, report.group));
                continue;
            }
            if (const int times = songUse ? ctx.forms->rhymedIn(c.ch, best) : 0) {
                // The books put it elsewhere, but the Song poets rhymed it with this part.
                lenient(QStringLiteral("宽：韵脚「%1」不在%2，宋人以此字押此部%3次")
                            .arg(ch, report.group)
                            .arg(times));
                continue;
            }
            const int s = mk.slot;
            if (prec && s >= 0 && s < prec->positions.size() && req.standard == Standard::CiYun) {
                // A rhyme the form marks that many of its poets left unrhymed.
                const PositionCount& pc = prec->positions[s];
                const int poems = pc.level + pc.oblique + pc.unknown;
                if (pc.unrhymed >= kLenientTaken && pc.unrhymed >= kUnrhymedShare * poems) {
                    lenient(QStringLiteral("宽：「%1」不在%2，此处可不押韵").arg(ch, report.group),
                            QStringLiteral("此处%1人%2首中%3首不押韵")
                                .arg(prec->era)
                                .arg(poems)
                                .arg(pc.unrhymed));
                    continue;
                }
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

// The rescues (拗救) the Tang poets allowed: a clash they make good elsewhere in the line or
// in the next line is no fault, and is named as what it is.
void acceptRescues(const Ctx& ctx, const Pattern& p, const PoemText& t, const Request& req,
                   Result& r) {
    QList<int> charOfSlot(p.cells.size(), -1);
    for (qsizetype i = 0; i < r.marks.size(); ++i) {
        if (r.marks[i].slot >= 0)
            charOfSlot[r.marks[i].slot] = int(i);
    }
    auto tone = [&](int slot) {
        const int ci = charOfSlot[slot];
        return ci < 0 ? Tone::Unknown : toneOf(ctx.find(t.chars[ci].ch), req.standard);
    };
    auto wants = [&](int slot) { return wantsLevel(p.cells[slot].mark); };
    auto clash = [&](int slot) {
        const int ci = charOfSlot[slot];
        return ci >= 0 && r.marks[ci].status == Status::Clash;
    };
    // Turns the clashes at these slots into one note.
    auto accept = [&](std::initializer_list<int> cells, int line, const QString& what) {
        for (int slot : cells) {
            if (!clash(slot))
                continue;
            CharMark& m = r.marks[charOfSlot[slot]];
            m.status = Status::Ok;
            r.findings.removeIf(
                [&](const Finding& f) { return f.kind == Finding::Clash && f.offset == m.offset; });
        }
        Finding f{.kind = Finding::Note};
        f.message = QStringLiteral("第%1句%2").arg(line + 1).arg(what);
        r.findings.append(f);
    };
    const int lines = p.lineCount();
    // 孤雁出群: a first line rhyming on a neighbouring rhyme (one of the same 词韵 part as the
    // last line's rhyme) is a licence, not a fault.
    if (lines > 1 && req.standard == Standard::PingShui) {
        const int first = charOfSlot[p.lineStarts[1] - 1];
        const int last = charOfSlot[p.cells.size() - 1];
        if (first >= 0 && last >= 0 && r.marks[first].offRhyme) {
            const Keys mine = rhymeKeys(ctx.find(t.chars[first].ch), Standard::CiYun, true);
            const Keys theirs = rhymeKeys(ctx.find(t.chars[last].ch), Standard::CiYun, true);
            if (std::any_of(mine.begin(), mine.end(), [&](int k) { return theirs.contains(k); })) {
                CharMark& m = r.marks[first];
                m.offRhyme = false;
                r.findings.removeIf([&](const Finding& f) {
                    return f.kind == Finding::OffRhyme && f.offset == m.offset;
                });
                const QString ch = charString(m.ch);
                for (RhymeReport& rr : r.rhymes)
                    rr.outside.remove(ch);
                r.findings.append(
                    {.kind = Finding::Note,
                     .offset = m.offset,
                     .length = m.length,
                     .message =
                         QStringLiteral("首句韵脚「%1」用邻韵（孤雁出群），不算出韵").arg(ch)});
            }
        }
    }
    for (int l = 0; l < lines; ++l) {
        const int len = p.lineLength(l);
        if (len != 5 && len != 7)
            continue;
        const int a = p.lineStarts[l] + len - 5; // the line's last five characters
        // 平平仄平仄 for 平平平仄仄: the third and fourth change places.
        if (wants(a + 2) && !wants(a + 3) && !wants(a + 4) && clash(a + 2) && clash(a + 3) &&
            tone(a + 1) == Tone::Level) {
            accept({a + 2, a + 3}, l,
                   QStringLiteral("用「平平仄平仄」的特定句式（拗句），不算失律"));
            continue;
        }
        // 孤平拗救: 仄平平仄平 for 平平仄仄平, the third 平 making up for the first.
        if (p.cells[a + 4].mark == ToneMark::LevelRhyme && !wants(a + 2) && clash(a + 2) &&
            tone(a) == Tone::Oblique && tone(a + 1) == Tone::Level &&
            tone(a + 3) == Tone::Oblique) {
            accept({a + 2}, l, QStringLiteral("第一字仄、第三字平：孤平拗救，不算失律"));
            continue;
        }
        // 对句相救: the fourth of an oblique-ending line turned 仄, the next line's third 平.
        if (l + 1 < lines && p.lineLength(l + 1) == len && wants(a + 3) && clash(a + 3) &&
            !wants(a + 4)) {
            const int b = p.lineStarts[l + 1] + len - 5;
            const bool free = p.cells[b + 2].mark == ToneMark::Either;
            if ((free || !wants(b + 2)) && tone(b + 2) == Tone::Level && (free || clash(b + 2))) {
                accept({a + 3, b + 2}, l,
                       QStringLiteral("第四字拗，下句第三字用平相救（对句相救），不算失律"));
                ++l;
            }
        }
    }
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
        return ci < 0 ? Tone::Unknown : toneOf(ctx.find(t.chars[ci].ch), req.standard);
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
            if (!f.lenient)
                return false;
            break;
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

const Pattern& Checker::parsed(const QString& templateText, const QString& plan) const {
    const QString key = plan.isEmpty() ? templateText : templateText + u'\n' + plan;
    auto it = patterns_.find(key);
    if (it == patterns_.end())
        it = patterns_.insert(key, Pattern::parse(templateText, plan));
    return *it;
}

namespace {

// The faults that fail a poem.
int failures(const Result& r) {
    int n = 0;
    for (const Finding& f : r.findings) {
        n += !f.lenient &&
             (f.kind == Finding::Clash || f.kind == Finding::OffRhyme || f.kind == Finding::Verse);
    }
    return n;
}

} // namespace

// A clash the form of the poem's choice makes at a place where another form of the same
// shape (the same lines, the same lengths) has the tone used, or leaves it free, is 宽: the
// pattern books list such forms because good poems differ there.
void Checker::excuseByOtherForms(Result& r, const QList<Form>& forms, int chosen) const {
    const Pattern& own = parsed(forms[chosen].templateText, forms[chosen].plan);
    QList<const Pattern*> alike(forms.size(), nullptr);
    for (int i = 0; i < forms.size(); ++i) {
        const Pattern& p = parsed(forms[i].templateText, forms[i].plan);
        if (i != chosen && p.cells.size() == own.cells.size() && p.lineStarts == own.lineStarts)
            alike[i] = &p;
    }
    for (Finding& f : r.findings) {
        if (f.kind != Finding::Clash || f.lenient)
            continue;
        auto mark = std::find_if(r.marks.begin(), r.marks.end(),
                                 [&](const CharMark& m) { return m.offset == f.offset; });
        if (mark == r.marks.end() || mark->slot < 0 || mark->slot >= own.cells.size())
            continue;
        const int s = mark->slot;
        const bool usedLevel = !wantsLevel(own.cells[s].mark); // a clash: the other tone
        for (int i = 0; i < forms.size(); ++i) {
            if (!alike[i])
                continue;
            const ToneMark other = alike[i]->cells[s].mark;
            const bool free = other == ToneMark::Either;
            if (!free && wantsLevel(other) != usedLevel)
                continue;
            f.lenient = true;
            mark->lenient = true;
            f.message.prepend(QStringLiteral("宽："));
            if (!f.precedent.isEmpty())
                f.precedent.append(u'；');
            f.precedent += forms[i].label + (free        ? QStringLiteral("此处可平可仄")
                                             : usedLevel ? QStringLiteral("此处作平")
                                                         : QStringLiteral("此处作仄"));
            break;
        }
    }
}

Result Checker::check(const Request& req) const {
    const Ctx ctx{lexicon_, precedent_, simplifier_, forms_};
    const PoemText text = readPoem(req.text);

    // A tune of several forms: the one asked for, else the one the poem fits best.
    QList<Form> forms;
    if (forms_ && !req.patternKey.isEmpty())
        forms = forms_->forms(req.patternKey);
    if (!forms.isEmpty() && forms.first().templateText != req.templateText)
        forms.clear(); // a template of the user's own: checked as it stands
    if (!forms.isEmpty()) {
        forms.first().precedentKey = req.patternKey;
        const int m = int(text.chars.size());
        QList<int> order;
        if (req.form >= 0 && req.form < forms.size()) {
            order.append(req.form);
        } else {
            for (int i = 0; i < forms.size(); ++i)
                order.append(i);
            QList<int> diff(forms.size());
            for (int i = 0; i < forms.size(); ++i)
                diff[i] =
                    std::abs(int(parsed(forms[i].templateText, forms[i].plan).cells.size()) - m);
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return diff[a] < diff[b]; });
        }
        Result best;
        int bestIndex = -1;
        std::array<int, 3> bestScore{};
        for (int i : order) {
            const Pattern& p = parsed(forms[i].templateText, forms[i].plan);
            if (bestIndex >= 0 && std::abs(int(p.cells.size()) - m) > bestScore[0])
                break; // no fewer edits possible from here on
            int edits = 0;
            Result tried = checkOnce(ctx, p, text, req, forms[i].precedentKey, &edits);
            const std::array<int, 3> score{edits, failures(tried), tried.count(Status::Uncertain)};
            if (bestIndex < 0 || score < bestScore) {
                best = std::move(tried);
                bestIndex = i;
                bestScore = score;
            }
        }
        for (const Form& f : forms)
            best.forms.append(f.label);
        best.formIndex = bestIndex;
        best.form = forms[bestIndex].label;
        if (req.form < 0)
            excuseByOtherForms(best, forms, bestIndex);
        // Far from every form's length: most likely another tune filed under the same name
        // (乌夜啼 is also 相见欢's), which clause-by-clause findings would only blur.
        int shortest = INT_MAX, longest = 0;
        for (const Form& f : forms) {
            const int n = int(parsed(f.templateText, f.plan).cells.size());
            shortest = std::min(shortest, n);
            longest = std::max(longest, n);
        }
        const int off = m < shortest ? shortest - m : m > longest ? m - longest : 0;
        if (off > std::max(kFarOff, shortest / 8)) {
            best.findings.removeIf([](const Finding& f) { return f.kind == Finding::Length; });
            best.findings.prepend(
                {.kind = Finding::Length,
                 .message = (shortest == longest
                                 ? QStringLiteral("全篇%1字，此调%2字").arg(m).arg(shortest)
                                 : QStringLiteral("全篇%1字，此调各体%2至%3字")
                                       .arg(m)
                                       .arg(shortest)
                                       .arg(longest)) +
                            QStringLiteral("：恐非此调（或为同名的另一调），按最近一体对齐")});
        }
        return best;
    }

    const Pattern& pattern = parsed(req.templateText);
    Result r = checkOnce(ctx, pattern, text, req, req.patternKey);
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
            Result tried = checkOnce(ctx, parsed(v.templateText), text, other, other.patternKey);
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
    const Pattern& usedPattern = used ? parsed(used->templateText) : pattern;
    acceptRescues(ctx, usedPattern, text, req, r);
    verseRules(ctx, usedPattern, text, req, r);
    return r;
}

} // namespace checker
