#pragma once
// The search corpus file opened for reading: every poem of the collections, and the
// phrase search over them.

#include "search/core/poem_kinds.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QFile;

namespace search {

namespace format {
struct Header;
struct PoemRecord;
} // namespace format

enum class Place { Anywhere, LineStart, LineEnd };

struct Query {
    QStringList phrases; // every one must occur in a poem; punctuation in them is ignored
    std::optional<Dynasty> dynasty;
    std::optional<Form> form;
    QString poet;  // the whole name
    QString tune;  // a tune or one of its other names
    QString title; // part of the title
    Place place = Place::Anywhere;
    int limit = 100; // hits returned (all are counted); 0 for all
};

constexpr int kMaxPhraseLength = 20;
constexpr int kMaxPhrases = 8;

// The phrases' word characters, punctuation and spaces left out. Empty, with a message in
// Chinese for the user, when the query cannot be searched: no phrase, a phrase of
// punctuation only, one over kMaxPhraseLength characters, a character outside GBK.
QStringList searchablePhrases(const QStringList& phrases, QString* error);

struct Hit {
    quint32 poem;     // its id, which is its rank: 0 the most famous
    quint32 position; // where the first phrase starts in the poem's words
};

struct NameCount {
    QString name;
    int count;
};

struct Result {
    QString error;          // set when the query could not be searched
    qint64 total = 0;       // hits: occurrences of the first phrase in matching poems
    qint64 poems = 0;       // the poems they are in
    std::vector<Hit> hits;  // the first `limit`, the most famous first
    QList<NameCount> poets; // hits per poet, most first
    QList<NameCount> tunes; // hits per tune (ci and qu), most first
};

struct Poem {
    Collection collection;
    Dynasty dynasty;
    Form form;
    quint8 anthologies;
    quint32 sourceIndex;
    QString poet;
    QString title;
    QString tune;
    QString text;       // as the source spells it, lines separated by '\n'
    QString simplified; // the same in simplified characters
};

// The line of a poem a hit is in, and where the query's phrases are in it.
struct HitLine {
    QString text;                     // as the source spells it
    QList<std::pair<int, int>> marks; // (start, length) in text, in order
};

// Opening checks the header, where the sections lie and the block checksums' own
// checksum; each block of the file is checked the first time something is read from it,
// and every number read from the file is checked against what it points into. Damage
// found after opening is kept: from then on every search gives it as its error, and
// poem() and hitLine() give nothing.
class Index {
  public:
    ~Index();
    // Opens the file; null with a message in Chinese when it is missing or damaged.
    static std::unique_ptr<Index> open(const QString& path, QString* error);
    // The same over bytes in memory, every block checked at once.
    static std::unique_ptr<Index> fromBytes(QByteArray bytes, QString* error);

    quint32 poemCount() const;
    Poem poem(quint32 id) const;
    Result search(const Query& query) const;
    HitLine hitLine(const Hit& hit, const QStringList& phrases) const;
    // Simplified characters for the traditional ones the corpus converted.
    QString simplify(const QString& text) const;
    // What was found damaged in the file since it was opened, as a message in Chinese for
    // the user; empty while everything read from it was sound.
    QString damage() const;

  private:
    Index() = default;
    bool check(QString* error);
    // Notes the file as damaged for `reason` (the first reason found is kept).
    void fail(const char* reason) const;
    bool damaged() const { return m_damage.load(std::memory_order_acquire) != nullptr; }
    // The search, reading as far as the file is sound; search() turns damage found into
    // its error.
    Result find(const Query& query) const;
    // True when the blocks holding the bytes [at, at + size) of the file are sound; a
    // block is checked the first time it is asked for.
    bool intact(quint64 at, quint64 size) const;
    // Asks the system to read the mapped bytes [from, to) ahead of their use.
    void prefetch(quint64 from, quint64 to) const;
    // `count` values of type T from the `first` of a section, their blocks checked; null
    // (the damage noted) when out of the section or damaged.
    template <typename T> const T* read(int section, quint64 first, quint64 count = 1) const;
    // A whole section when every block of it has been found sound already (a loop over
    // it need not ask again), else null; no block is read for it.
    template <typename T> const T* soundSection(int section) const;
    // The bytes of a section between two of its starts, checked as above.
    const uchar* bytes(int section, quint32 from, quint32 to) const;
    // The values at i and i + 1 of a table of starts into `into`, when they are in order
    // and inside it.
    std::optional<std::pair<quint32, quint32>> range(int starts, quint32 i, int into) const;
    const format::PoemRecord* record(quint32 poem) const;
    QString poetName(quint32 poet) const;
    QString tuneName(quint32 tune) const;
    QString message(const QString& reason) const;
    // The codes a character of a phrase may have in the poems' simplified words.
    static constexpr quint32 kNoCode = UINT32_MAX;
    using Codes = std::array<quint32, 2>;
    // Each character's codes; empty when a character of the phrase is in no poem.
    std::vector<Codes> codesOf(const QString& phrase) const;
    // Calls found(start) for each word position where the phrase starts, ascending, until
    // it returns false.
    template <typename Found>
    void forEachOccurrence(const std::vector<Codes>& codes, Place place, Found&& found) const;
    // A poem and the word positions it has: [first, end).
    struct PoemWords {
        quint32 poem = 0;
        quint32 first = 0;
        quint32 end = 0;
    };
    // The poem holding word `position`, looked for from poem `from` on; none (the damage
    // noted) when the tables say otherwise. `wordStarts`: the section, when known sound.
    std::optional<PoemWords> poemHolding(quint32 position, quint32 from,
                                         const quint32* wordStarts) const;
    QString name(quint32 id) const;
    QList<char32_t> decode(const uchar* begin, const uchar* end) const;
    QList<char32_t> textOf(quint32 poem) const;
    QList<char32_t> simplifiedOf(quint32 poem, const QList<char32_t>& text) const;
    bool endsLine(quint32 position) const;
    char32_t simplifyChar(char32_t c) const;

    std::unique_ptr<QFile> m_file;
    QString m_path;
    QByteArray m_bytes;
    const uchar* m_data = nullptr;
    quint64 m_size = 0;
    const format::Header* m_header = nullptr;
    quint64 m_blocksStart = 0;
    const quint64* m_blockSums = nullptr;
    // Each block's state: 0 not checked yet, 1 sound, 2 damaged.
    std::unique_ptr<std::atomic<quint8>[]> m_blockStates;
    mutable std::atomic<const char*> m_damage{nullptr};
    mutable std::atomic<quint32> m_soundSections{0}; // bit s: section s all found sound
    const quint32* m_alphabet = nullptr;             // these two checked at opening
    const quint32* m_charMap = nullptr;
    std::vector<std::pair<char32_t, quint32>> m_codes; // sorted by character
};

} // namespace search
