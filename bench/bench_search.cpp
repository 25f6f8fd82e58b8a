// The phrase search over the built corpus: 1,000 phrases of one to six characters drawn
// from the poems and 100 that no poem has, each timed on its own (median and 99th
// percentile as counters), against a plain scan of the same text without an index, and
// the first opening of the corpus file.
//
//   bench_search [benchmark options]
//   LYREVANE_BENCH_DUMP=DIR bench_search   # writes DIR/poems.txt and DIR/phrases.txt
//                                          # for bench/search-fts5.py, then ends
//
// Reads the corpus of the build's app folder (built only with the poetry dataset).

#include "search/core/search_index.h"
#include "search/core/text_chars.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <functional>
#include <random>

using namespace search;

namespace {

const Index* corpus() {
    static std::unique_ptr<Index> index = [] {
        QString error;
        auto i = Index::open(QStringLiteral(LYREVANE_SEARCH_INDEX), &error);
        if (!i)
            std::fprintf(stderr, "%s\n", qPrintable(error));
        return i;
    }();
    return index.get();
}

// Every poem's words, simplified, one string a poem.
const QStringList& poemWords() {
    static const QStringList words = [] {
        QStringList out;
        for (quint32 i = 0; i < corpus()->poemCount(); ++i) {
            const QList<char32_t> w = wordChars(corpus()->poem(i).simplified);
            out << QString::fromUcs4(w.constData(), w.size());
        }
        return out;
    }();
    return words;
}

const QStringList& phrases() {
    static const QStringList list = [] {
        QStringList out;
        std::mt19937 rng(20261211);
        const QStringList& words = poemWords();
        std::uniform_int_distribution<qsizetype> pick(0, words.size() - 1);
        while (out.size() < 1000) {
            const QString& w = words[pick(rng)];
            const qsizetype length = 1 + out.size() % 6;
            if (w.size() < length || w.contains(u'□'))
                continue;
            const qsizetype start =
                std::uniform_int_distribution<qsizetype>(0, w.size() - length)(rng);
            const QString phrase = w.mid(start, length);
            if (!phrase.front().isLowSurrogate() && !phrase.back().isHighSurrogate())
                out << phrase;
        }
        // Absent: two present pairs joined, kept when no poem has the four characters.
        int absent = 0;
        for (qsizetype i = 0; absent < 100; i += 2) {
            const QString a = out[i % 1000].left(2), b = out[(i * 7 + 3) % 1000].left(2);
            Query q;
            q.phrases = {a + b};
            q.limit = 1;
            if ((a + b).size() == 4 && corpus()->search(q).total == 0) {
                out << a + b;
                ++absent;
            }
        }
        return out;
    }();
    return list;
}

void timeEach(benchmark::State& state, const std::function<void(const QString&)>& run,
              qsizetype count) {
    std::vector<double> ms;
    for (auto _ : state) {
        for (qsizetype i = 0; i < count; ++i) {
            const auto start = std::chrono::steady_clock::now();
            run(phrases()[i * phrases().size() / count]);
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
}

// The index: the rarest character's positions, the rest compared in place, ranked and
// counted per poet and tune as the window asks.
void BM_SearchIndexed(benchmark::State& state) {
    if (!corpus()) {
        state.SkipWithError("no corpus");
        return;
    }
    timeEach(
        state,
        [](const QString& p) {
            Query q;
            q.phrases = {p};
            q.limit = 500;
            benchmark::DoNotOptimize(corpus()->search(q).total);
        },
        phrases().size());
}
BENCHMARK(BM_SearchIndexed)->Unit(benchmark::kMillisecond)->Iterations(1);

// No index: a Boyer-Moore-Horspool scan of every poem's words, counting hits only.
void BM_SearchScan(benchmark::State& state) {
    if (!corpus()) {
        state.SkipWithError("no corpus");
        return;
    }
    static const std::u16string text = [] {
        std::u16string all;
        for (const QString& w : poemWords()) {
            all +=
                std::u16string_view(reinterpret_cast<const char16_t*>(w.utf16()), size_t(w.size()));
            all += u'\n';
        }
        return all;
    }();
    timeEach(
        state,
        [](const QString& p) {
            const std::u16string_view needle(reinterpret_cast<const char16_t*>(p.utf16()),
                                             size_t(p.size()));
            const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
            qint64 hits = 0;
            for (auto it = text.begin();;) {
                it = std::search(it, text.end(), searcher);
                if (it == text.end())
                    break;
                ++hits;
                ++it;
            }
            benchmark::DoNotOptimize(hits);
        },
        110);
}
BENCHMARK(BM_SearchScan)->Unit(benchmark::kMillisecond)->Iterations(1);

// The first use: the file mapped and checked.
void BM_OpenCorpus(benchmark::State& state) {
    for (auto _ : state) {
        QString error;
        auto i = Index::open(QStringLiteral(LYREVANE_SEARCH_INDEX), &error);
        benchmark::DoNotOptimize(i.get());
    }
}
BENCHMARK(BM_OpenCorpus)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (const QString dir = qEnvironmentVariable("LYREVANE_BENCH_DUMP"); !dir.isEmpty()) {
        if (!corpus())
            return 1;
        QDir().mkpath(dir);
        QFile poems(dir + QStringLiteral("/poems.txt")), list(dir + QStringLiteral("/phrases.txt"));
        if (!poems.open(QIODevice::WriteOnly) || !list.open(QIODevice::WriteOnly))
            return 1;
        poems.write(poemWords().join(u'\n').toUtf8() + '\n');
        list.write(phrases().join(u'\n').toUtf8() + '\n');
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
