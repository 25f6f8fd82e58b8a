#pragma once
// Mqini.ini: the profile file beside the executable. Sections and keys match without
// regard to letter case; every write replaces the file atomically and is on disk when
// it returns. The file is parsed once and again only when it changed on disk, so
// handles of their own still see each other's writes.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
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
    // The file's lines as they were read, the lines written or removed since, and the
    // first section of each name with the first key of each name in it, names
    // case-folded. A write changes the model in place, so a batch of writes costs what
    // the writes themselves touch, whatever the size of the file.
    struct Place {
        qsizetype line = -1;  // a line as read
        qsizetype added = -1; // or the added-th line written after it since
        bool operator==(const Place&) const = default;
        friend size_t qHash(Place p, size_t seed = 0) { return qHashMulti(seed, p.line, p.added); }
    };
    struct Section {
        Place line; // the [section] line
        Place last; // its last non-blank line
        QHash<QString, Place> keys;
        bool repeats = false; // some key is set twice in it
    };
    struct Model {
        QList<QByteArray> lines;
        QHash<qsizetype, QList<QByteArray>> added;
        QSet<Place> dropped;
        QHash<QString, Section> sections;
        bool unreadable = false; // there, but not readable as a file
        void index();
        const QByteArray& text(Place p) const;
        // Calls `f(place, text)` for each line after `from` in file order while it
        // returns true.
        template <class F> void forEachAfter(Place from, F f) const;
        // The last non-blank line before `p`.
        Place lastBefore(Place p) const;
        QByteArray bytes() const;
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
