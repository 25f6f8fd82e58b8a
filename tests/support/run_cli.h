#pragma once
// Runs the built lyrevane-cli (its path comes from the build as LYREVANE_CLI).

#include <QProcess>
#include <QStringList>

struct CliRun {
    int code;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LYREVANE_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
