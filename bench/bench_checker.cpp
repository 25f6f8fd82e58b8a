// The tone checker over all of 全宋词, each poem against its tune's pattern (or, for a
// tune outside the catalogue, against the patterns in turn), and a document of many poems
// as the check pane checks it: whole, or only the poem at the cursor.
//
//   bench_checker [benchmark options]
//
// Reads the checker data of the build's app folder and the poems from the dataset.

#include "checker/core/checker_data.h"
#include "checker/core/poem_split.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

using namespace checker;

namespace {

struct Job {
    QString templateText;
    QString key;
    QString text;
};

QList<Job> songJobs() {
    QList<Job> jobs;
    QHash<QString, QList<std::pair<QString, QString>>> byName; // dataset name → template, key
    QFile tunes(QStringLiteral(LYREVANE_SOURCE_DIR "/data/catalogue/examples/tunes.tsv"));
    if (tunes.open(QIODevice::ReadOnly)) {
        for (const QString& ln : QString::fromUtf8(tunes.readAll()).split(u'\n')) {
            const QStringList cols = ln.split(u'\t');
            if (ln.startsWith(u'#') || cols.size() < 4)
                continue;
            const auto p = namedPattern(cols[2]);
            for (const QString& n : cols[3].split(u' ', Qt::SkipEmptyParts)) {
                if (p)
                    byName[n].append({p->templateText, p->key});
            }
        }
    }
    QList<const catalogue::CiPattern*> all;
    for (auto list : catalogue::kPatternLists)
        for (const auto& p : catalogue::patterns(list))
            all.append(&p);
    const QDir dir(QStringLiteral(LYREVANE_NPM_DIR "/chinese-poetry/dist/songci"));
    for (const QString& f : dir.entryList({QStringLiteral("ci.song.*.json")}, QDir::Files)) {
        QFile file(dir.filePath(f));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QJsonValue& v : QJsonDocument::fromJson(file.readAll()).array()) {
            QString text;
            for (const QJsonValue& para : v[QStringLiteral("paragraphs")].toArray())
                text += para.toString();
            Job job{{}, {}, text};
            for (const QString& part : v[QStringLiteral("rhythmic")].toString().split(u'・')) {
                if (byName.contains(part)) {
                    std::tie(job.templateText, job.key) = byName[part].first();
                    break;
                }
            }
            if (job.templateText.isEmpty()) {
                const auto* p = all[jobs.size() % all.size()];
                job.templateText = p->templateText;
                job.key = patternKey(*p);
            }
            jobs.append(job);
        }
    }
    return jobs;
}

void BM_CheckAllSongCi(benchmark::State& state) {
    const CheckerData& data = checkerData(QStringLiteral(LYREVANE_CHECKER_DATA));
    const QList<Job> jobs = songJobs();
    if (jobs.isEmpty()) {
        state.SkipWithError("the dataset is not installed");
        return;
    }
    qint64 chars = 0;     // the text as it stands, punctuation included
    qint64 poemChars = 0; // the characters checked
    for (const Job& j : jobs) {
        chars += j.text.size();
        poemChars += checker::poemChars(j.text).size();
    }
    const Checker checker = checkerOf(data); // every form of each tune, as the pane checks
    for (auto _ : state) {
        for (const Job& j : jobs) {
            Result r = checker.check({j.templateText, j.text, Standard::CiYun, j.key});
            benchmark::DoNotOptimize(r);
        }
    }
    state.counters["poems"] = double(jobs.size());
    state.counters["checked_chars_per_second"] =
        benchmark::Counter(double(poemChars), benchmark::Counter::kIsIterationInvariantRate);
    state.SetItemsProcessed(state.iterations() * chars); // characters
}
BENCHMARK(BM_CheckAllSongCi)->Unit(benchmark::kMillisecond);

// A document of the dataset's 蝶恋花 poems, one after another with a blank line between
// them, of state.range(0) characters.
QString tuneDocument(const CheckerData& data, const QString& key, qsizetype size) {
    QString doc;
    const QList<TunePoem> poems = data.poems().poems(key);
    for (qsizetype i = 0; !poems.isEmpty() && doc.size() < size; ++i)
        doc += poems[i % poems.size()].paragraphs.join(u'\n') + QStringLiteral("\n\n");
    doc.truncate(size);
    return doc;
}

// The whole document checked as one text: what the pane did before it checked one poem.
void BM_CheckWholeDocument(benchmark::State& state) {
    const CheckerData& data = checkerData(QStringLiteral(LYREVANE_CHECKER_DATA));
    const auto p = namedPattern(QStringLiteral("蝶恋花"));
    const QString doc = tuneDocument(data, p->key, state.range(0));
    const Checker checker = checkerOf(data); // every form of each tune, as the pane checks
    for (auto _ : state) {
        Result r = checker.check({p->templateText, doc, Standard::CiYun, p->key});
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * doc.size());
}
BENCHMARK(BM_CheckWholeDocument)->Arg(2000)->Unit(benchmark::kMicrosecond);

// The pane's check as the typing pauses: the document cut into its poems and the poem in
// its middle, where the cursor is, checked.
void BM_CheckPoemAtCursor(benchmark::State& state) {
    const CheckerData& data = checkerData(QStringLiteral(LYREVANE_CHECKER_DATA));
    const auto p = namedPattern(QStringLiteral("蝶恋花"));
    const QString doc = tuneDocument(data, p->key, state.range(0));
    const Checker checker = checkerOf(data); // every form of each tune, as the pane checks
    for (auto _ : state) {
        const QList<PoemSpan> poems = splitPoems(doc, splitOptions(p->name, p->templateText));
        const PoemSpan& poem = poems[poemAt(poems, int(doc.size() / 2))];
        Result r = checker.check({p->templateText, doc.sliced(poem.bodyStart, poem.bodyLength()),
                                  Standard::CiYun, p->key});
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * doc.size());
}
BENCHMARK(BM_CheckPoemAtCursor)->Arg(2000)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

// The part of that check the pane does on the window's thread: the document cut into its
// poems and the one at the cursor found (the check itself runs on a thread of its own).
void BM_SplitPoems(benchmark::State& state) {
    const CheckerData& data = checkerData(QStringLiteral(LYREVANE_CHECKER_DATA));
    const auto p = namedPattern(QStringLiteral("蝶恋花"));
    const QString doc = tuneDocument(data, p->key, state.range(0));
    for (auto _ : state) {
        const QList<PoemSpan> poems = splitPoems(doc, splitOptions(p->name, p->templateText));
        benchmark::DoNotOptimize(poemAt(poems, int(doc.size() / 2)));
    }
    state.SetItemsProcessed(state.iterations() * doc.size());
}
BENCHMARK(BM_SplitPoems)->Arg(2000)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
