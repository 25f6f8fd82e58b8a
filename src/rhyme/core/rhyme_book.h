#pragma once
// The three compiled-in rhyme books: their entries in list order, each entry's tone class,
// characters and finals label, and the level/oblique pairs of the two modern books.

#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// A rhyme book, in the fixed order of the book buttons and the 视图 menu.
enum class RhymeSystem {
    CiYun,   // 词韵简编: the traditional ci rhyme parts, entering tones included
    XinYun,  // 新韵简观: twelve groups by Mandarin finals
    XianDai, // 现代诗韵: eighteen groups by Mandarin finals
};

// The tone class of an entry.
enum class RhymeTone {
    Level,    // 平声
    Oblique,  // 仄声: the rising and departing tones together
    Entering, // 入声: only in 词韵简编
};

// One entry of a book's list.
struct RhymeGroup {
    QString name; // the list item, verbatim
    RhymeTone tone;
    QString characters; // shown verbatim, marks included; never contains a line break
    QString finals;     // the finals label, verbatim ("eng,ing," keeps its comma)
};

// A group of a modern book as the split view lists it: its 平声 and 仄声 entries.
struct RhymePair {
    QString name; // the split-view list item
    int level;    // index of the 平声 entry in the book's list (2k)
    int oblique;  // index of the 仄声 entry (2k + 1)
};

// One listed character of an entry's text, with what the marks say about it.
struct RhymeItem {
    QString character; // one character, or a described one such as "(氵蒙)"
    QString mark;      // "[…]" or "（…）" right after it, brackets included; else empty
    QString examples;  // "<…>" example words, brackets included; else empty
    QString heading;   // the 【】 rhyme heading it stands under, without brackets; else empty
};

// Where a character is listed: book, entry index and the item found there.
struct RhymeHit {
    RhymeSystem system;
    int entry;
    RhymeItem item;
};

namespace rhyme {

inline constexpr std::array<RhymeSystem, 3> systems{RhymeSystem::CiYun, RhymeSystem::XinYun,
                                                    RhymeSystem::XianDai};

// "词韵简编", "新韵简观", "现代诗韵": the rhyme-book label and the books' hints.
QString systemName(RhymeSystem system);
std::optional<RhymeSystem> systemNamed(QStringView name);

// "平声", "仄声", "入声".
QString toneName(RhymeTone tone);

// A book's entries in the order of its entry list.
const QList<RhymeGroup>& groups(RhymeSystem system);

// A modern book's groups in the order of its split-view list; empty for 词韵简编.
const QList<RhymePair>& pairs(RhymeSystem system);

// The index of the pair that holds entry `entry`, or nullopt (词韵简编, or out of range).
std::optional<int> pairOf(RhymeSystem system, int entry);

// An entry by its exact list name, or nullopt.
std::optional<int> entryNamed(RhymeSystem system, QStringView name);

// Splits a character text into its listed characters. 【】 headings, index letters and
// blanks are not items; [ ] and （ ） attach to the character before them, < > likewise.
QList<RhymeItem> items(QStringView characters);

// Every entry of the three books that lists `character` (one code point), in book and
// list order. An entry that lists it twice (under two readings) gives two hits.
QList<RhymeHit> entriesHolding(QStringView character);

} // namespace rhyme
