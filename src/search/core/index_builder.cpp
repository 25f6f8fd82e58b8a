#include "search/core/index_builder.h"

#include "search/core/index_format.h"
#include "search/core/text_chars.h"

#include <QHash>
#include <algorithm>
#include <map>
#include <numeric>

namespace search {

namespace {

using namespace format;

class NameTable {
  public:
    NameTable() { id(QString()); }
    quint32 id(const QString& name) {
        auto it = m_ids.constFind(name);
        if (it != m_ids.constEnd())
            return *it;
        const quint32 next = quint32(m_starts.size());
        m_ids.insert(name, next);
        m_starts.push_back(quint32(m_bytes.size()));
        m_bytes += name.toUtf8();
        return next;
    }
    quint32 count() const { return quint32(m_starts.size()); }
    std::vector<quint32> starts() const {
        std::vector<quint32> s = m_starts;
        s.push_back(quint32(m_bytes.size()));
        return s;
    }
    const QByteArray& bytes() const { return m_bytes; }

  private:
    QHash<QString, quint32> m_ids;
    std::vector<quint32> m_starts;
    QByteArray m_bytes;
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
// and the punctuation where it was, so that it can be had from the stream.
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

} // namespace

void IndexBuilder::add(PoemInput poem) {
    m_poems.push_back(std::move(poem));
}

QByteArray IndexBuilder::build(QString* summary) const {
    NameTable names;
    std::vector<quint32> alphabet;
    QHash<char32_t, quint16> codes;
    std::vector<quint16> stream{0};
    std::vector<quint8> clauses{0};
    std::vector<PoemRecord> records;
    QByteArray texts;
    std::map<char32_t, std::map<char32_t, int>> pairs;
    records.reserve(m_poems.size());

    for (const PoemInput& p : m_poems) {
        PoemRecord r{};
        r.title = names.id(p.title);
        r.poet = names.id(p.poet);
        r.tune = names.id(p.tune);
        r.collection = quint8(p.collection);
        r.dynasty = quint8(p.dynasty);
        r.form = quint8(p.form);
        r.anthologies = p.anthologies;
        r.sourceIndex = p.sourceIndex;
        r.streamStart = quint32(stream.size());
        const QByteArray text = p.text.toUtf8();
        r.textStart = quint32(texts.size());
        r.textBytes = quint32(text.size());
        texts += text;

        const QList<char32_t> original = ucs4(p.text);
        const QList<char32_t> simplified = ucs4(p.simplified);
        if (sameShape(original, simplified)) {
            for (qsizetype i = 0; i < original.size(); ++i) {
                if (original[i] != simplified[i] && isWordChar(original[i]))
                    ++pairs[original[i]][simplified[i]];
            }
        } else {
            const QByteArray s = p.simplified.toUtf8();
            r.simplifiedStart = quint32(texts.size());
            r.simplifiedBytes = quint32(s.size());
            texts += s;
        }
        bool open = true;
        for (char32_t c : simplified) {
            if (!isWordChar(c)) {
                if (stream.size() > r.streamStart)
                    clauses.back() |= kClosesClause;
                open = true;
                continue;
            }
            auto it = codes.constFind(c);
            if (it == codes.constEnd()) {
                alphabet.push_back(c);
                it = codes.insert(c, quint16(alphabet.size()));
            }
            stream.push_back(*it);
            clauses.push_back(open ? kOpensClause : 0);
            open = false;
        }
        if (stream.size() > r.streamStart)
            clauses.back() |= kClosesClause;
        r.streamLength = quint32(stream.size() - r.streamStart);
        stream.push_back(0);
        clauses.push_back(0);
        records.push_back(r);
    }
    Q_ASSERT(alphabet.size() < 0xffff);

    // Ranks: a poem of a known anthology first, then by its poet's fame, then oldest first.
    std::vector<quint32> order(m_poems.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        const bool ka = m_poems[a].anthologies != 0, kb = m_poems[b].anthologies != 0;
        if (ka != kb)
            return ka;
        return m_poems[a].poetFame > m_poems[b].poetFame;
    });
    for (quint32 i = 0; i < order.size(); ++i)
        records[order[i]].rank = i;

    // Postings.
    const quint32 codeCount = quint32(alphabet.size()) + 1;
    std::vector<quint32> counts(codeCount + 1, 0);
    for (quint16 c : stream)
        ++counts[c];
    std::vector<quint32> firsts(codeCount + 1, 0);
    for (quint32 c = 1; c <= codeCount; ++c)
        firsts[c] = firsts[c - 1] + counts[c - 1];
    std::vector<quint32> positions(stream.size());
    {
        std::vector<quint32> fill = firsts;
        for (quint32 i = 0; i < stream.size(); ++i)
            positions[fill[stream[i]]++] = i;
    }
    QByteArray postings;
    std::vector<quint32> postingStarts(codeCount + 1, 0);
    for (quint32 c = 1; c < codeCount; ++c) {
        postingStarts[c] = quint32(postings.size());
        quint32 last = 0;
        for (quint32 i = firsts[c]; i < firsts[c + 1]; ++i) {
            appendVarint(postings, positions[i] - last);
            last = positions[i];
        }
    }
    postingStarts[0] = 0;
    postingStarts[codeCount] = quint32(postings.size());

    std::vector<quint8> packed((stream.size() + 3) / 4, 0);
    for (size_t i = 0; i < clauses.size(); ++i)
        packed[i / 4] |= quint8(clauses[i] << (2 * (i % 4)));

    std::vector<quint32> charMap;
    for (const auto& [from, tos] : pairs) {
        const auto best =
            std::max_element(tos.begin(), tos.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        charMap.push_back(from);
        charMap.push_back(best->first);
    }

    QByteArray sections[kSectionCount];
    sections[Alphabet] = bytesOf(alphabet);
    sections[Stream] = bytesOf(stream);
    sections[Clauses] = bytesOf(packed);
    sections[PostingStarts] = bytesOf(postingStarts);
    sections[Postings] = postings;
    sections[Poems] = bytesOf(records);
    sections[NameStarts] = bytesOf(names.starts());
    sections[Names] = names.bytes();
    sections[Texts] = texts;
    sections[CharMap] = bytesOf(charMap);

    Header h{};
    std::copy(std::begin(kMagic), std::end(kMagic), h.magic);
    h.version = kVersion;
    h.poemCount = quint32(records.size());
    h.streamLength = quint32(stream.size());
    h.alphabetSize = quint32(alphabet.size());
    h.nameCount = names.count();
    h.charMapSize = quint32(charMap.size() / 2);
    QByteArray body;
    quint64 at = sizeof(Header);
    for (int s = 0; s < kSectionCount; ++s) {
        h.offset[s] = at;
        h.size[s] = quint64(sections[s].size());
        body += sections[s];
        const qsizetype pad = (8 - sections[s].size() % 8) % 8;
        body.append(pad, '\0');
        at += quint64(sections[s].size() + pad);
    }
    h.checksum =
        checksum(reinterpret_cast<const unsigned char*>(body.constData()), quint64(body.size()));
    if (summary) {
        const qint64 index = sections[Alphabet].size() + sections[Stream].size() +
                             sections[Clauses].size() + sections[PostingStarts].size() +
                             sections[Postings].size() + sections[CharMap].size();
        *summary =
            QStringLiteral("%1 poems, %2 characters of %3 kinds; texts %4 bytes, "
                           "records and names %5 bytes, index %6 bytes "
                           "(stream %7, postings %8)")
                .arg(records.size())
                .arg(stream.size())
                .arg(alphabet.size())
                .arg(texts.size())
                .arg(sections[Poems].size() + sections[NameStarts].size() + sections[Names].size())
                .arg(index)
                .arg(sections[Stream].size())
                .arg(postings.size());
    }
    return QByteArray(reinterpret_cast<const char*>(&h), sizeof h) + body;
}

} // namespace search
