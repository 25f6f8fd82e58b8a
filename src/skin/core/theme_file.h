#pragma once
// Theme files: a header and a chain of 77-byte entries, each naming a style property and
// pointing at its data. The reader checks every offset and length against the file and
// stops a chain that comes back on itself.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class QIODevice;

namespace style {

class ThemeFile {
  public:
    enum DataKind : quint8 { Picture = 0, Integer = 1, Boolean = 2, Text = 3 };

    // Replaces what was read before. False, with the reason in `error`, when the file
    // is too short for its header or an entry or its data lies outside the file; the
    // theme is then empty.
    bool read(QIODevice& in, QString* error = nullptr);
    bool read(const QByteArray& bytes, QString* error = nullptr);

    bool isEmpty() const { return m_entries.isEmpty(); }
    // A number each read gives anew, so that what was drawn from an earlier content is
    // not taken for this one.
    quint64 generation() const { return m_generation; }
    int count() const { return int(m_entries.size()); }
    bool contains(QStringView name) const { return m_entries.contains(name.toString()); }

    // An integer or colour; -1 when the entry is missing or malformed.
    qint32 integer(QStringView name) const;
    // False when missing.
    bool boolean(QStringView name) const;
    // The picture's bytes in the platform bitmap format; empty when missing.
    QByteArray picture(QStringView name) const;
    QString text(QStringView name) const;

    // One entry to write.
    struct Entry {
        QByteArray name;
        DataKind kind;
        QByteArray data;
    };
    // A theme file holding `entries` in order, ended by a record that carries nothing.
    static QByteArray write(const QList<Entry>& entries);
    static QByteArray integerData(qint32 value);

    static constexpr int kRecordSize = 77;
    static constexpr int kNameSize = 64;

  private:
    struct Stored {
        DataKind kind;
        QByteArray data; // integers and booleans as their decimal text
    };
    QHash<QString, Stored> m_entries;
    quint64 m_generation = 0;
};

} // namespace style
