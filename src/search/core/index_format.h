#pragma once
// The layout of the search corpus file (data/search/poems.idx), shared by the builder and
// the reader. Little-endian, every section 8-byte aligned.
//
// Poems are stored most famous first: a poem's id is its rank, and the word positions
// of the index grow with it, so that a phrase's occurrences come out of the index in the
// order the user sees them and the first page of hits is the first occurrences found.
//
// Characters are stored as codes, the most frequent first: a code below 128 is one
// byte, any other two (0x80 | high bits, low byte); see encodeChar and decodeChar.
//
//   Header
//   BlockSums      u64[blockCount]            the checksum of each kBlockSize bytes of
//                                             what follows (the last block shorter)
//   then the sections in Section order:
//   Alphabet       u32[alphabetSize]          the character of each code
//   PostingStarts  u32[alphabetSize + 1]      where each code's positions start in Postings
//   Postings       bytes                      each code's word positions (simplified),
//                                             ascending, as varint differences
//   LineEnds       u8[(wordCount + 7) / 8]    bit set: the word at that position ends a
//                                             clause (punctuation or a line break follows),
//                                             or the position is one between two poems
//   WordStarts     u32[poemCount + 1]         each poem's first word position; one unused
//                                             position between two poems, so that no
//                                             phrase reaches from one into the next
//   TextStarts     u32[poemCount + 1]         each poem's text in Texts
//   SimpleStarts   u32[poemCount + 1]         each poem's simplified words in Simple
//   Poems          PoemRecord[poemCount]
//   PoetNames      u32[poetCount]             the name of each poet id; poet 0 is unknown
//   TuneNames      u32[tuneCount]             the name of each tune id; tune 0 is none
//   NameStarts     u32[nameCount + 1]         where each name starts in Names; name 0 is "",
//                                             the poets' and tunes' names next, then titles
//   Names          codes                      poets, titles and tunes
//   Texts          codes                      each poem's text as its source spells it,
//                                             lines separated by '\n'
//   Simple         bytes                      how each poem's simplified words differ
//                                             from its text's (see PoemRecord::flags)
//   CharMap        u32[2 * charMapSize]       (traditional, simplified) pairs, sorted
//
// The header's checksum covers the header (the field itself as 0) and BlockSums; each
// block's checksum its block. Opening the file reads only those: a reader checks a block
// the first time it reads from it, so that opening stays cheap however large the file.

#include <cstdint>
#include <cstring>

namespace search::format {

constexpr char kMagic[8] = {'L', 'Y', 'R', 'S', 'R', 'C', 'H', '\x1a'};
constexpr std::uint32_t kVersion = 3;
constexpr std::uint64_t kBlockSize = 64 * 1024;

enum Section {
    Alphabet,
    PostingStarts,
    Postings,
    LineEnds,
    WordStarts,
    TextStarts,
    SimpleStarts,
    Poems,
    PoetNames,
    TuneNames,
    NameStarts,
    Names,
    Texts,
    Simple,
    CharMap,
    kSectionCount
};

struct Header {
    char magic[8];
    std::uint32_t version;
    std::uint32_t poemCount;
    std::uint32_t wordCount; // word positions, the unused ones between poems included
    std::uint32_t alphabetSize;
    std::uint32_t nameCount;
    std::uint32_t poetCount;
    std::uint32_t tuneCount;
    std::uint32_t charMapSize;
    std::uint32_t blockCount;
    std::uint32_t unused;
    std::uint64_t fileSize; // the whole file's, header included
    std::uint64_t checksum; // see headerChecksum
    std::uint64_t offset[kSectionCount];
    std::uint64_t size[kSectionCount];
};
static_assert(sizeof(Header) % 8 == 0);

// PoemRecord::flags: how the simplified words are had from the text's words.
// Neither: they are the text's, except where Simple says (varint gap in words, code).
// Mapped: each word through CharMap, except where Simple says.
// Whole: Simple holds the whole simplified text as codes (its shape differs).
constexpr std::uint8_t kMapped = 1;
constexpr std::uint8_t kWhole = 2;

struct PoemRecord {
    std::uint32_t title;       // names
    std::uint32_t sourceIndex; // its place in its collection
    std::uint16_t poet;        // PoetNames
    std::uint16_t tune;        // TuneNames
    std::uint8_t collection;
    std::uint8_t dynasty;
    std::uint8_t form;
    std::uint8_t anthologies;
    std::uint8_t flags;
    std::uint8_t unused[3];
};
static_assert(sizeof(PoemRecord) == 20);

constexpr std::uint32_t kMaxCodes = 128 + 128 * 256;

// Appends the bytes of `code` (below kMaxCodes).
template <typename Bytes> void encodeChar(Bytes& out, std::uint32_t code) {
    if (code < 128) {
        out.push_back(char(code));
    } else {
        out.push_back(char(0x80 | ((code - 128) >> 8)));
        out.push_back(char((code - 128) & 0xff));
    }
}

// The code at `p` (before `end`), moving `p` past it; kMaxCodes when the bytes end early.
inline std::uint32_t decodeChar(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    if (p == end)
        return kMaxCodes;
    return 128 + ((std::uint32_t(b & 0x7f) << 8) | *p++);
}

// The varint at `p` (before `end`), moving `p` past it.
inline std::uint32_t decodeVarint(const unsigned char*& p, const unsigned char* end) {
    std::uint32_t v = 0;
    for (int shift = 0; p < end && shift < 35; shift += 7) {
        const unsigned char b = *p++;
        v |= std::uint32_t(b & 0x7f) << shift;
        if (!(b & 0x80))
            break;
    }
    return v;
}

// FNV-1a in four lanes over 32-byte blocks of 64-bit words (read in the machine's order:
// the file is built where it is read), then the bytes left over: the lanes' products do
// not wait for each other, so that a block is checked at the speed it is read.
inline std::uint64_t checksum(const unsigned char* data, std::uint64_t size) {
    constexpr std::uint64_t prime = 1099511628211ull;
    constexpr std::uint64_t basis = 1469598103934665603ull;
    std::uint64_t a = basis, b = basis ^ 1, c = basis ^ 2, d = basis ^ 3;
    std::uint64_t i = 0;
    for (; i + 32 <= size; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, data + i, 32);
        a = (a ^ w[0]) * prime;
        b = (b ^ w[1]) * prime;
        c = (c ^ w[2]) * prime;
        d = (d ^ w[3]) * prime;
    }
    std::uint64_t h = (((a ^ b) * prime ^ c) * prime ^ d) * prime;
    for (; i < size; ++i)
        h = (h ^ data[i]) * prime;
    return h;
}

// Where the blocks start: after the header and BlockSums.
inline std::uint64_t blocksStart(const Header& h) {
    return sizeof(Header) + 8ull * h.blockCount;
}

// The checksum of the header, with its checksum field taken as 0, and of `blockSums`.
inline std::uint64_t headerChecksum(const Header& h, const unsigned char* blockSums) {
    Header copy;
    std::memcpy(&copy, &h, sizeof copy);
    copy.checksum = 0;
    const std::uint64_t parts[2] = {
        checksum(reinterpret_cast<const unsigned char*>(&copy), sizeof copy),
        checksum(blockSums, 8ull * h.blockCount)};
    return checksum(reinterpret_cast<const unsigned char*>(parts), sizeof parts);
}

} // namespace search::format
