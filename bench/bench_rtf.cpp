// RTF read and write and the word count over a document of 1 MB of GBK text, and the
// same RTF and text read from a file a part at a time.
//
//   bench_rtf [benchmark options]
//   bench_rtf --write-sample=FILE   writes the benchmark's document as RTF and exits

#include "base/core/gbk.h"
#include "base/core/text_pieces.h"
#include "sample_document.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/core/wordcount.h"

#include <QFile>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

using namespace workspace;

namespace {

const RichDocument& document() {
    static const RichDocument doc = bench::sampleDocument(1024 * 1024);
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

// The same bytes in a file, read a part at a time as the converters read them.
QTemporaryFile& fileOf(const QByteArray& bytes) {
    auto* file = new QTemporaryFile; // kept until the run ends
    if (!file->open() || file->write(bytes) != bytes.size() || !file->flush())
        std::abort();
    return *file;
}

void BM_RtfReadFileInParts(benchmark::State& state) {
    static QTemporaryFile& file = fileOf(rtf());
    for (auto _ : state) {
        file.seek(0);
        RtfReader reader;
        qsizetype paragraphs = 0;
        if (!reader.read(&file, [&](Paragraph&&) { ++paragraphs; }))
            state.SkipWithError("damaged");
        benchmark::DoNotOptimize(paragraphs);
    }
    state.SetBytesProcessed(state.iterations() * rtf().size());
}
BENCHMARK(BM_RtfReadFileInParts)->Unit(benchmark::kMillisecond);

// The encoding guessed, then the text decoded, each a piece at a time from the file.
void BM_PlainTextFileInParts(benchmark::State& state) {
    const QByteArray text = gbk::encode(document().plainText());
    static QTemporaryFile& file = fileOf(text);
    for (auto _ : state) {
        file.seek(0);
        text_pieces::Source source(&file);
        qsizetype characters = 0;
        gbk::decodeTextFilePieces(source,
                                  [&](const QString& piece) { characters += piece.size(); });
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_PlainTextFileInParts)->Unit(benchmark::kMillisecond);

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
