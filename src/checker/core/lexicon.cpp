#include "checker/core/lexicon.h"

#include "checker/core/data_file.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace checker {

namespace {

unsigned char classicalBits(QStringView letters) {
    unsigned char bits = 0;
    for (QChar l : letters) {
        if (l == u'P')
            bits |= kLevel;
        else if (l == u'S')
            bits |= kRisingDeparting;
        else if (l == u'R')
            bits |= kEntering;
        else if (l == u'Z')
            bits |= kObliqueOnly;
    }
    return bits;
}

QString classicalLetters(unsigned char bits) {
    QString out;
    if (bits & kLevel)
        out += u'P';
    if (bits & kRisingDeparting)
        out += u'S';
    if (bits & kEntering)
        out += u'R';
    if (bits & kObliqueOnly)
        out += u'Z';
    return out;
}

QList<int> intList(QStringView s) {
    QList<int> out;
    for (QStringView part : s.split(u',', Qt::SkipEmptyParts))
        out.append(part.toInt());
    return out;
}

// The letters of the sources column: B book, P 平水韵 table, C 词林正韵 table, Y the
// excerpt of a second 平水韵 table, S strains.
constexpr std::pair<char16_t, ToneSource> kSourceLetters[] = {
    {u'B', kSourceBook},    {u'P', kSourcePingshui}, {u'C', kSourceCilin},
    {u'Y', kSourceExcerpt}, {u'S', kSourceStrains},
};

QString joinInts(const QList<int>& list) {
    QStringList parts;
    for (int v : list)
        parts.append(QString::number(v));
    return parts.join(u',');
}

} // namespace

QString toneNames(unsigned char classical) {
    QStringList names;
    if (classical & kLevel)
        names.append(QStringLiteral("平"));
    if (classical & kRisingDeparting)
        names.append(QStringLiteral("上去"));
    if (classical & kEntering)
        names.append(QStringLiteral("入"));
    if (classical & kObliqueOnly)
        names.append(QStringLiteral("仄"));
    return names.join(u'/');
}

QString sourceNames(unsigned char sources) {
    QStringList names;
    if (sources & kSourceBook)
        names.append(QStringLiteral("词韵简编"));
    if (sources & (kSourcePingshui | kSourceExcerpt))
        names.append(QStringLiteral("平水韵表"));
    if (sources & kSourceCilin)
        names.append(QStringLiteral("词林正韵表"));
    if (sources & kSourceStrains)
        names.append(QStringLiteral("唐诗声律"));
    return names.join(u'、');
}

QString Lexicon::line(char32_t c, const CharInfo& info) {
    QStringList readings;
    for (const Reading& r : info.readings)
        readings.append(classicalLetters(r.tone) + u':' + r.pingshui + u':' +
                        QString::number(r.ciEntry) + u':' + r.sense);
    QString flags;
    if (info.fromStrains)
        flags += u's';
    if (info.uncertain)
        flags += u'u';
    QString sources;
    for (const auto& [letter, bit] : kSourceLetters) {
        if (info.sources & bit)
            sources += QChar(letter);
    }
    QString modern;
    if (info.modern & kModernLevel)
        modern += u'P';
    if (info.modern & kModernOblique)
        modern += u'Z';
    return QStringList{QString::fromUcs4(&c, 1),
                       classicalLetters(info.classical),
                       modern,
                       readings.join(u';'),
                       joinInts(info.xinyun),
                       joinInts(info.xiandai),
                       QString::number(info.strainsLevel) + u'/' +
                           QString::number(info.strainsOblique),
                       flags,
                       sources,
                       QString::number(info.ciLevel) + u'/' + QString::number(info.ciOblique)}
        .join(u'\t');
}

Lexicon Lexicon::fromText(const QByteArray& utf8) {
    // Only each line's character is read here; the rest of a line when it is asked for.
    Lexicon lex;
    lex.text_ = utf8;
    const char* t = lex.text_.constData();
    const qsizetype size = lex.text_.size();
    for (qsizetype at = 0; at < size;) {
        const char* nl = static_cast<const char*>(std::memchr(t + at, '\n', size_t(size - at)));
        const qsizetype end = nl ? nl - t : size;
        const char* line = t + at;
        const char* tab = static_cast<const char*>(std::memchr(line, '\t', size_t(end - at)));
        // A line of fewer than eight fields is passed over when it is asked for (readLine).
        if (end > at && *line != '#' && tab) {
            const char32_t c = firstCodePoint(line, tab - line);
            if (c && firstCodePointLength(c) == tab - line) {
                lex.lines_.push_back({int(at), int(end - at)});
                lex.index(c, int(lex.lines_.size()) - 1);
            }
        }
        at = end + 1;
    }
    lex.read_ = std::make_unique<std::atomic<const CharInfo*>[]>(lex.lines_.size());
    return lex;
}

const CharInfo* Lexicon::unreadable() {
    static const CharInfo none;
    return &none;
}

QStringList Lexicon::pingshuiNames() const {
    const std::lock_guard lock(*reading_);
    return pingshuiNames_;
}

const CharInfo* Lexicon::readLine(int i) const {
    const std::lock_guard lock(*reading_);
    if (const CharInfo* done = read_[size_t(i)].load(std::memory_order_relaxed))
        return done; // another thread read it while this one waited
    const auto [from, length] = lines_[size_t(i)];
    const QString text = QString::fromUtf8(text_.constData() + from, length);
    const QList<QStringView> f = QStringView(text).split(u'\t');
    if (f.size() < 8) {
        read_[size_t(i)].store(unreadable(), std::memory_order_release);
        return unreadable();
    }
    CharInfo& info = infos_.emplace_back();
    info.classical = classicalBits(f[1]);
    for (QChar l : f[2])
        info.modern |= l == u'P' ? kModernLevel : l == u'Z' ? kModernOblique : 0;
    for (QStringView r : f[3].split(u';', Qt::SkipEmptyParts)) {
        const QList<QStringView> p = r.split(u':');
        if (p.size() < 4)
            continue;
        info.readings.append({.tone = classicalBits(p[0]),
                              .sense = p[3].toString(),
                              .pingshui = p[1].toString(),
                              .ciEntry = p[2].toInt()});
    }
    info.xinyun = intList(f[4]);
    info.xiandai = intList(f[5]);
    const qsizetype slash = f[6].indexOf(u'/');
    if (slash > 0) {
        info.strainsLevel = f[6].left(slash).toInt();
        info.strainsOblique = f[6].mid(slash + 1).toInt();
    }
    info.fromStrains = f[7].contains(u's');
    info.uncertain = f[7].contains(u'u');
    // Files written before the sources column: the book's characters are the ones
    // with readings.
    if (f.size() > 8) {
        for (const auto& [letter, bit] : kSourceLetters) {
            if (f[8].contains(QChar(letter)))
                info.sources |= bit;
        }
    } else {
        info.sources =
            (info.readings.isEmpty() ? 0 : kSourceBook) | (info.fromStrains ? kSourceStrains : 0);
    }
    if (f.size() > 9) {
        const qsizetype ciSlash = f[9].indexOf(u'/');
        if (ciSlash > 0) {
            info.ciLevel = f[9].left(ciSlash).toInt();
            info.ciOblique = f[9].mid(ciSlash + 1).toInt();
        }
    }
    const int ciSeen = info.ciLevel + info.ciOblique;
    const int seen = info.strainsLevel + info.strainsOblique;
    if (ciSeen >= kShareMinSeen)
        info.levelShare = float(info.ciLevel) / float(ciSeen);
    else if (seen >= kShareMinSeen)
        info.levelShare = float(info.strainsLevel) / float(seen);
    finish(info);
    read_[size_t(i)].store(&info, std::memory_order_release);
    return &info;
}

void Lexicon::index(char32_t c, int i) {
    if (c < 0x10000) {
        if (bmp_.empty())
            bmp_.assign(0x10000, -1);
        bmp_[c] = i;
    } else {
        astral_.insert(c, i);
    }
}

void Lexicon::finish(CharInfo& info) const {
    QStringList level;
    QStringList oblique;
    for (Reading& r : info.readings) {
        if (!r.pingshui.isEmpty()) {
            auto id = pingshuiIds_.constFind(r.pingshui);
            if (id == pingshuiIds_.cend()) {
                id = pingshuiIds_.insert(r.pingshui, int(pingshuiNames_.size()));
                // A new list, not the old one grown in place: a copy pingshuiNames() gave
                // out may still be read on another thread.
                QStringList grown = pingshuiNames_;
                grown.append(r.pingshui);
                pingshuiNames_ = std::move(grown);
            }
            r.pingshuiId = *id;
        }
        QStringList& to = (r.tone & kLevel) ? level : oblique;
        if (!r.sense.isEmpty() && !to.contains(r.sense))
            to.append(r.sense);
    }
    QStringList parts;
    if (!level.isEmpty())
        parts.append(QStringLiteral("平：") + level.join(u'、'));
    if (!oblique.isEmpty())
        parts.append(QStringLiteral("仄：") + oblique.join(u'、'));
    info.senses = parts.join(u'；');
}

Lexicon Lexicon::load(const QString& dir) {
    MappedText mapped = mapDataFile(dir + QStringLiteral("/lexicon.dat"));
    Lexicon lex = fromText(mapped.text);
    lex.mapped_ = std::move(mapped.file);
    return lex;
}

} // namespace checker
