#pragma once
// The layout of the search corpus file (data/search/poems.idx), shared by the builder and
// the reader. Little-endian, every section 8-byte aligned:
//
//   Header, then the sections in Section order.
//   Alphabet       u32[alphabetSize]          code c (1-based) is the character at c - 1
//   Stream         u16[streamLength]          the simplified words of every poem, punctuation
//                                             left out, code 0 before and after each poem
//   Clauses        u8[(streamLength + 3) / 4] two bits a stream character: it opens a clause
//                                             (bit 0), it closes one (bit 1)
//   PostingStarts  u32[alphabetSize + 2]      where each code's positions start in Postings
//   Postings       bytes                      each code's stream positions, ascending, as
//                                             varint differences
//   Poems          PoemRecord[poemCount]      in the order the poems were added
//   NameStarts     u32[nameCount + 1]         where each name starts in Names; name 0 is ""
//   Names          UTF-8                      poets, titles and tunes
//   Texts          UTF-8                      each poem's text as its source spells it
//   CharMap        u32[2 * charMapSize]       (traditional, simplified) pairs, sorted
//
// The checksum covers every byte after the header.

#include <cstdint>
#include <cstring>

namespace search::format {

constexpr char kMagic[8] = {'L', 'Y', 'R', 'S', 'R', 'C', 'H', '\x1a'};
constexpr std::uint32_t kVersion = 1;

enum Section {
    Alphabet,
    Stream,
    Clauses,
    PostingStarts,
    Postings,
    Poems,
    NameStarts,
    Names,
    Texts,
    CharMap,
    kSectionCount
};

struct Header {
    char magic[8];
    std::uint32_t version;
    std::uint32_t poemCount;
    std::uint32_t streamLength;
    std::uint32_t alphabetSize;
    std::uint32_t nameCount;
    std::uint32_t charMapSize;
    std::uint64_t checksum;
    std::uint64_t offset[kSectionCount];
    std::uint64_t size[kSectionCount];
};

constexpr std::uint8_t kOpensClause = 1;
constexpr std::uint8_t kClosesClause = 2;

struct PoemRecord {
    std::uint32_t streamStart; // the first stream position of its words
    std::uint32_t streamLength;
    std::uint32_t textStart; // its text in Texts, lines separated by '\n'
    std::uint32_t textBytes;
    // The simplified text when it cannot be had from the stream (the conversion changed
    // the text's length or punctuation); 0 bytes otherwise.
    std::uint32_t simplifiedStart;
    std::uint32_t simplifiedBytes;
    std::uint32_t title; // names
    std::uint32_t poet;
    std::uint32_t tune;
    std::uint32_t rank;        // 0 the most famous; ties are broken by time
    std::uint32_t sourceIndex; // its place in its collection
    std::uint8_t collection;
    std::uint8_t dynasty;
    std::uint8_t form;
    std::uint8_t anthologies;
};
static_assert(sizeof(PoemRecord) == 48);

// FNV-1a over 64-bit words (read in the machine's order: the file is built where it is read), then
// the bytes left over.
inline std::uint64_t checksum(const unsigned char* data, std::uint64_t size) {
    std::uint64_t h = 1469598103934665603ull;
    std::uint64_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, data + i, 8);
        h = (h ^ w) * 1099511628211ull;
    }
    for (; i < size; ++i)
        h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

} // namespace search::format
