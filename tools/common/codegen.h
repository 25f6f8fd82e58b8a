#pragma once
// What the build-time generators share: C++ string literals and writing an output only
// when it changed (so an unchanged table does not rebuild its users).

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace codegen {

// `s` as a C++ string literal (UTF-8 source; quotes and backslashes escaped).
inline QString literal(const QString& s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

// Replaces the file at `path` with `bytes` unless it already holds them. False when it
// cannot be written.
inline bool writeIfChanged(const QString& path, const QByteArray& bytes) {
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
        return true;
    old.close();
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

} // namespace codegen
