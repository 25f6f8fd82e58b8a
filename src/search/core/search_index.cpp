#include "search/core/search_index.h"

#include "base/core/gbk.h"
#include "search/core/index_format.h"
#include "search/core/text_chars.h"

#include <QFile>
#include <algorithm>
#include <functional>
#include <sys/mman.h>

namespace search {

using namespace format;

// Blocks asked for together when a block is first read just after the one before it.
constexpr quint64 kReadAhead = 8;

QStringList searchablePhrases(const QStringList& phrases, QString* error) {
    QStringList out;
    QString problem;
    for (const QString& raw : phrases) {
        if (raw.trimmed().isEmpty())
            continue;
        if (!gbk::representable(raw)) {
            QString odd;
            for (char32_t c : raw.toUcs4()) {
                const QString one = QString::fromUcs4(&c, 1);
                if (!gbk::representable(one)) {
                    odd = one;
                    break;
                }
            }
            problem = QStringLiteral("「%1」不在 GBK 字符集中，无法检索。").arg(odd);
            break;
        }
        const QList<char32_t> words = wordChars(raw);
        if (words.isEmpty()) {
            problem = QStringLiteral("「%1」只有标点，没有可检索的字。").arg(raw.left(10));
            break;
        }
        if (words.size() > kMaxPhraseLength) {
            problem = QStringLiteral("字句太长（%1 字）：每个字句最多 %2 字。")
                          .arg(words.size())
                          .arg(kMaxPhraseLength);
            break;
        }
        out << QString::fromUcs4(words.constData(), words.size());
    }
    if (problem.isEmpty() && out.size() > kMaxPhrases)
        problem = QStringLiteral("一次最多检索 %1 个字句。").arg(kMaxPhrases);
    if (problem.isEmpty() && out.isEmpty())
        problem = QStringLiteral("请输入要检索的字句。");
    if (error)
        *error = problem;
    return problem.isEmpty() ? out : QStringList();
}

Index::~Index() = default;

std::unique_ptr<Index> Index::open(const QString& path, QString* error) {
    std::unique_ptr<Index> index(new Index);
    index->m_path = path;
    index->m_file = std::make_unique<QFile>(path);
    if (!index->m_file->exists()) {
        *error = QStringLiteral("找不到诗词检索的索引文件 %1：检索不可用。").arg(path);
        return nullptr;
    }
    if (!index->m_file->open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("打不开诗词检索的索引文件 %1：%2")
                     .arg(path, index->m_file->errorString());
        return nullptr;
    }
    index->m_size = quint64(index->m_file->size());
    index->m_data = index->m_size ? index->m_file->map(0, qint64(index->m_size)) : nullptr;
    if (index->m_size && !index->m_data) {
        *error = QStringLiteral("读不了诗词检索的索引文件 %1：%2")
                     .arg(path, index->m_file->errorString());
        return nullptr;
    }
    // A search reads a few parts of the file here and there: have the mapping read no more
    // than is asked for (by default the system reads around each page first touched as
    // much as the disk's read-ahead, megabytes on some), and ask for the header and the
    // block checksums in one read.
    if (index->m_data) {
        ::madvise(const_cast<uchar*>(index->m_data), index->m_size, MADV_RANDOM);
        index->prefetch(0, std::min<quint64>(index->m_size, 64 * 1024));
    }
    if (!index->check(error)) {
        *error = index->message(*error);
        return nullptr;
    }
    return index;
}

void Index::prefetch(quint64 from, quint64 to) const {
    from &= ~quint64(4095); // the mapping starts on a page
    if (to > from)
        ::madvise(const_cast<uchar*>(m_data + from), to - from, MADV_WILLNEED);
}

std::unique_ptr<Index> Index::fromBytes(QByteArray bytes, QString* error) {
    std::unique_ptr<Index> index(new Index);
    index->m_bytes = std::move(bytes);
    index->m_data = reinterpret_cast<const uchar*>(index->m_bytes.constData());
    index->m_size = quint64(index->m_bytes.size());
    if (!index->check(error)) {
        *error = index->message(*error);
        return nullptr;
    }
    if (!index->intact(index->m_blocksStart, index->m_size - index->m_blocksStart)) {
        *error = index->damage();
        return nullptr;
    }
    return index;
}

QString Index::message(const QString& reason) const {
    return m_path.isEmpty() ? QStringLiteral("诗词检索的索引已损坏（%1）").arg(reason)
                            : QStringLiteral("诗词检索的索引文件 %1 已损坏（%2）：请重新安装。")
                                  .arg(m_path, reason);
}

QString Index::damage() const {
    const char* reason = m_damage.load(std::memory_order_acquire);
    return reason ? message(QString::fromUtf8(reason)) : QString();
}

void Index::fail(const char* reason) const {
    const char* none = nullptr;
    m_damage.compare_exchange_strong(none, reason, std::memory_order_acq_rel);
}

bool Index::check(QString* error) {
    // Only what is small is read here: the header, the block checksums, the alphabet and
    // the map to simplified characters, which every search reads. The rest is checked as
    // it is read.
    auto bad = [&](const char* what) {
        *error = QString::fromUtf8(what);
        return false;
    };
    if (m_size < sizeof(Header) || reinterpret_cast<quintptr>(m_data) % 8)
        return bad("文件太短");
    const Header& h = *reinterpret_cast<const Header*>(m_data);
    if (!std::equal(std::begin(kMagic), std::end(kMagic), h.magic))
        return bad("不是索引文件");
    if (h.version != kVersion)
        return bad("索引版本不符");
    if (h.fileSize != m_size || blocksStart(h) > m_size ||
        h.blockCount != (m_size - blocksStart(h) + kBlockSize - 1) / kBlockSize)
        return bad("文件不完整");
    m_blockSums = reinterpret_cast<const quint64*>(m_data + sizeof(Header));
    if (headerChecksum(h, m_data + sizeof(Header)) != h.checksum)
        return bad("校验和不符");
    if (h.alphabetSize > kMaxCodes || h.poemCount == 0 || h.nameCount == 0 || h.poetCount == 0 ||
        h.tuneCount == 0 || h.poetCount > 0x10000 || h.tuneCount > 0x10000)
        return bad("文件不完整");
    const quint64 poems = h.poemCount + 1ull;
    const quint64 expected[kSectionCount] = {4ull * h.alphabetSize,
                                             4ull * (h.alphabetSize + 1ull),
                                             h.size[Postings],
                                             (h.wordCount + 7ull) / 8,
                                             4 * poems,
                                             4 * poems,
                                             4 * poems,
                                             sizeof(PoemRecord) * quint64(h.poemCount),
                                             4ull * h.poetCount,
                                             4ull * h.tuneCount,
                                             4ull * (h.nameCount + 1ull),
                                             h.size[Names],
                                             h.size[Texts],
                                             h.size[Simple],
                                             8ull * h.charMapSize};
    for (int s = 0; s < kSectionCount; ++s) {
        if (h.size[s] != expected[s] || h.offset[s] % 8 || h.offset[s] < blocksStart(h) ||
            h.offset[s] > m_size || h.size[s] > m_size - h.offset[s] || h.size[s] > UINT32_MAX)
            return bad("文件不完整");
    }
    m_header = &h;
    m_blocksStart = blocksStart(h);
    m_blockStates = std::make_unique<std::atomic<quint8>[]>(h.blockCount);
    m_alphabet = read<quint32>(Alphabet, 0, h.alphabetSize);
    m_charMap = read<quint32>(CharMap, 0, 2ull * h.charMapSize);
    if (!m_alphabet || !m_charMap)
        return bad(m_damage.load());
    m_codes.reserve(h.alphabetSize);
    for (quint32 c = 0; c < h.alphabetSize; ++c)
        m_codes.emplace_back(m_alphabet[c], c);
    std::sort(m_codes.begin(), m_codes.end());
    return true;
}

bool Index::intact(quint64 at, quint64 size) const {
    if (size == 0)
        return true;
    const quint64 first = (at - m_blocksStart) / kBlockSize;
    const quint64 last = (at + size - 1 - m_blocksStart) / kBlockSize;
    bool asked = false;
    for (quint64 b = first; b <= last; ++b) {
        quint8 state = m_blockStates[b].load(std::memory_order_relaxed);
        if (state == 0) {
            const quint64 from = m_blocksStart + b * kBlockSize;
            if (m_file && !asked) {
                // The blocks wanted are asked for at once (the mapping reads nothing ahead
                // by itself); when the block before was read, the reading goes forward
                // through a section, and a few blocks more are asked for, to be read while
                // this one is checked.
                asked = true;
                const bool forward = b > 0 && m_blockStates[b - 1].load(std::memory_order_relaxed);
                const quint64 end = std::max(last + 1, forward ? b + kReadAhead : 0);
                prefetch(from, std::min(m_size, m_blocksStart + end * kBlockSize));
            }
            state = checksum(m_data + from, std::min<quint64>(kBlockSize, m_size - from)) ==
                            m_blockSums[b]
                        ? 1
                        : 2;
            m_blockStates[b].store(state, std::memory_order_relaxed);
        }
        if (state != 1) {
            fail("校验和不符");
            return false;
        }
    }
    return true;
}

template <typename T> inline const T* Index::read(int section, quint64 first, quint64 count) const {
    const quint64 size = m_header->size[section] / sizeof(T);
    if (first > size || count > size - first) [[unlikely]] {
        fail("数据越界");
        return nullptr;
    }
    const quint64 at = m_header->offset[section] + first * sizeof(T);
    const quint64 bytes = count * sizeof(T);
    // Most reads are of a few bytes in a block already checked: that is decided here, in
    // line; the rest is intact()'s.
    if (bytes) {
        const quint64 block = (at - m_blocksStart) / kBlockSize;
        if (block != (at + bytes - 1 - m_blocksStart) / kBlockSize ||
            m_blockStates[block].load(std::memory_order_relaxed) != 1) [[unlikely]] {
            if (!intact(at, bytes))
                return nullptr;
        }
    }
    return reinterpret_cast<const T*>(m_data + at);
}

template <typename T> const T* Index::soundSection(int section) const {
    if (!(m_soundSections.load(std::memory_order_relaxed) & (1u << section))) {
        const quint64 at = m_header->offset[section], size = m_header->size[section];
        if (size) {
            for (quint64 b = (at - m_blocksStart) / kBlockSize;
                 b <= (at + size - 1 - m_blocksStart) / kBlockSize; ++b) {
                if (m_blockStates[b].load(std::memory_order_relaxed) != 1)
                    return nullptr;
            }
        }
        m_soundSections.fetch_or(1u << section, std::memory_order_relaxed);
    }
    return reinterpret_cast<const T*>(m_data + m_header->offset[section]);
}

const uchar* Index::bytes(int section, quint32 from, quint32 to) const {
    return read<uchar>(section, from, to - from);
}

std::optional<std::pair<quint32, quint32>> Index::range(int starts, quint32 i, int into) const {
    const quint32* s = read<quint32>(starts, i, 2);
    if (!s)
        return std::nullopt;
    if (s[0] > s[1] || s[1] > m_header->size[into]) {
        fail("位置表错乱");
        return std::nullopt;
    }
    return std::pair{s[0], s[1]};
}

const PoemRecord* Index::record(quint32 poem) const {
    const PoemRecord* r = read<PoemRecord>(Poems, poem);
    if (!r)
        return nullptr;
    const Header& h = *m_header;
    if (r->title >= h.nameCount || r->poet >= h.poetCount || r->tune >= h.tuneCount ||
        r->collection >= kCollectionCount || r->dynasty >= kDynastyCount || r->form >= kFormCount) {
        fail("诗篇表错乱");
        return nullptr;
    }
    return r;
}

quint32 Index::poemCount() const {
    return m_header->poemCount;
}

QList<char32_t> Index::decode(const uchar* p, const uchar* end) const {
    QList<char32_t> out;
    out.reserve(end - p);
    while (p < end) {
        const quint32 code = decodeChar(p, end);
        out.append(code < m_header->alphabetSize ? m_alphabet[code] : U'\uFFFD');
    }
    return out;
}

QString Index::name(quint32 id) const {
    if (id >= m_header->nameCount) {
        fail("名称表错乱");
        return {};
    }
    const auto r = range(NameStarts, id, Names);
    if (!r)
        return {};
    const uchar* p = bytes(Names, r->first, r->second);
    if (!p)
        return {};
    const QList<char32_t> chars = decode(p, p + (r->second - r->first));
    return QString::fromUcs4(chars.constData(), chars.size());
}

QString Index::poetName(quint32 poet) const {
    const quint32* n = read<quint32>(PoetNames, poet);
    return n ? name(*n) : QString();
}

QString Index::tuneName(quint32 tune) const {
    const quint32* n = read<quint32>(TuneNames, tune);
    return n ? name(*n) : QString();
}

QList<char32_t> Index::textOf(quint32 poem) const {
    const auto r = range(TextStarts, poem, Texts);
    if (!r)
        return {};
    const uchar* p = bytes(Texts, r->first, r->second);
    if (!p)
        return {};
    return decode(p, p + (r->second - r->first));
}

QList<char32_t> Index::simplifiedOf(quint32 poem, const QList<char32_t>& text) const {
    const PoemRecord* r = record(poem);
    const auto at = range(SimpleStarts, poem, Simple);
    const uchar* p = at ? bytes(Simple, at->first, at->second) : nullptr;
    if (!r || !p)
        return {};
    const uchar* end = p + (at->second - at->first);
    if (r->flags & kWhole)
        return decode(p, end);
    QList<char32_t> out = text;
    // The positions of the words in the text, for the exceptions to find theirs.
    std::vector<qsizetype> words;
    words.reserve(out.size());
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (!isWordChar(out[i]))
            continue;
        words.push_back(i);
        if (r->flags & kMapped)
            out[i] = simplifyChar(out[i]);
    }
    quint64 w = 0;
    while (p < end) {
        w += decodeVarint(p, end);
        if (p == end)
            break;
        const quint32 code = decodeChar(p, end);
        if (w < words.size() && code < m_header->alphabetSize)
            out[words[w]] = m_alphabet[code];
    }
    return out;
}

char32_t Index::simplifyChar(char32_t c) const {
    quint32 lo = 0, hi = m_header->charMapSize;
    while (lo < hi) {
        const quint32 mid = (lo + hi) / 2;
        if (m_charMap[2 * mid] < c)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < m_header->charMapSize && m_charMap[2 * lo] == c ? m_charMap[2 * lo + 1] : c;
}

QString Index::simplify(const QString& text) const {
    QList<char32_t> chars = ucs4(text);
    for (char32_t& c : chars)
        c = simplifyChar(c);
    return QString::fromUcs4(chars.constData(), chars.size());
}

std::vector<Index::Codes> Index::codesOf(const QString& phrase) const {
    // A character is looked for as it is typed and as simplified: 乾 is both 乾 (乾坤)
    // and 干 (乾燥).
    std::vector<Codes> out;
    for (char32_t typed : phrase.toUcs4()) {
        Codes codes{kNoCode, kNoCode};
        int n = 0;
        for (char32_t c : {typed, simplifyChar(typed)}) {
            const auto it = std::lower_bound(m_codes.begin(), m_codes.end(),
                                             std::pair<char32_t, quint32>(c, 0));
            if (it == m_codes.end() || it->first != c || (n == 1 && codes[0] == it->second))
                continue;
            const auto postings = range(PostingStarts, it->second, Postings);
            if (!postings || postings->first == postings->second)
                continue;
            codes[size_t(n++)] = it->second;
        }
        if (n == 0)
            return {};
        out.push_back(codes);
    }
    return out;
}

bool Index::endsLine(quint32 position) const {
    if (position >= m_header->wordCount)
        return false;
    const quint8* bits = read<quint8>(LineEnds, position / 8);
    return bits && ((*bits >> (position % 8)) & 1);
}

namespace {

// One code's positions, read forward.
struct List {
    const uchar* p;
    const uchar* end;
    quint32 limit; // positions from here on are damage and end the list
    quint32 value = 0;
    bool done = false;

    void next() {
        if (p >= end) {
            done = true;
            return;
        }
        const quint64 v = quint64(value) + decodeVarint(p, end);
        if (v >= limit)
            done = true;
        else
            value = quint32(v);
    }
};

// The positions of one or two codes, merged.
struct Cursor {
    List lists[2];
    int count = 1;
    quint32 value = 0;
    bool done = false;
    bool started = false;

    bool next() {
        for (int i = 0; i < count; ++i) {
            if (!started || (!lists[i].done && lists[i].value == value))
                lists[i].next();
        }
        started = true;
        done = true;
        for (int i = 0; i < count; ++i) {
            if (!lists[i].done && (done || lists[i].value < value)) {
                value = lists[i].value;
                done = false;
            }
        }
        return !done;
    }
    // Moves to the first position at or after `target`; false when there is none.
    bool seek(quint32 target) {
        while (!done && value < target)
            next();
        return !done;
    }
};

} // namespace

template <typename Found>
void Index::forEachOccurrence(const std::vector<Codes>& codes, Place place, Found&& found) const {
    if (codes.empty())
        return;
    const auto postings = [&](quint32 code) {
        return code == kNoCode ? std::nullopt : range(PostingStarts, code, Postings);
    };
    const auto size = [&](const Codes& c) {
        quint64 n = 0;
        for (quint32 code : c) {
            if (const auto r = postings(code))
                n += r->second - r->first;
        }
        return n;
    };
    // A list whose bytes are damaged is read as empty (the damage noted).
    const auto cursor = [&](const Codes& c) {
        Cursor out;
        out.count = 0;
        for (quint32 code : c) {
            const auto r = postings(code);
            if (const uchar* p = r ? bytes(Postings, r->first, r->second) : nullptr)
                out.lists[out.count++] = List{p, p + (r->second - r->first), m_header->wordCount};
        }
        return out;
    };
    // The rarest character leads; the others' positions are read alongside, each once,
    // and must be at the same distance from it as in the phrase.
    size_t lead = 0;
    for (size_t i = 1; i < codes.size(); ++i) {
        if (size(codes[i]) < size(codes[lead]))
            lead = i;
    }
    std::vector<Cursor> others;
    std::vector<quint32> offsets;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i == lead)
            continue;
        others.push_back(cursor(codes[i]));
        offsets.push_back(quint32(i));
        if (!others.back().next())
            return;
    }
    const quint32 length = quint32(codes.size());
    Cursor first = cursor(codes[lead]);
    while (first.next()) {
        if (first.value < lead)
            continue;
        const quint32 start = first.value - quint32(lead);
        bool all = true;
        for (size_t i = 0; i < others.size(); ++i) {
            if (!others[i].seek(start + offsets[i]))
                return;
            if (others[i].value != start + offsets[i]) {
                all = false;
                break;
            }
        }
        if (!all)
            continue;
        if (place == Place::LineStart && start > 0 && !endsLine(start - 1))
            continue;
        if (place == Place::LineEnd && !endsLine(start + length - 1))
            continue;
        if (!found(start))
            return;
    }
}

std::optional<Index::PoemWords> Index::poemHolding(quint32 position, quint32 from,
                                                   const quint32* wordStarts) const {
    // Positions come in ascending order: gallop forward from the last poem found, so that
    // a common character's many hits walk the poems once instead of searching each time.
    const quint32 count = m_header->poemCount;
    const auto startOf = [&](quint32 poem) {
        if (wordStarts)
            return wordStarts[poem];
        const quint32* s = read<quint32>(WordStarts, poem);
        return s ? *s : UINT32_MAX;
    };
    quint32 lo = std::min(from, count - 1), step = 1;
    if (startOf(lo) > position)
        lo = 0;
    while (lo + step < count && startOf(lo + step) <= position) {
        lo += step;
        step *= 2;
    }
    // The starts from lo to the first past the position (the last start, of no poem, is
    // where the words end).
    const quint32 n = std::min(count, lo + step) + 1 - lo;
    const quint32* starts = wordStarts ? wordStarts + lo : read<quint32>(WordStarts, lo, n);
    if (!starts)
        return std::nullopt;
    const quint32* next = std::upper_bound(starts, starts + n, position);
    if (next == starts || next == starts + n || next[-1] > position ||
        *next > m_header->wordCount) {
        fail("位置表错乱");
        return std::nullopt;
    }
    return PoemWords{.poem = lo + quint32(next - starts) - 1, .first = next[-1], .end = *next};
}

namespace {

QList<NameCount> ranked(const std::vector<int>& counts, const std::vector<quint32>& touched,
                        const std::function<QString(quint32)>& name) {
    QList<NameCount> out;
    out.reserve(qsizetype(touched.size()));
    for (quint32 id : touched) {
        if (id != 0)
            out.append({name(id), counts[id]});
    }
    std::sort(out.begin(), out.end(), [](const NameCount& a, const NameCount& b) {
        return a.count != b.count ? a.count > b.count : a.name < b.name;
    });
    return out;
}

} // namespace

Result Index::search(const Query& q) const {
    Result result = find(q);
    if (QString damaged = damage(); !damaged.isEmpty()) {
        result = Result();
        result.error = std::move(damaged);
    }
    return result;
}

Result Index::find(const Query& q) const {
    Result result;
    if (damaged())
        return result;
    const QStringList phrases = searchablePhrases(q.phrases, &result.error);
    if (phrases.isEmpty())
        return result;
    std::vector<std::vector<Codes>> codes;
    for (const QString& phrase : phrases) {
        codes.push_back(codesOf(phrase));
        if (codes.back().empty())
            return result; // a character no poem has
    }

    // The filters on names, as tables by poet, tune and name.
    const Header& h = *m_header;
    const auto wanted = [&](const QString& text) { return simplify(text.trimmed()); };
    std::vector<bool> poets, tunes, titles;
    if (const QString want = wanted(q.poet); !want.isEmpty()) {
        poets.assign(h.poetCount, false);
        for (quint32 i = 1; i < h.poetCount; ++i)
            poets[i] = poetName(i) == want;
    }
    if (const QString want = wanted(q.tune); !want.isEmpty()) {
        // A tune is found by any of its names: "念奴娇・大江东去" answers 念奴娇.
        tunes.assign(h.tuneCount, false);
        for (quint32 i = 1; i < h.tuneCount; ++i) {
            const QString n = tuneName(i);
            tunes[i] = n == want || n.split(u'・').contains(want);
        }
    }
    if (const QString want = wanted(q.title); !want.isEmpty()) {
        titles.assign(h.nameCount, false);
        for (quint32 i = 1; i < h.nameCount; ++i)
            titles[i] = name(i).contains(want);
    }
    // record() has checked that the record's numbers are inside the tables.
    const auto poemPasses = [&](const PoemRecord& r) {
        return (!q.dynasty || r.dynasty == quint8(*q.dynasty)) &&
               (!q.form || r.form == quint8(*q.form)) && (poets.empty() || poets[r.poet]) &&
               (tunes.empty() || tunes[r.tune]) && (titles.empty() || titles[r.title]);
    };

    // The poems holding each further phrase, ascending. Positions come in ascending
    // order: the poem is looked up only for one past the last poem's words.
    const quint32* wordStarts = soundSection<quint32>(WordStarts);
    std::vector<std::vector<quint32>> others;
    for (size_t i = 1; i < codes.size(); ++i) {
        std::vector<quint32> poems;
        PoemWords words;
        forEachOccurrence(codes[i], q.place, [&](quint32 start) {
            if (start < words.end)
                return true;
            const auto next = poemHolding(start, words.poem, wordStarts);
            if (!next)
                return false;
            words = *next;
            poems.push_back(words.poem);
            return true;
        });
        if (poems.empty())
            return result;
        others.push_back(std::move(poems));
    }

    // Poems are stored by rank, so the first hits found are the ones shown: only the
    // counts need every hit.
    const size_t keep = q.limit > 0 ? size_t(q.limit) : SIZE_MAX;
    std::vector<int> poetCounts(h.poetCount, 0), tuneCounts(h.tuneCount, 0);
    std::vector<quint32> poetTouched, tuneTouched;
    std::vector<size_t> cursor(others.size(), 0);
    PoemWords words;
    const PoemRecord* r = nullptr;
    bool passes = false;
    forEachOccurrence(codes[0], q.place, [&](quint32 start) {
        if (start >= words.end) {
            const auto next = poemHolding(start, words.poem, wordStarts);
            r = next ? record(next->poem) : nullptr;
            if (!r)
                return false;
            words = *next;
            passes = poemPasses(*r);
            for (size_t i = 0; i < others.size() && passes; ++i) {
                size_t& c = cursor[i];
                while (c < others[i].size() && others[i][c] < words.poem)
                    ++c;
                passes = c < others[i].size() && others[i][c] == words.poem;
            }
            if (passes)
                ++result.poems;
        }
        if (!passes)
            return true;
        ++result.total;
        if (result.hits.size() < keep)
            result.hits.push_back({words.poem, start - words.first});
        if (poetCounts[r->poet]++ == 0)
            poetTouched.push_back(r->poet);
        if (tuneCounts[r->tune]++ == 0)
            tuneTouched.push_back(r->tune);
        return true;
    });
    result.poets = ranked(poetCounts, poetTouched, [this](quint32 id) { return poetName(id); });
    result.tunes = ranked(tuneCounts, tuneTouched, [this](quint32 id) { return tuneName(id); });
    return result;
}

Poem Index::poem(quint32 id) const {
    id = std::min(id, m_header->poemCount - 1);
    const PoemRecord* r = damaged() ? nullptr : record(id);
    if (!r)
        return {};
    const QList<char32_t> text = textOf(id);
    const QList<char32_t> simplified = simplifiedOf(id, text);
    Poem p{.collection = Collection(r->collection),
           .dynasty = Dynasty(r->dynasty),
           .form = Form(r->form),
           .anthologies = r->anthologies,
           .sourceIndex = r->sourceIndex,
           .poet = poetName(r->poet),
           .title = name(r->title),
           .tune = tuneName(r->tune),
           .text = QString::fromUcs4(text.constData(), text.size()),
           .simplified = QString::fromUcs4(simplified.constData(), simplified.size())};
    return damaged() ? Poem{} : p;
}

HitLine Index::hitLine(const Hit& hit, const QStringList& phrases) const {
    HitLine line;
    const PoemRecord* r = hit.poem < m_header->poemCount && !damaged() ? record(hit.poem) : nullptr;
    if (!r)
        return line;
    const QList<char32_t> original = textOf(hit.poem);
    const QList<char32_t> simple = simplifiedOf(hit.poem, original);
    if (damaged())
        return line;
    // The line is shown as the source spells it, unless the simplified text has another
    // shape; the words are compared simplified.
    const QList<char32_t>& shown = (r->flags & kWhole) ? simple : original;
    const QString text = QString::fromUcs4(shown.constData(), shown.size());
    // The line (between line breaks) holding the hit's word, and where its words are.
    struct Word {
        int at;   // in text, UTF-16
        int size; // 1 or 2
        quint32 index;
    };
    std::vector<Word> words;
    std::vector<char32_t> poemWords; // the whole poem's, simplified
    int lineStart = 0, at = 0;
    quint32 w = 0;
    bool found = false;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char32_t c = shown[i];
        const int size = c > 0xffff ? 2 : 1;
        if (c == U'\n') {
            if (found) {
                line.text = text.mid(lineStart, at - lineStart);
                break;
            }
            words.clear();
            lineStart = at + 1;
        } else if (isWordChar(c)) {
            words.push_back({at - lineStart, size, w});
            found = found || w == hit.position;
            ++w;
        }
        at += size;
    }
    for (char32_t c : simple) {
        if (isWordChar(c))
            poemWords.push_back(c);
    }
    if (line.text.isNull())
        line.text = found ? text.mid(lineStart) : QString();
    if (!found)
        return line;
    QString unused;
    // Each occurrence as a run of words; runs that overlap become one mark.
    std::vector<std::pair<size_t, size_t>> runs;
    for (const QString& phrase : searchablePhrases(phrases, &unused)) {
        // A phrase may go on into the next line; its mark stops at the line's end.
        const QList<char32_t> chars = ucs4(phrase);
        const auto same = [this](char32_t typed, char32_t word) {
            return word == typed || word == simplifyChar(typed);
        };
        for (size_t j = 0; j < words.size(); ++j) {
            const size_t from = words[j].index;
            if (from + size_t(chars.size()) > poemWords.size() ||
                !std::equal(chars.begin(), chars.end(), poemWords.begin() + qsizetype(from), same))
                continue;
            runs.emplace_back(j, std::min(words.size(), j + size_t(chars.size())) - 1);
        }
    }
    std::sort(runs.begin(), runs.end());
    for (size_t i = 0; i < runs.size();) {
        auto [first, last] = runs[i];
        for (++i; i < runs.size() && runs[i].first <= last; ++i)
            last = std::max(last, runs[i].second);
        line.marks.append({words[first].at, words[last].at + words[last].size - words[first].at});
    }
    return line;
}

} // namespace search
