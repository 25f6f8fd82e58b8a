// RTF read and write and the word count over a document of 1 MB of GBK text.
//
//   bench_rtf [benchmark options]
//   bench_rtf --write-sample=FILE   writes the benchmark's document as RTF and exits

#include "base/core/gbk.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/core/wordcount.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstring>

using namespace workspace;

namespace {

// Generated filler, not content: lines of 5 to 11 characters drawn in turn from the
// GB2312 first-level ideographs, closed by ， or 。, with the formats of a working
// document (two faces, three sizes, a colour, bold, centred titles) changing every
// few lines, until the plain text is 1 MB in GBK.
RichDocument sampleDocument() {
    const CharFormat body{QStringLiteral("宋体"), 18, {}, false, false, false};
    const CharFormat title{QStringLiteral("楷体"), 28, Rgb{192, 0, 0}, true, false, false};
    const CharFormat note{QStringLiteral("Arial"), 20, Rgb{0, 0, 160}, false, true, false};

    QByteArray ideographs;
    for (int lead = 0xB0; lead <= 0xD7; ++lead)
        for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail)
            ideographs += char(lead), ideographs += char(trail);
    const QString pool = gbk::decode(ideographs);

    RichDocument doc;
    qsizetype gbkBytes = 0;
    qsizetype next = 0;
    int line = 0;
    while (gbkBytes < 1024 * 1024) {
        Paragraph p;
        if (line % 24 == 0) {
            p.alignment = Alignment::Centre;
            p.append(pool.mid(next % (pool.size() - 8), 4), title);
            next += 4;
        } else {
            const int length = 5 + line % 7;
            QString text = pool.mid(next % (pool.size() - 16), length) +
                           (line % 2 ? QStringLiteral("。") : QStringLiteral("，"));
            next += length;
            p.append(text, body);
            if (line % 8 == 3)
                p.append(QStringLiteral(" (note %1)").arg(line), note);
        }
        for (const Run& r : p.runs)
            gbkBytes += gbk::encode(r.text).size();
        doc.paragraphs.push_back(std::move(p));
        ++line;
    }
    return doc;
}

const RichDocument& document() {
    static const RichDocument doc = sampleDocument();
    return doc;
}

const QByteArray& rtf() {
    static const QByteArray bytes = RtfWriter::toRtf(document());
    return bytes;
}

void BM_RtfWrite(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfWriter::toRtf(document()));
    state.SetBytesProcessed(state.iterations() * rtf().size());
}
BENCHMARK(BM_RtfWrite)->Unit(benchmark::kMillisecond);

void BM_RtfRead(benchmark::State& state) {
    for (auto _ : state) {
        RtfReader reader;
        if (!reader.read(QByteArrayView(rtf())))
            state.SkipWithError("damaged");
        benchmark::DoNotOptimize(reader.document());
    }
    state.SetBytesProcessed(state.iterations() * rtf().size());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

void BM_PlainTextRead(benchmark::State& state) {
    const QByteArray text = gbk::encode(document().plainText());
    for (auto _ : state) {
        RtfReader reader;
        reader.read(QByteArrayView(text));
        benchmark::DoNotOptimize(reader.document());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_PlainTextRead)->Unit(benchmark::kMillisecond);

void BM_WordCount(benchmark::State& state) {
    const QString text = document().plainText();
    for (auto _ : state)
        benchmark::DoNotOptimize(countWords(text));
    state.counters["characters"] = double(countWords(text).characters());
}
BENCHMARK(BM_WordCount)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* option = "--write-sample=";
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0) {
            QFile file(QString::fromLocal8Bit(argv[i] + std::strlen(option)));
            if (!file.open(QIODevice::WriteOnly) || file.write(rtf()) != rtf().size()) {
                std::fprintf(stderr, "bench_rtf: cannot write %s\n", argv[i] + std::strlen(option));
                return 1;
            }
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::fprintf(stderr, "document: %zu paragraphs, %lld bytes of RTF\n",
                 document().paragraphs.size(), static_cast<long long>(rtf().size()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
