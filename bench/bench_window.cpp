// What a user waits for in the window: a large store file loaded into a document (and
// its first screen, which start-up shows before the rest is built) and stored back at
// shutdown, and the main window built up to its first paint beside a
// bare reference window (a menu bar and an editor showing one line of Chinese in the
// same CJK face). Runs on Qt's offscreen platform; compare the two start-up figures
// of one run as a ratio.
//
//   bench_window [benchmark options]

#include "app/ui/TForm1.h"
#include "app/ui/fonts.h"
#include "base/core/data_root.h"
#include "reference_window.h"
#include "sample_document.h"
#include "skin/ui/skinned.h"
#include "support/app_fixture.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/ui/richtextdocument.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <map>

using namespace workspace;

namespace {

const QByteArray& storeFile(int megabytes) {
    static std::map<int, QByteArray> files;
    auto it = files.find(megabytes);
    if (it == files.end())
        it = files
                 .emplace(megabytes, RtfWriter::toRtf(
                                         bench::sampleDocument(qsizetype(megabytes) * 1024 * 1024)))
                 .first;
    return it->second;
}

// A document of the window's size and font, on show as document 1 is.
struct ShownDocument {
    QTextEdit edit;
    ShownDocument() {
        edit.setFont(skin::songFont(12));
        edit.resize(640, 480);
        edit.show();
    }
};

void BM_DocumentLoad(benchmark::State& state) {
    const QByteArray& bytes = storeFile(int(state.range(0)));
    for (auto _ : state) {
        ShownDocument shown;
        adoptRichDocument(&shown.edit, buildRichDocument(bytes));
        benchmark::DoNotOptimize(shown.edit.grab()); // the first paint
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DocumentLoad)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The two halves of that load at start-up: reading and building the document, which
// runs on a worker thread while the window is built, and handing it to the editor up
// to the first paint, which is left on the window's thread.
void BM_DocumentBuild(benchmark::State& state) {
    const QByteArray& bytes = storeFile(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<QTextDocument> built = buildRichDocument(bytes);
        state.PauseTiming(); // its teardown is not part of the load
        built.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DocumentBuild)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_DocumentShow(benchmark::State& state) {
    const QByteArray& bytes = storeFile(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownDocument>();
        std::unique_ptr<QTextDocument> built = buildRichDocument(bytes);
        state.ResumeTiming();
        adoptRichDocument(&shown->edit, std::move(built));
        benchmark::DoNotOptimize(shown->edit.grab()); // the first paint
        state.PauseTiming();
        shown.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DocumentShow)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// What start-up waits for with a large file: its head read and built (the whole file
// is still read, to find damage), handed to the editor and painted. The rest is built
// after the first paint.
void BM_DocumentFirstScreen(benchmark::State& state) {
    const QByteArray& bytes = storeFile(int(state.range(0)));
    for (auto _ : state) {
        ShownDocument shown;
        bool whole = false, all = false;
        adoptRichDocument(&shown.edit, buildRichDocumentHead(bytes, HeadSize(), &whole, &all));
        benchmark::DoNotOptimize(shown.edit.grab());
        if (!whole || all)
            state.SkipWithError("expected an undamaged file larger than its head");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DocumentFirstScreen)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_DocumentStore(benchmark::State& state) {
    const QByteArray& bytes = storeFile(int(state.range(0)));
    ShownDocument shown;
    adoptRichDocument(&shown.edit, buildRichDocument(bytes));
    QTemporaryDir dir;
    const DataRoot root(dir.path());
    for (auto _ : state)
        root.writeBytes(QStringLiteral("mq1.rtf"),
                        RtfWriter::toRtf(richDocument(*shown.edit.document())));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DocumentStore)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The program's start with empty documents, the splash answered at once.
void BM_MainWindowFirstPaint(benchmark::State& state) {
    AppFixture app;
    for (auto _ : state) {
        std::unique_ptr<TForm1> form = app.start();
        form->show();
        benchmark::DoNotOptimize(form->grab());
    }
}
BENCHMARK(BM_MainWindowFirstPaint)->Unit(benchmark::kMillisecond);

void BM_ReferenceWindowFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow window;
        bench::buildReferenceWindow(window);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_ReferenceWindowFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    useShippedFontAliases(QStringLiteral(LYREVANE_BUILT_APP_DIR));
    QApplication app(argc, argv);
    addFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
