#pragma once
// A temporary folder for a test's data tree and settings file.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

struct TempTree {
    QTemporaryDir dir;

    QString path(const QString& rel = {}) const {
        return rel.isEmpty() ? dir.path() : dir.filePath(rel);
    }

    void mkdir(const QString& rel) const { QDir(dir.path()).mkpath(rel); }

    void put(const QString& rel, const QByteArray& bytes) const {
        QFile f(dir.filePath(rel));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    QByteArray get(const QString& rel) const {
        QFile f(dir.filePath(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool exists(const QString& rel) const { return QFileInfo::exists(dir.filePath(rel)); }
};
