#pragma once
// The checker's generated data files are compressed with qCompress (see data/checker).

#include <QByteArray>
#include <QFile>
#include <QString>

namespace checker {

// The text of a compressed data file; empty when it is missing or cannot be read.
inline QByteArray readDataFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return qUncompress(f.readAll());
}

} // namespace checker
