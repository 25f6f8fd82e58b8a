#pragma once
// The search corpus file opened for reading: every poem of the collections, and the
// phrase search over them.

#include "search/core/poem_kinds.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
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

class Index {
  public:
    ~Index();
    // Opens and checks the file; null with a message in Chinese when it is missing or
    // damaged.
    static std::unique_ptr<Index> open(const QString& path, QString* error);
    // The same over bytes in memory.
    static std::unique_ptr<Index> fromBytes(QByteArray bytes, QString* error);

    quint32 poemCount() const;
    Poem poem(quint32 id) const;
    Result search(const Query& query) const;
    HitLine hitLine(const Hit& hit, const QStringList& phrases) const;
    // Simplified characters for the traditional ones the corpus converted.
    QString simplify(const QString& text) const;

  private:
    Index() = default;
    bool check(QString* error);
    // The codes a character of a phrase may have in the poems' simplified words.
    static constexpr quint32 kNoCode = UINT32_MAX;
    using Codes = std::array<quint32, 2>;
    // Each character's codes; empty when a character of the phrase is in no poem.
    std::vector<Codes> codesOf(const QString& phrase) const;
    // Calls found(start) for each word position where the phrase starts, ascending, until
    // it returns false.
    template <typename Found>
    void forEachOccurrence(const std::vector<Codes>& codes, Place place, Found&& found) const;
    quint32 poemAt(quint32 position, quint32 from) const;
    QString name(quint32 id) const;
    QList<char32_t> decode(const uchar* begin, const uchar* end) const;
    QList<char32_t> textOf(quint32 poem) const;
    QList<char32_t> simplifiedOf(quint32 poem, const QList<char32_t>& text) const;
    bool endsLine(quint32 position) const;
    char32_t simplifyChar(char32_t c) const;

    std::unique_ptr<QFile> m_file;
    QByteArray m_bytes;
    const uchar* m_data = nullptr;
    quint64 m_size = 0;
    const format::Header* m_header = nullptr;
    const quint32* m_alphabet = nullptr;
    const quint32* m_postingStarts = nullptr;
    const uchar* m_postings = nullptr;
    const uchar* m_lineEnds = nullptr;
    const quint32* m_wordStarts = nullptr;
    const quint32* m_textStarts = nullptr;
    const quint32* m_simpleStarts = nullptr;
    const format::PoemRecord* m_poems = nullptr;
    const quint32* m_poetNames = nullptr;
    const quint32* m_tuneNames = nullptr;
    const quint32* m_nameStarts = nullptr;
    const uchar* m_names = nullptr;
    const uchar* m_texts = nullptr;
    const uchar* m_simple = nullptr;
    const quint32* m_charMap = nullptr;
    std::vector<std::pair<char32_t, quint32>> m_codes; // sorted by character
};

} // namespace search
