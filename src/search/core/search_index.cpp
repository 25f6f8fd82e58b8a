#include "search/core/search_index.h"

#include "base/core/gbk.h"
#include "search/core/index_format.h"
#include "search/core/text_chars.h"

#include <QFile>
#include <algorithm>
#include <functional>

namespace search {

using namespace format;

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
    if (!index->check(error)) {
        *error =
            QStringLiteral("诗词检索的索引文件 %1 已损坏（%2）：请重新安装。").arg(path, *error);
        return nullptr;
    }
    return index;
}

std::unique_ptr<Index> Index::fromBytes(QByteArray bytes, QString* error) {
    std::unique_ptr<Index> index(new Index);
    index->m_bytes = std::move(bytes);
    index->m_data = reinterpret_cast<const uchar*>(index->m_bytes.constData());
    index->m_size = quint64(index->m_bytes.size());
    if (!index->check(error)) {
        *error = QStringLiteral("诗词检索的索引已损坏（%1）").arg(*error);
        return nullptr;
    }
    return index;
}

bool Index::check(QString* error) {
    auto fail = [&](const char* what) {
        *error = QString::fromUtf8(what);
        return false;
    };
    if (m_size < sizeof(Header) || reinterpret_cast<quintptr>(m_data) % 8)
        return fail("文件太短");
    m_header = reinterpret_cast<const Header*>(m_data);
    const Header& h = *m_header;
    if (!std::equal(std::begin(kMagic), std::end(kMagic), h.magic))
        return fail("不是索引文件");
    if (h.version != kVersion)
        return fail("索引版本不符");
    const quint64 expected[kSectionCount] = {4ull * h.alphabetSize,
                                             2ull * h.streamLength,
                                             (h.streamLength + 3ull) / 4,
                                             4ull * (h.alphabetSize + 2ull),
                                             h.size[Postings],
                                             sizeof(PoemRecord) * quint64(h.poemCount),
                                             4ull * (h.nameCount + 1ull),
                                             h.size[Names],
                                             h.size[Texts],
                                             8ull * h.charMapSize};
    for (int s = 0; s < kSectionCount; ++s) {
        if (h.size[s] != expected[s] || h.offset[s] % 8 || h.offset[s] < sizeof(Header) ||
            h.offset[s] > m_size || h.size[s] > m_size - h.offset[s])
            return fail("文件不完整");
    }
    if (h.alphabetSize >= 0xffff || h.nameCount == 0 || h.streamLength == 0)
        return fail("文件不完整");
    if (checksum(m_data + sizeof(Header), m_size - sizeof(Header)) != h.checksum)
        return fail("校验和不符");
    m_alphabet = reinterpret_cast<const quint32*>(m_data + h.offset[Alphabet]);
    m_stream = reinterpret_cast<const quint16*>(m_data + h.offset[Stream]);
    m_clauses = m_data + h.offset[Clauses];
    m_postingStarts = reinterpret_cast<const quint32*>(m_data + h.offset[PostingStarts]);
    m_postings = m_data + h.offset[Postings];
    m_poems = reinterpret_cast<const PoemRecord*>(m_data + h.offset[Poems]);
    m_nameStarts = reinterpret_cast<const quint32*>(m_data + h.offset[NameStarts]);
    m_names = reinterpret_cast<const char*>(m_data + h.offset[Names]);
    m_texts = reinterpret_cast<const char*>(m_data + h.offset[Texts]);
    m_charMap = reinterpret_cast<const quint32*>(m_data + h.offset[CharMap]);

    for (quint32 c = 0; c <= h.alphabetSize; ++c) {
        if (m_postingStarts[c] > m_postingStarts[c + 1])
            return fail("位置表错乱");
    }
    if (m_postingStarts[h.alphabetSize + 1] > h.size[Postings])
        return fail("位置表错乱");
    for (quint32 n = 0; n < h.nameCount; ++n) {
        if (m_nameStarts[n] > m_nameStarts[n + 1])
            return fail("名称表错乱");
    }
    if (m_nameStarts[h.nameCount] > h.size[Names])
        return fail("名称表错乱");
    quint32 lastStart = 0;
    for (quint32 i = 0; i < h.poemCount; ++i) {
        const PoemRecord& r = m_poems[i];
        if (r.streamStart < lastStart || quint64(r.streamStart) + r.streamLength > h.streamLength ||
            quint64(r.textStart) + r.textBytes > h.size[Texts] ||
            quint64(r.simplifiedStart) + r.simplifiedBytes > h.size[Texts] ||
            r.title >= h.nameCount || r.poet >= h.nameCount || r.tune >= h.nameCount ||
            r.collection >= kCollectionCount || r.dynasty >= kDynastyCount || r.form >= kFormCount)
            return fail("诗篇表错乱");
        lastStart = r.streamStart;
    }
    m_codes.reserve(h.alphabetSize);
    for (quint32 c = 0; c < h.alphabetSize; ++c)
        m_codes.emplace_back(m_alphabet[c], quint16(c + 1));
    std::sort(m_codes.begin(), m_codes.end());
    return true;
}

quint32 Index::poemCount() const {
    return m_header->poemCount;
}

const PoemRecord& Index::record(quint32 id) const {
    return m_poems[id];
}

QString Index::name(quint32 id) const {
    if (id >= m_header->nameCount)
        return {};
    return QString::fromUtf8(m_names + m_nameStarts[id], m_nameStarts[id + 1] - m_nameStarts[id]);
}

QString Index::textAt(quint32 start, quint32 bytes) const {
    return QString::fromUtf8(m_texts + start, bytes);
}

QString Index::simplify(const QString& text) const {
    QList<char32_t> chars = ucs4(text);
    const quint32 n = m_header->charMapSize;
    for (char32_t& c : chars) {
        quint32 lo = 0, hi = n;
        while (lo < hi) {
            const quint32 mid = (lo + hi) / 2;
            if (m_charMap[2 * mid] < c)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo < n && m_charMap[2 * lo] == c)
            c = m_charMap[2 * lo + 1];
    }
    return QString::fromUcs4(chars.constData(), chars.size());
}

std::vector<quint16> Index::codesOf(const QString& phrase) const {
    std::vector<quint16> out;
    for (char32_t c : simplify(phrase).toUcs4()) {
        const auto it =
            std::lower_bound(m_codes.begin(), m_codes.end(), std::pair<char32_t, quint16>(c, 0));
        if (it == m_codes.end() || it->first != c)
            return {};
        out.push_back(it->second);
    }
    return out;
}

std::vector<quint32> Index::occurrences(const std::vector<quint16>& codes, Place place) const {
    std::vector<quint32> out;
    if (codes.empty())
        return out;
    // Walk the positions of the phrase's rarest character and compare the rest in place.
    size_t pick = 0;
    quint32 fewest = UINT32_MAX;
    for (size_t i = 0; i < codes.size(); ++i) {
        const quint32 bytes = m_postingStarts[codes[i] + 1] - m_postingStarts[codes[i]];
        if (bytes < fewest) {
            fewest = bytes;
            pick = i;
        }
    }
    const quint32 length = quint32(codes.size());
    const quint32 total = m_header->streamLength;
    const uchar* p = m_postings + m_postingStarts[codes[pick]];
    const uchar* end = m_postings + m_postingStarts[codes[pick] + 1];
    quint64 position = 0;
    while (p < end) {
        quint32 delta = 0;
        int shift = 0;
        while (p < end && shift < 35) {
            const uchar b = *p++;
            delta |= quint32(b & 0x7f) << shift;
            shift += 7;
            if (!(b & 0x80))
                break;
        }
        position += delta;
        if (position >= total)
            break;
        if (position < pick)
            continue;
        const quint32 start = quint32(position - pick);
        if (quint64(start) + length > total)
            continue;
        if (!std::equal(codes.begin(), codes.end(), m_stream + start))
            continue;
        if (place == Place::LineStart &&
            !((m_clauses[start / 4] >> (2 * (start % 4))) & kOpensClause))
            continue;
        const quint32 last = start + length - 1;
        if (place == Place::LineEnd && !((m_clauses[last / 4] >> (2 * (last % 4))) & kClosesClause))
            continue;
        out.push_back(start);
    }
    return out;
}

quint32 Index::poemAt(quint32 position, quint32 from) const {
    // Positions come in ascending order: gallop forward from the last poem found, so that
    // a common character's many hits walk the poems once instead of searching each time.
    const quint32 count = m_header->poemCount;
    quint32 lo = from, step = 1;
    while (lo + step < count && m_poems[lo + step].streamStart <= position) {
        lo += step;
        step *= 2;
    }
    const PoemRecord* begin = m_poems + lo;
    const PoemRecord* end = m_poems + std::min(count, lo + step + 1);
    const PoemRecord* it = std::upper_bound(
        begin, end, position, [](quint32 pos, const PoemRecord& r) { return pos < r.streamStart; });
    return it == m_poems ? 0 : quint32(it - m_poems - 1);
}

namespace {

// Name ids whose UTF-8 bytes pass `keep`, as a table by id.
template <typename Keep>
std::vector<bool> namesWhere(const quint32* starts, const char* names, quint32 count, Keep keep) {
    std::vector<bool> out(count, false);
    for (quint32 i = 0; i < count; ++i)
        out[i] = keep(QByteArrayView(names + starts[i], starts[i + 1] - starts[i]));
    return out;
}

QList<NameCount> ranked(const std::vector<int>& counts, const std::vector<quint32>& touched,
                        const std::function<QString(quint32)>& name) {
    QList<NameCount> out;
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
    Result result;
    const QStringList phrases = searchablePhrases(q.phrases, &result.error);
    if (phrases.isEmpty())
        return result;
    std::vector<std::vector<quint16>> codes;
    for (const QString& phrase : phrases) {
        codes.push_back(codesOf(phrase));
        if (codes.back().empty())
            return result; // a character no poem has
    }

    const quint32 nameCount = m_header->nameCount;
    std::vector<bool> poets, tunes, titles;
    if (!q.poet.trimmed().isEmpty()) {
        const QByteArray want = simplify(q.poet.trimmed()).toUtf8();
        poets = namesWhere(m_nameStarts, m_names, nameCount,
                           [&](QByteArrayView n) { return n == QByteArrayView(want); });
    }
    if (!q.tune.trimmed().isEmpty()) {
        const QByteArray want = simplify(q.tune.trimmed()).toUtf8();
        const QByteArray dot = QStringLiteral("・").toUtf8();
        tunes = namesWhere(m_nameStarts, m_names, nameCount, [&](QByteArrayView n) {
            return n == QByteArrayView(want) || n.startsWith(want + dot) ||
                   n.endsWith(dot + want) || n.contains(dot + want + dot);
        });
    }
    if (!q.title.trimmed().isEmpty()) {
        const QByteArray want = simplify(q.title.trimmed()).toUtf8();
        titles = namesWhere(m_nameStarts, m_names, nameCount,
                            [&](QByteArrayView n) { return n.contains(want); });
    }
    auto poemPasses = [&](const PoemRecord& r) {
        return (!q.dynasty || r.dynasty == quint8(*q.dynasty)) &&
               (!q.form || r.form == quint8(*q.form)) && (poets.empty() || poets[r.poet]) &&
               (tunes.empty() || tunes[r.tune]) && (titles.empty() || titles[r.title]);
    };

    // The poems holding each further phrase, ascending.
    std::vector<std::vector<quint32>> others;
    for (size_t i = 1; i < codes.size(); ++i) {
        std::vector<quint32> poems;
        quint32 from = 0;
        for (quint32 pos : occurrences(codes[i], q.place)) {
            from = poemAt(pos, from);
            if (poems.empty() || poems.back() != from)
                poems.push_back(from);
        }
        others.push_back(std::move(poems));
    }

    struct Found {
        quint64 key;
        quint32 poem;
        quint32 position;
    };
    std::vector<Found> found;
    std::vector<int> poetCounts(nameCount, 0), tuneCounts(nameCount, 0);
    std::vector<quint32> poetTouched, tuneTouched;
    std::vector<size_t> cursor(others.size(), 0);
    quint32 from = 0;
    quint32 lastPoem = UINT32_MAX;
    for (quint32 pos : occurrences(codes[0], q.place)) {
        from = poemAt(pos, from);
        const PoemRecord& r = m_poems[from];
        if (!poemPasses(r))
            continue;
        bool inAll = true;
        for (size_t i = 0; i < others.size() && inAll; ++i) {
            auto& c = cursor[i];
            while (c < others[i].size() && others[i][c] < from)
                ++c;
            inAll = c < others[i].size() && others[i][c] == from;
        }
        if (!inAll)
            continue;
        found.push_back({(quint64(r.rank) << 32) | pos, from, pos - r.streamStart});
        if (from != lastPoem) {
            ++result.poems;
            lastPoem = from;
        }
        if (poetCounts[r.poet]++ == 0)
            poetTouched.push_back(r.poet);
        if (tuneCounts[r.tune]++ == 0)
            tuneTouched.push_back(r.tune);
    }
    result.total = qint64(found.size());
    const size_t keep = q.limit > 0 ? std::min(found.size(), size_t(q.limit)) : found.size();
    std::partial_sort(found.begin(), found.begin() + qsizetype(keep), found.end(),
                      [](const Found& a, const Found& b) { return a.key < b.key; });
    for (size_t i = 0; i < keep; ++i)
        result.hits.push_back({found[i].poem, found[i].position});
    const auto nameOf = [this](quint32 id) { return name(id); };
    result.poets = ranked(poetCounts, poetTouched, nameOf);
    result.tunes = ranked(tuneCounts, tuneTouched, nameOf);
    return result;
}

Poem Index::poem(quint32 id) const {
    const PoemRecord& r = m_poems[std::min(id, m_header->poemCount - 1)];
    Poem p{.collection = Collection(r.collection),
           .dynasty = Dynasty(r.dynasty),
           .form = Form(r.form),
           .anthologies = r.anthologies,
           .sourceIndex = r.sourceIndex,
           .poet = name(r.poet),
           .title = name(r.title),
           .tune = name(r.tune),
           .text = textAt(r.textStart, r.textBytes),
           .simplified = {}};
    if (r.simplifiedBytes) {
        p.simplified = textAt(r.simplifiedStart, r.simplifiedBytes);
        return p;
    }
    QList<char32_t> chars = ucs4(p.text);
    quint32 w = 0;
    for (char32_t& c : chars) {
        if (!isWordChar(c))
            continue;
        if (w < r.streamLength) {
            const quint16 code = m_stream[r.streamStart + w];
            if (code >= 1 && code <= m_header->alphabetSize)
                c = m_alphabet[code - 1];
        }
        ++w;
    }
    p.simplified = QString::fromUcs4(chars.constData(), chars.size());
    return p;
}

HitLine Index::hitLine(const Hit& hit, const QStringList& phrases) const {
    HitLine line;
    if (hit.poem >= m_header->poemCount)
        return line;
    const PoemRecord& r = m_poems[hit.poem];
    const QString text = r.simplifiedBytes ? textAt(r.simplifiedStart, r.simplifiedBytes)
                                           : textAt(r.textStart, r.textBytes);
    // The line (between line breaks) holding the hit's word, and where its words are.
    struct Word {
        int at;
        int size;
        quint32 index;
    };
    std::vector<Word> words;
    int lineStart = 0;
    quint32 w = 0;
    bool found = false;
    for (int i = 0; i < text.size();) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                               ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                               : text.at(i).unicode();
        const int size = c > 0xffff ? 2 : 1;
        if (c == U'\n') {
            if (found) {
                line.text = text.mid(lineStart, i - lineStart);
                break;
            }
            words.clear();
            lineStart = i + 1;
        } else if (isWordChar(c)) {
            words.push_back({i - lineStart, size, w});
            found = found || w == hit.position;
            ++w;
        }
        i += size;
    }
    if (line.text.isNull())
        line.text = found ? text.mid(lineStart) : QString();
    if (!found)
        return line;
    QString unused;
    // Each occurrence as a run of words; runs that overlap become one mark.
    std::vector<std::pair<size_t, size_t>> runs;
    for (const QString& phrase : searchablePhrases(phrases, &unused)) {
        const std::vector<quint16> codes = codesOf(phrase);
        if (codes.empty())
            continue;
        for (size_t j = 0; j < words.size(); ++j) {
            const quint64 start = quint64(r.streamStart) + words[j].index;
            if (words[j].index + codes.size() > r.streamLength ||
                !std::equal(codes.begin(), codes.end(), m_stream + start))
                continue;
            runs.emplace_back(j, std::min(words.size(), j + codes.size()) - 1);
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
