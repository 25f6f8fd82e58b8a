// What typing costs with the check pane open: document 1 holds one poem of 2,000
// characters (the dataset's 蝶恋花 poems run together, no blank line between them, so the
// pane checks all of it against 蝶恋花), a key is typed in its middle, and the window's
// event loop is watched for 1.2 s, past the pane's pause before it checks. A 1 ms timer
// ticks all the while; the longest wait between two ticks, less the millisecond, is the
// longest the window could not answer a key. With the pane closed the same key costs only
// the editor's own work: compare the two as a ratio. Then one check of the pane, from the
// command to the findings filled in.
//
//   bench_check_pane [benchmark options]
//
// Runs on Qt's offscreen platform over a temporary app folder with the build's data tree,
// as the window tests do. Other work on the machine shows in the waits (the load average
// at the start heads the output): repeat (--benchmark_repetitions) and read the spread,
// and the busy figures, the window's own share.

#include "app/ui/TForm1.h"
#include "app/ui/fonts.h"
#include "checker/core/checker_data.h"
#include "support/app_fixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QTextEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kPoemChars = 2000;
constexpr qint64 kWatchMs = 1200;
constexpr int kTickMs = 1;

// The dataset's 蝶恋花 poems (as the build's data tree holds them) one line after another
// until the text has kPoemChars characters.
QString longPoem(const QString& checkerDir) {
    const checker::TunePoems poems = checker::TunePoems::load(checkerDir);
    const auto tune = poems.poems(checker::namedPattern(QStringLiteral("蝶恋花"))->key);
    QString text;
    for (qsizetype i = 0; !tune.isEmpty() && text.size() < kPoemChars; ++i)
        text += tune[i % tune.size()].paragraphs.join(u'\n') + u'\n';
    text.truncate(kPoemChars);
    return text;
}

// The real window, shown, 蝶恋花 on show, the long poem in document 1 with the cursor in
// its middle; the check pane open or closed.
struct Window {
    AppFixture app;
    std::unique_ptr<TForm1> form;
    QTextEdit* doc{};
    QWidget* pane{};

    explicit Window(bool paneOpen) {
        app.seedTemplateFiles();
        form = app.start();
        form->show();
        form->findChild<QListWidget*>(QStringLiteral("skListBox1"))->setCurrentRow(13);
        doc = form->findChild<QTextEdit*>(QStringLiteral("skm1"));
        pane = form->findChild<QWidget*>(QStringLiteral("checkPane"));
        const QString poem = longPoem(app.tree.path("data/checker"));
        doc->setPlainText(poem);
        QTextCursor middle(doc->document());
        middle.setPosition(int(poem.size() / 2));
        doc->setTextCursor(middle);
        doc->setFocus();
        if (paneOpen)
            form->findChild<QAction*>(QStringLiteral("checkAction"))->trigger();
        else
            pane->hide();
        settle(kWatchMs);
    }

    // Runs the event loop for `ms`. The longest wait between two ticks of a 1 ms timer,
    // less the tick, in milliseconds: what a key would have waited for; and the longest
    // time the window's thread was busy between two ticks, which leaves out the waits for
    // a core that other work on the machine causes.
    struct Stall {
        double wallMs = 0;
        double busyMs = 0;
    };
    static Stall settle(qint64 ms) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = clock.nsecsElapsed();
        qint64 lastBusy = threadNs();
        Stall longest;
        auto look = [&] {
            const qint64 now = clock.nsecsElapsed();
            const qint64 busy = threadNs();
            longest.wallMs = std::max(longest.wallMs, double(now - last) / 1e6 - kTickMs);
            longest.busyMs = std::max(longest.busyMs, double(busy - lastBusy) / 1e6);
            last = now;
            lastBusy = busy;
        };
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(kTickMs);
        QObject::connect(&tick, &QTimer::timeout, look);
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        tick.start();
        loop.exec();
        look();
        longest.wallMs = std::max(0.0, longest.wallMs);
        return longest;
    }

    // The CPU time of the calling thread.
    static qint64 threadNs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    }

    // A key as the input method hands over a character, or Backspace: through the event
    // queue, as the window receives keys.
    void type(bool character) const {
        const QString text = character ? QStringLiteral("月") : QString();
        const int key = character ? 0 : int(Qt::Key_Backspace);
        QCoreApplication::postEvent(doc,
                                    new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
        QCoreApplication::postEvent(doc,
                                    new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
    }
};

// The longest stall after each key, the pane closed (0) or open (1); a character typed,
// then taken back, so that the poem stays as long. The time is the mean over the keys of
// the longest wait; the counters give medians over the keys (p50), which a rare long wait
// for a core does not move, and the longest of all.
void BM_LongestStallAfterKey(benchmark::State& state) {
    Window w(state.range(0) != 0);
    std::vector<double> walls, busies;
    bool character = true;
    for (auto _ : state) {
        w.type(character);
        character = !character;
        const Window::Stall stall = Window::settle(kWatchMs);
        walls.push_back(stall.wallMs);
        busies.push_back(stall.busyMs);
        state.SetIterationTime(stall.wallMs / 1e3);
    }
    if (w.doc->toPlainText().size() != kPoemChars)
        state.SkipWithError("the keys did not reach the document");
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["wall_p50_ms"] = median(walls);
    state.counters["worst_ms"] = *std::max_element(walls.begin(), walls.end());
    state.counters["busy_p50_ms"] = median(busies);
    state.counters["worst_busy_ms"] = *std::max_element(busies.begin(), busies.end());
}
BENCHMARK(BM_LongestStallAfterKey)
    ->ArgName("pane")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One check of the pane, from the command (Ctrl+G) to its findings filled in and the
// window painted; the CPU time is the window's thread's alone.
void BM_PaneCheck(benchmark::State& state) {
    Window w(true);
    auto* findings = w.form->findChild<QListWidget*>(QStringLiteral("checkFindings"));
    bool filled = false;
    QObject::connect(findings->model(), &QAbstractItemModel::rowsInserted, [&] { filled = true; });
    QAction* command = w.form->findChild<QAction*>(QStringLiteral("checkAction"));
    for (auto _ : state) {
        filled = false;
        command->trigger();
        while (!filled)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents(); // the paint the filling asked for
    }
    state.counters["findings"] = findings->count();
}
BENCHMARK(BM_PaneCheck)->Unit(benchmark::kMillisecond);

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
