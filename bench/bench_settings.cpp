// Opening a 50 MB settings file and reading the keys the start-up reads, and the first
// shutdown over a large file of many lines: every key it writes is new there.
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

// A file of `megabytes` MB in short lines, as years of hand-kept keys leave it.
QString writeManyLines(const QTemporaryDir& dir, qint64 megabytes) {
    const QString path = dir.filePath(QStringLiteral("Mqini.ini"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("[Temp]\r\n");
    QByteArray chunk;
    for (int n = 0; chunk.size() < 1024 * 1024; ++n)
        chunk += "note" + QByteArray::number(n) + "=" + QByteArray(24, 'x') + "\r\n";
    for (qint64 i = 0; i < megabytes; ++i) {
        f.write("[hand" + QByteArray::number(i) + "]\r\n");
        f.write(chunk);
    }
    return path;
}

// 300 new keys in one batch, as the shutdown writes them, and the one write of the file.
void BM_FirstShutdownOfALargeFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeManyLines(dir, state.range(0));
    QFile::copy(path, path + QStringLiteral(".start"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        QFile::copy(path + QStringLiteral(".start"), path);
        SettingsFile file(path);
        file.readString(QStringLiteral("Temp"), QStringLiteral("text1")); // read at start-up
        state.ResumeTiming();
        file.beginBatch();
        for (int n = 1; n <= 100; ++n) {
            file.writeInteger(QStringLiteral("Temp"), QStringLiteral("list%1").arg(n), n);
            file.writeBool(QStringLiteral("temp"), QStringLiteral("checked%1").arg(n), true);
            file.writeString(QStringLiteral("font"), QStringLiteral("font%1").arg(n),
                             QStringLiteral("宋体"));
        }
        file.commitBatch();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FirstShutdownOfALargeFile)
    ->Arg(6)
    ->Arg(12)
    ->Arg(25)
    ->Arg(50)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
