// The phrase search over the built corpus: 1,000 phrases of one to six characters drawn
// from the poems and 100 that no poem has, each timed on its own (median and 99th
// percentile as counters, of the time on the clock and of the processor time the query
// took, which other programs on the machine do not lengthen), against a plain scan of
// the same text without an index, and the first opening of the corpus file.
//
//   taskset -c 1 bench_search [benchmark options]      # on one core
//   LYREVANE_BENCH_DUMP=DIR bench_search   # writes DIR/poems.txt and DIR/phrases.txt
//                                          # for bench/search-fts5.py, then ends
//
// Warm: the file open and every query run once before the timed ones. Cold: before each
// query the file is dropped from the page cache and opened anew, as at the first search
// after the machine started; opening reads the header and the block checksums, and each
// block of the file is read and checked when a query first needs it.
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
#include <fcntl.h>
#include <functional>
#include <random>
#include <unistd.h>

using namespace search;

namespace {

std::unique_ptr<Index> openCorpus() {
    QString error;
    auto i = Index::open(QStringLiteral(LYREVANE_SEARCH_INDEX), &error);
    if (!i)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return i;
}

std::unique_ptr<Index>& shared() {
    static std::unique_ptr<Index> index;
    return index;
}

const Index* corpus() {
    if (!shared())
        shared() = openCorpus();
    return shared().get();
}

// Drops the file's pages from the page cache (it must not be mapped).
void dropFromCache() {
    const int fd = ::open(LYREVANE_SEARCH_INDEX, O_RDONLY);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

double threadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
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

struct Figures {
    std::vector<double> wall, cpu;
    void put(benchmark::State& state, const std::string& prefix = {}) const {
        for (const auto& [name, list] : {std::pair{"", &wall}, std::pair{"cpu_", &cpu}}) {
            std::vector<double> ms = *list;
            if (ms.empty())
                continue;
            std::sort(ms.begin(), ms.end());
            const std::string p = prefix + name;
            state.counters[p + "median_ms"] = ms[ms.size() / 2];
            state.counters[p + "p99_ms"] = ms[ms.size() * 99 / 100];
            state.counters[p + "max_ms"] = ms.back();
        }
    }
};

// Times `run` on every `step`-th phrase.
void timeEach(benchmark::State& state, const std::function<void(const QString&)>& run,
              qsizetype step = 1) {
    Figures f;
    for (auto _ : state) {
        for (qsizetype i = 0; i < phrases().size(); i += step) {
            const double cpu = threadMs();
            const auto start = std::chrono::steady_clock::now();
            run(phrases()[i]);
            f.wall.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            f.cpu.push_back(threadMs() - cpu);
        }
    }
    f.put(state);
}

// A query as the window asks it: the first 500 hits, all counted per poet and tune.
Result windowResult(const Index& index, const QString& phrase) {
    Query q;
    q.phrases = {phrase};
    q.limit = 500;
    return index.search(q);
}

qint64 windowQuery(const Index& index, const QString& phrase) {
    return windowResult(index, phrase).total;
}

// What the window then shows of each hit: its poem's heading and its line.
void windowLines(const Index& index, const Result& r, const QString& phrase) {
    for (const Hit& h : r.hits) {
        benchmark::DoNotOptimize(index.poem(h.poem));
        benchmark::DoNotOptimize(index.hitLine(h, {phrase}));
    }
}

// Warm: the index open and every query run once before the timed ones.
void BM_SearchWarm(benchmark::State& state) {
    if (!corpus()) {
        state.SkipWithError("no corpus");
        return;
    }
    for (const QString& p : phrases())
        benchmark::DoNotOptimize(windowQuery(*corpus(), p));
    timeEach(state, [](const QString& p) { benchmark::DoNotOptimize(windowQuery(*corpus(), p)); });
}
BENCHMARK(BM_SearchWarm)->Unit(benchmark::kMillisecond)->Iterations(1);

// Cold: each query the first of a program that has just opened the corpus, the file not
// in the page cache. Timed: the opening alone (open_), with the query (open_and_query_),
// and with the lines of its hits the window shows (open_query_and_lines_). Every 5th
// phrase.
void BM_SearchCold(benchmark::State& state) {
    if (!corpus()) {
        state.SkipWithError("no corpus");
        return;
    }
    phrases();
    shared().reset();
    Figures open, both, lines;
    using Ms = std::chrono::duration<double, std::milli>;
    for (auto _ : state) {
        for (qsizetype i = 0; i < phrases().size(); i += 5) {
            dropFromCache();
            const double cpu = threadMs();
            const auto start = std::chrono::steady_clock::now();
            const auto index = openCorpus();
            const double openedCpu = threadMs();
            const auto opened = std::chrono::steady_clock::now();
            Result r;
            if (index)
                r = windowResult(*index, phrases()[i]);
            const double queriedCpu = threadMs();
            const auto queried = std::chrono::steady_clock::now();
            if (index)
                windowLines(*index, r, phrases()[i]);
            const auto end = std::chrono::steady_clock::now();
            open.wall.push_back(Ms(opened - start).count());
            open.cpu.push_back(openedCpu - cpu);
            both.wall.push_back(Ms(queried - start).count());
            both.cpu.push_back(queriedCpu - cpu);
            lines.wall.push_back(Ms(end - start).count());
            lines.cpu.push_back(threadMs() - cpu);
        }
    }
    open.put(state, "open_");
    both.put(state, "open_and_query_");
    lines.put(state, "open_query_and_lines_");
}
BENCHMARK(BM_SearchCold)->Unit(benchmark::kMillisecond)->Iterations(1);

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
        10);
}
BENCHMARK(BM_SearchScan)->Unit(benchmark::kMillisecond)->Iterations(1);

// The first use with the file in the page cache: mapped, its header and block checksums
// checked.
void BM_OpenCorpus(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(openCorpus().get());
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
