#include "search/core/index_builder.h"

#include "search/core/index_format.h"
#include "search/core/text_chars.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>

namespace search {

namespace {

using namespace format;

// Names in the order first asked for, each once; name 0 is "".
class NameTable {
  public:
    NameTable() { id(QString()); }
    quint32 id(const QString& name) {
        auto it = m_ids.constFind(name);
        if (it != m_ids.constEnd())
            return *it;
        const quint32 next = quint32(m_names.size());
        m_ids.insert(name, next);
        m_names.push_back(name);
        return next;
    }
    const std::vector<QString>& names() const { return m_names; }

  private:
    QHash<QString, quint32> m_ids;
    std::vector<QString> m_names;
};

template <typename T> QByteArray bytesOf(const std::vector<T>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size() * sizeof(T)));
}

void appendVarint(QByteArray& out, quint32 v) {
    while (v >= 0x80) {
        out.append(char((v & 0x7f) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

// True when the simplified text is the original with characters replaced one for one
// and the punctuation where it was, so that only the changed words need keeping.
bool sameShape(const QList<char32_t>& original, const QList<char32_t>& simplified) {
    if (original.size() != simplified.size())
        return false;
    for (qsizetype i = 0; i < original.size(); ++i) {
        const bool word = isWordChar(original[i]);
        if (word != isWordChar(simplified[i]) || (!word && original[i] != simplified[i]))
            return false;
    }
    return true;
}

struct Prepared {
    QList<char32_t> original, simplified;
    bool sameShape = false;
};

} // namespace

void IndexBuilder::add(PoemInput poem) {
    m_poems.push_back(std::move(poem));
}

QByteArray IndexBuilder::build(QString* summary) const {
    const auto fail = [&](const QString& why) {
        if (summary)
            *summary = why;
        return QByteArray();
    };
    std::vector<Prepared> prepared(m_poems.size());
    std::map<char32_t, std::map<char32_t, int>> pairs;
    for (size_t i = 0; i < m_poems.size(); ++i) {
        Prepared& p = prepared[i];
        p.original = ucs4(m_poems[i].text);
        p.simplified = ucs4(m_poems[i].simplified);
        p.sameShape = sameShape(p.original, p.simplified);
        if (!p.sameShape)
            continue;
        for (qsizetype c = 0; c < p.original.size(); ++c) {
            if (p.original[c] != p.simplified[c] && isWordChar(p.original[c]))
                ++pairs[p.original[c]][p.simplified[c]];
        }
    }
    // Each traditional character with the simplified one it was most often made.
    QHash<char32_t, char32_t> mapped;
    std::vector<quint32> charMap;
    for (const auto& [from, tos] : pairs) {
        const auto best =
            std::max_element(tos.begin(), tos.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        charMap.push_back(from);
        charMap.push_back(best->first);
        mapped.insert(from, best->first);
    }

    // Ranks: a poem of a known anthology first, then by its poet's fame, then oldest first.
    std::vector<quint32> order(m_poems.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        const bool ka = m_poems[a].anthologies != 0, kb = m_poems[b].anthologies != 0;
        if (ka != kb)
            return ka;
        return m_poems[a].poetFame > m_poems[b].poetFame;
    });

    // Names, and the poets' and tunes' own numbers. The poets' and tunes' names come
    // first, so that the counts per poet and per tune of a search read them from a small
    // part of the file rather than from among all the titles.
    NameTable names;
    for (quint32 i : order) {
        names.id(m_poems[i].poet);
        names.id(m_poems[i].tune);
    }
    std::vector<quint32> poetNames{0}, tuneNames{0};
    QHash<quint32, quint16> poetIds{{0, 0}}, tuneIds{{0, 0}};
    std::vector<PoemRecord> records(m_poems.size());
    for (size_t id = 0; id < order.size(); ++id) {
        const PoemInput& p = m_poems[order[id]];
        PoemRecord& r = records[id];
        r.title = names.id(p.title);
        const auto numbered = [&](const QString& name, QHash<quint32, quint16>& ids,
                                  std::vector<quint32>& list) -> int {
            const quint32 n = names.id(name);
            if (!ids.contains(n)) {
                if (list.size() > 0xffff)
                    return -1;
                ids.insert(n, quint16(list.size()));
                list.push_back(n);
            }
            return ids.value(n);
        };
        const int poet = numbered(p.poet, poetIds, poetNames);
        const int tune = numbered(p.tune, tuneIds, tuneNames);
        if (poet < 0 || tune < 0)
            return fail(QStringLiteral("more than 65535 poets or tunes"));
        r.poet = quint16(poet);
        r.tune = quint16(tune);
        r.sourceIndex = p.sourceIndex;
        r.collection = quint8(p.collection);
        r.dynasty = quint8(p.dynasty);
        r.form = quint8(p.form);
        r.anthologies = p.anthologies;
    }

    // Codes: every character of the texts, the simplified words and the names, the most
    // frequent first, so that most take one byte.
    QHash<char32_t, quint64> frequency;
    for (const Prepared& p : prepared) {
        for (char32_t c : p.original)
            ++frequency[c];
        for (char32_t c : p.simplified)
            ++frequency[c];
    }
    for (const QString& name : names.names()) {
        for (char32_t c : name.toUcs4())
            ++frequency[c];
    }
    std::vector<std::pair<quint64, char32_t>> byFrequency;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it)
        byFrequency.emplace_back(it.value(), it.key());
    std::sort(byFrequency.begin(), byFrequency.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    if (byFrequency.size() >= kMaxCodes)
        return fail(QStringLiteral("more than %1 kinds of characters").arg(kMaxCodes - 1));
    std::vector<quint32> alphabet;
    QHash<char32_t, quint32> codes;
    for (const auto& [count, c] : byFrequency) {
        codes.insert(c, quint32(alphabet.size()));
        alphabet.push_back(c);
    }
    const auto encode = [&](QByteArray& out, char32_t c) { encodeChar(out, codes.value(c)); };

    // The texts, the simplified words and the word positions, poem by poem in rank order.
    QByteArray texts, simple;
    std::vector<quint32> wordStarts, textStarts, simpleStarts;
    std::vector<quint32> wordCodes; // the simplified words' codes, by position
    std::vector<bool> lineEnds;
    constexpr quint32 kGap = UINT32_MAX;
    qint64 sourceBytes = 0;
    for (size_t id = 0; id < order.size(); ++id) {
        const Prepared& p = prepared[order[id]];
        PoemRecord& r = records[id];
        sourceBytes += m_poems[order[id]].text.toUtf8().size();
        wordStarts.push_back(quint32(wordCodes.size()));
        textStarts.push_back(quint32(texts.size()));
        simpleStarts.push_back(quint32(simple.size()));
        for (char32_t c : p.original)
            encode(texts, c);

        if (!p.sameShape) {
            r.flags = kWhole;
            for (char32_t c : p.simplified)
                encode(simple, c);
        } else {
            // The words that differ from what the text gives, as it is or through the
            // map, whichever leaves fewer.
            std::vector<std::pair<quint32, char32_t>> asIs, throughMap;
            quint32 w = 0;
            for (qsizetype i = 0; i < p.original.size(); ++i) {
                if (!isWordChar(p.original[i]))
                    continue;
                if (p.simplified[i] != p.original[i])
                    asIs.emplace_back(w, p.simplified[i]);
                if (p.simplified[i] != mapped.value(p.original[i], p.original[i]))
                    throughMap.emplace_back(w, p.simplified[i]);
                ++w;
            }
            const bool useMap = throughMap.size() < asIs.size();
            r.flags = useMap ? kMapped : 0;
            quint32 last = 0;
            for (const auto& [at, c] : useMap ? throughMap : asIs) {
                appendVarint(simple, at - last);
                encode(simple, c);
                last = at;
            }
        }

        bool closed = true; // before the first word
        for (char32_t c : p.simplified) {
            if (!isWordChar(c)) {
                if (!closed)
                    lineEnds.back() = true;
                closed = true;
                continue;
            }
            wordCodes.push_back(codes.value(c));
            lineEnds.push_back(false);
            closed = false;
        }
        if (!closed)
            lineEnds.back() = true;
        // The unused position after a poem counts as a clause's end, so that the next
        // poem's first word starts a line.
        wordCodes.push_back(kGap);
        lineEnds.push_back(true);
    }
    wordStarts.push_back(quint32(wordCodes.size()));
    textStarts.push_back(quint32(texts.size()));
    simpleStarts.push_back(quint32(simple.size()));

    // Postings: each code's positions, gathered by a counting sort.
    const quint32 codeCount = quint32(alphabet.size());
    std::vector<quint32> firsts(codeCount + 1, 0);
    for (quint32 c : wordCodes) {
        if (c != kGap)
            ++firsts[c + 1];
    }
    for (quint32 c = 0; c < codeCount; ++c)
        firsts[c + 1] += firsts[c];
    std::vector<quint32> positions(firsts[codeCount]);
    {
        std::vector<quint32> fill(firsts.begin(), firsts.end() - 1);
        for (quint32 i = 0; i < wordCodes.size(); ++i) {
            if (wordCodes[i] != kGap)
                positions[fill[wordCodes[i]]++] = i;
        }
    }
    QByteArray postings;
    std::vector<quint32> postingStarts(codeCount + 1, 0);
    for (quint32 c = 0; c < codeCount; ++c) {
        postingStarts[c] = quint32(postings.size());
        quint32 last = 0;
        for (quint32 i = firsts[c]; i < firsts[c + 1]; ++i) {
            appendVarint(postings, positions[i] - last);
            last = positions[i];
        }
    }
    postingStarts[codeCount] = quint32(postings.size());

    std::vector<quint8> packedEnds((lineEnds.size() + 7) / 8, 0);
    for (size_t i = 0; i < lineEnds.size(); ++i) {
        if (lineEnds[i])
            packedEnds[i / 8] |= quint8(1u << (i % 8));
    }

    QByteArray nameBytes;
    std::vector<quint32> nameStarts;
    for (const QString& name : names.names()) {
        nameStarts.push_back(quint32(nameBytes.size()));
        for (char32_t c : name.toUcs4())
            encode(nameBytes, c);
    }
    nameStarts.push_back(quint32(nameBytes.size()));

    QByteArray sections[kSectionCount];
    sections[Alphabet] = bytesOf(alphabet);
    sections[PostingStarts] = bytesOf(postingStarts);
    sections[Postings] = postings;
    sections[LineEnds] = bytesOf(packedEnds);
    sections[WordStarts] = bytesOf(wordStarts);
    sections[TextStarts] = bytesOf(textStarts);
    sections[SimpleStarts] = bytesOf(simpleStarts);
    sections[Poems] = bytesOf(records);
    sections[PoetNames] = bytesOf(poetNames);
    sections[TuneNames] = bytesOf(tuneNames);
    sections[NameStarts] = bytesOf(nameStarts);
    sections[Names] = nameBytes;
    sections[Texts] = texts;
    sections[Simple] = simple;
    sections[CharMap] = bytesOf(charMap);

    Header h{};
    std::copy(std::begin(kMagic), std::end(kMagic), h.magic);
    h.version = kVersion;
    h.poemCount = quint32(records.size());
    h.wordCount = quint32(wordCodes.size());
    h.alphabetSize = codeCount;
    h.nameCount = quint32(names.names().size());
    h.poetCount = quint32(poetNames.size());
    h.tuneCount = quint32(tuneNames.size());
    h.charMapSize = quint32(charMap.size() / 2);
    QByteArray body;
    for (int s = 0; s < kSectionCount; ++s) {
        h.offset[s] = quint64(body.size());
        h.size[s] = quint64(sections[s].size());
        body += sections[s];
        body.append((8 - sections[s].size() % 8) % 8, '\0');
    }
    h.blockCount = quint32((quint64(body.size()) + kBlockSize - 1) / kBlockSize);
    for (std::uint64_t& offset : h.offset)
        offset += blocksStart(h);
    h.fileSize = blocksStart(h) + quint64(body.size());
    QByteArray file(reinterpret_cast<const char*>(&h), sizeof h);
    file.append(qsizetype(8 * h.blockCount), '\0');
    file += body;
    sealIndex(file);
    if (summary) {
        *summary =
            QStringLiteral("%1 poems, %2 words, %3 kinds of characters; "
                           "the poems' text %4 bytes in UTF-8, the file %5 bytes "
                           "(%6×: texts %7, postings %8, poems and names %9)")
                .arg(records.size())
                .arg(firsts[codeCount])
                .arg(alphabet.size())
                .arg(sourceBytes)
                .arg(file.size())
                .arg(sourceBytes ? double(file.size()) / double(sourceBytes) : 0.0, 0, 'f', 2)
                .arg(texts.size() + simple.size())
                .arg(postings.size())
                .arg(sections[Poems].size() + nameBytes.size() + sections[NameStarts].size() +
                     sections[WordStarts].size() + sections[TextStarts].size() +
                     sections[SimpleStarts].size());
    }
    return file;
}

void sealIndex(QByteArray& file) {
    if (file.size() < qsizetype(sizeof(Header)))
        return;
    Header h;
    std::memcpy(&h, file.constData(), sizeof h);
    const quint64 start = blocksStart(h);
    if (quint64(file.size()) < start)
        return;
    auto* data = reinterpret_cast<unsigned char*>(file.data());
    for (quint64 b = 0; b < h.blockCount; ++b) {
        const quint64 at = start + b * kBlockSize;
        const quint64 sum =
            at < quint64(file.size())
                ? checksum(data + at, std::min<quint64>(kBlockSize, quint64(file.size()) - at))
                : 0;
        std::memcpy(data + sizeof(Header) + 8 * b, &sum, 8);
    }
    h.checksum = headerChecksum(h, data + sizeof(Header));
    std::memcpy(data, &h, sizeof h);
}

} // namespace search
