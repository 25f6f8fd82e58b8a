#pragma once
// Runs the built lyrevane-cli (its path comes from the build as LYREVANE_CLI).

#include <QProcess>
#include <QStringList>

struct CliRun {
    int code;
    QString out;
    QString err;
};

// With `stdoutFile`, standard output goes to that file ("/dev/full" to make it fail).
inline CliRun runCli(const QStringList& args, const QString& stdoutFile = {}) {
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(LYREVANE_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
