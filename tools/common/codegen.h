#pragma once
// What the build-time generators share: C++ string literals and writing an output only
// when it changed (so an unchanged table does not rebuild its users).

#include <QFile>
#include <QHash>
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

// Long texts as UTF-16 arrays of their own, each text once, for CompiledText
// (base/core/compiled_text.h): `ref` gives the initialiser `{kTextN, size}` and defines
// kTextN on first sight; `definitions` are written ahead of the tables that use them. Kept
// together and apart from the short names that the program reads at start-up, the texts'
// pages are read only when a text is used.
class Utf16Arrays {
  public:
    QString ref(const QString& text) {
        QString name = m_names.value(text);
        if (name.isEmpty()) {
            name = QStringLiteral("kText%1").arg(m_names.size());
            m_names.insert(text, name);
            m_definitions += QStringLiteral("const char16_t ") + name + QStringLiteral("[] = u") +
                             literal(text) + QStringLiteral(";\n");
        }
        return u'{' + name + QStringLiteral(", ") + QString::number(text.size()) + u'}';
    }
    const QString& definitions() const { return m_definitions; }

  private:
    QHash<QString, QString> m_names;
    QString m_definitions;
};

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
