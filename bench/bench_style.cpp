// Switching the main window's UI style, against a bare main window with as many widgets
// changing its palette; both repaint the whole window once per switch (one grab, no
// event loop in between), in the same process on the same platform. The counters give
// the widget count of each and how many of them are shown.
//
//   QT_QPA_PLATFORM=offscreen bench_style [benchmark options]

#include "app/ui/TForm1.h"
#include "base/ui/modals.h"
#include "skin/ui/skin_style.h"
#include "skin/ui/theme_manager.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Closes every modal window at once (the splash).
struct QuietModals : ModalRunner {
    int exec(QDialog&) override { return QDialog::Rejected; }
    void showError(QWidget*, const QString&) override {}
    void showMessage(QWidget*, const QString&) override {}
};

struct MainWindow {
    QTemporaryDir dir;
    QuietModals modals;
    std::unique_ptr<TForm1> form;
    MainWindow() {
        QDir(dir.path()).mkpath(QStringLiteral("save"));
        QDir(dir.path()).mkpath(QStringLiteral("Excursus/changshi"));
        for (const char* f : {"user.dat", "temp.dat", "data.dat", "Excursus/changshi/list.dat"}) {
            QFile file(dir.filePath(QString::fromLatin1(f)));
            file.open(QIODevice::WriteOnly);
        }
        form = std::make_unique<TForm1>(
            AppContext{DataRoot(dir.path()), dir.filePath(QStringLiteral("Mqini.ini")), &modals});
        form->resize(1024, 700);
        form->show();
    }
};

// Built on first use and torn down before the application object goes.
std::unique_ptr<MainWindow> g_mainWindow;

MainWindow& mainWindow() {
    if (!g_mainWindow)
        g_mainWindow = std::make_unique<MainWindow>();
    return *g_mainWindow;
}

qsizetype shown(const QWidget& window) {
    const auto all = window.findChildren<QWidget*>();
    return std::count_if(all.begin(), all.end(),
                         [&](const QWidget* w) { return w->isVisibleTo(&window); });
}

const UIStyle kStyles[] = {UIStyle::MacOS, UIStyle::WinXP, UIStyle::DeepBlue, UIStyle::Protein,
                           UIStyle::BlueGlass};

void SwitchStyle(benchmark::State& state) {
    TForm1& form = *mainWindow().form;
    auto* frame = form.findChild<TskForm*>(QStringLiteral("skForm1"));
    int i = 0;
    for (auto _ : state) {
        frame->setUIStyle(kStyles[i++ % 5]);
        benchmark::DoNotOptimize(form.grab());
    }
    state.counters["widgets"] = double(form.findChildren<QWidget*>().size());
    state.counters["shown"] = double(shown(form));
}
BENCHMARK(SwitchStyle)->Unit(benchmark::kMillisecond);

// The switch alone, without painting: the palette reaching every control.
void SwitchStyleWithoutPainting(benchmark::State& state) {
    TForm1& form = *mainWindow().form;
    auto* frame = form.findChild<TskForm*>(QStringLiteral("skForm1"));
    int i = 0;
    for (auto _ : state)
        frame->setUIStyle(kStyles[i++ % 5]);
}
BENCHMARK(SwitchStyleWithoutPainting)->Unit(benchmark::kMillisecond);

// The same window repainting without a style change: what the switch itself adds is
// the difference to SwitchStyle.
void MainWindowRepaint(benchmark::State& state) {
    TForm1& form = *mainWindow().form;
    for (auto _ : state)
        benchmark::DoNotOptimize(form.grab());
}
BENCHMARK(MainWindowRepaint)->Unit(benchmark::kMillisecond);

// The same window drawn by the platform's common style instead of the kit's pictures:
// what the pictures cost.
void MainWindowRepaintCommonStyle(benchmark::State& state) {
    TForm1& form = *mainWindow().form;
    QApplication::setStyle(QStringLiteral("Fusion"));
    for (auto _ : state)
        benchmark::DoNotOptimize(form.grab());
    skin::SkinStyle::install();
}
BENCHMARK(MainWindowRepaintCommonStyle)->Unit(benchmark::kMillisecond);

void BareWindowRepaint(benchmark::State& state) {
    const auto count = mainWindow().form->findChildren<QWidget*>().size();
    QMainWindow bare;
    auto* central = new QWidget(&bare);
    auto* grid = new QGridLayout(central);
    for (qsizetype n = 1; n < count; ++n)
        grid->addWidget(new QLabel(QStringLiteral("词"), central), int(n / 20), int(n % 20));
    bare.setCentralWidget(central);
    bare.resize(1024, 700);
    bare.show();
    int i = 0;
    for (auto _ : state) {
        QPalette p = bare.palette();
        p.setColor(QPalette::Window,
                   (i++ % 2) ? QColor(0xE7, 0xE7, 0xE7) : QColor(0xEF, 0xEB, 0xDE));
        bare.setPalette(p);
        benchmark::DoNotOptimize(bare.grab());
    }
    state.counters["widgets"] = double(bare.findChildren<QWidget*>().size());
    state.counters["shown"] = double(shown(bare));
}
BENCHMARK(BareWindowRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_mainWindow.reset();
    return 0;
}
