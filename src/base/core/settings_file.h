#pragma once
// Mqini.ini: the profile file beside the executable. Sections and keys match without
// regard to letter case; every write replaces the file atomically and is on disk when
// it returns. The file is parsed once and again only when it changed on disk, so
// handles of their own still see each other's writes.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class SettingsFile {
  public:
    explicit SettingsFile(QString hostPath);
    // "Mqini.ini" in the running executable's folder.
    static QString besideExecutable();

    const QString& path() const { return m_path; }

    // Removes temporaries that an interrupted write of the file left beside it.
    void removeStaleTemporaries() const;

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
    // The file's lines as they are on disk, with the first section of each name and
    // the first key of each name in it, names case-folded.
    struct Section {
        qsizetype line = -1; // the [section] line
        qsizetype last = -1; // its last non-blank line
        QHash<QString, qsizetype> keys;
    };
    struct Model {
        QList<QByteArray> lines;
        QHash<QString, Section> sections;
        bool unreadable = false; // there, but not readable as a file
        void index();
    };
    using Stamp = std::array<qint64, 7>;

    const Model& current(bool forWriting = false) const;
    void store(Model model); // indexed
    // The stored value of the key's line, as the profile functions read it.
    static QByteArray rawValue(const Model& model, const QString& section, const QString& key,
                               bool* found);

    QString m_path;
    mutable Model m_file;    // the file as last read or written
    mutable Stamp m_stamp{}; // and what the file system said of it then
    mutable bool m_loaded = false;
    bool m_batching = false;
    bool m_batchDirty = false;
    Model m_batch;
};
