// Opening a 50 MB settings file and reading the keys the start-up reads.
//
//   bench_settings [benchmark options]

#include "base/core/settings_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Generated filler: a [Temp] section of 150 keys, one of them a hand-written value of
// 50 MB that the program never wrote (so it is read cut at the limit).
QString writeSample(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("Mqini.ini"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("[Temp]\r\ntext1=");
    f.write(QByteArray(50 * 1024 * 1024, 'x'));
    f.write("\r\n");
    for (int n = 1; n <= 150; ++n)
        f.write("list" + QByteArray::number(n) + "=" + QByteArray::number(n) + "\r\n");
    return path;
}

void BM_OpenAndReadStartUpKeys(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeSample(dir);
    for (auto _ : state) {
        SettingsFile file(path);
        qint64 sum = file.readString(QStringLiteral("temp"), QStringLiteral("text1")).size();
        for (int n = 1; n <= 150; ++n)
            sum += file.readInteger(QStringLiteral("Temp"), QStringLiteral("list%1").arg(n), 0);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_OpenAndReadStartUpKeys)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
