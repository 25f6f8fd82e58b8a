#include "rhyme/core/rhyme_book.h"

#include "rhyme/core/rhyme_raw.h"

#include <QStringList>
#include <span>

namespace rhyme {

namespace {

struct Book {
    QList<RhymeGroup> groups;
    QList<RhymePair> pairs;
};

Book load(std::span<const raw::Entry> entries) {
    Book book;
    for (const raw::Entry& e : entries) {
        const auto tone = static_cast<RhymeTone>(e.tone);
        book.groups.append(
            RhymeGroup{QString::fromUtf8(e.name), tone, wrap(e.text), QString::fromUtf8(e.finals)});
        if (*e.split) {
            const int level = int(book.groups.size()) - 1;
            book.pairs.append(RhymePair{QString::fromUtf8(e.split), level, level + 1});
        }
    }
    return book;
}

// Not const: Qt gives a wrapped text a copy of its own when asked for its buffer by
// utf16().
const Book& book(RhymeSystem system) {
    static Book books[3] = {load(raw::ciyun), load(raw::xinyun), load(raw::xiandai)};
    return books[static_cast<int>(system)];
}

// Closing bracket of each mark that attaches to the character before it.
QChar closerOf(QChar open) {
    switch (open.unicode()) {
    case u'[':
        return u']';
    case u'（':
        return u'）';
    case u'<':
        return u'>';
    case u'【':
        return u'】';
    case u'(':
        return u')';
    default:
        return {};
    }
}

} // namespace

QString systemName(RhymeSystem system) {
    switch (system) {
    case RhymeSystem::CiYun:
        return QStringLiteral("词韵简编");
    case RhymeSystem::XinYun:
        return QStringLiteral("新韵简观");
    case RhymeSystem::XianDai:
        return QStringLiteral("现代诗韵");
    }
    return {};
}

std::optional<RhymeSystem> systemNamed(QStringView name) {
    for (RhymeSystem s : systems) {
        if (systemName(s) == name)
            return s;
    }
    return std::nullopt;
}

QString toneName(RhymeTone tone) {
    switch (tone) {
    case RhymeTone::Level:
        return QStringLiteral("平声");
    case RhymeTone::Oblique:
        return QStringLiteral("仄声");
    case RhymeTone::Entering:
        return QStringLiteral("入声");
    }
    return {};
}

const QList<RhymeGroup>& groups(RhymeSystem system) {
    return book(system).groups;
}

const QList<RhymePair>& pairs(RhymeSystem system) {
    return book(system).pairs;
}

std::optional<int> pairOf(RhymeSystem system, int entry) {
    const QList<RhymePair>& list = pairs(system);
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].level == entry || list[i].oblique == entry)
            return i;
    }
    return std::nullopt;
}

std::optional<int> entryNamed(RhymeSystem system, QStringView name) {
    const QList<RhymeGroup>& list = groups(system);
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].name == name)
            return i;
    }
    return std::nullopt;
}

QList<RhymeItem> items(QStringView text) {
    QList<RhymeItem> out;
    QString heading;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        const QChar closer = closerOf(c);
        if (!closer.isNull()) {
            qsizetype end = text.indexOf(closer, i + 1);
            // A half-width group may close with a full-width parenthesis and the other way
            // round in hand-made texts; an unclosed bracket runs to the end of the text.
            if (end < 0 && c == u'(')
                end = text.indexOf(u'）', i + 1);
            if (end < 0)
                end = text.size() - 1;
            const QStringView group = text.mid(i, end - i + 1);
            if (c == u'【') {
                heading = group.mid(1, group.size() - 2).toString();
            } else if (c == u'(') {
                // A character the code page lacks, described by its parts.
                out.append(RhymeItem{group.toString(), {}, {}, heading});
            } else if (!out.isEmpty()) {
                QString& slot = c == u'<' ? out.last().examples : out.last().mark;
                slot += group.toString();
            }
            i = end + 1;
            continue;
        }
        if (c.isSpace() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            ++i;
            continue;
        }
        const qsizetype len = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        out.append(RhymeItem{text.mid(i, len).toString(), {}, {}, heading});
        i += len;
    }
    return out;
}

QList<RhymeHit> entriesHolding(QStringView character) {
    QList<RhymeHit> hits;
    if (character.isEmpty())
        return hits;
    for (RhymeSystem s : systems) {
        const QList<RhymeGroup>& list = groups(s);
        for (int e = 0; e < list.size(); ++e) {
            if (!list[e].characters.contains(character))
                continue;
            for (const RhymeItem& item : items(list[e].characters)) {
                if (item.character == character)
                    hits.append(RhymeHit{s, e, item});
            }
        }
    }
    return hits;
}

} // namespace rhyme
