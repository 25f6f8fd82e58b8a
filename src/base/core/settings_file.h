#pragma once
// Mqini.ini: the profile file beside the executable. Sections and keys match without
// regard to letter case; every write replaces the file atomically and is on disk when
// it returns.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class SettingsFile {
  public:
    explicit SettingsFile(QString hostPath);
    // "Mqini.ini" in the running executable's folder.
    static QString besideExecutable();

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key,
                       const QString& fallback = {}) const;
    qint32 readInteger(const QString& section, const QString& key, qint32 fallback) const;
    bool readBool(const QString& section, const QString& key, bool fallback) const;

    // Each throws AppError "Unable to write to <full path>".
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint32 value);
    void writeBool(const QString& section, const QString& key, bool value);
    // The keys of a section in file order (empty when it is missing), and the removal of
    // one key; removing a missing key leaves the file alone. Remove throws like a write.
    QStringList keys(const QString& section) const;
    void removeKey(const QString& section, const QString& key);

    // Between begin and commit, writes collect in memory and reach the disk in one
    // atomic replace: the file then holds what the same writes one by one would have
    // left. Reads in between see the collected writes.
    void beginBatch();
    void commitBatch(); // throws like a write
    void abandonBatch();

    // Value conversions, shared with tests and the command line.
    static std::optional<qint32> parseInteger(QStringView text);
    static QString encodeValue(const QString& text); // keeps one key per line
    static QString escapeValue(const QString& text); // always the escaped form
    static QString decodeValue(const QString& stored);

  private:
    QList<QByteArray> loadLines(bool forWriting = false) const;
    void store(const QList<QByteArray>& lines);
    QByteArray rawValue(const QString& section, const QString& key, bool* found) const;

    QString m_path;
    bool m_batching = false;
    bool m_batchDirty = false;
    QList<QByteArray> m_batchLines;
};
