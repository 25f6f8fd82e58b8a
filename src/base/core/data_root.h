#pragma once
// The data tree: files named by backslash paths relative to the folder that was
// current at start-up, matched without regard to letter case, read and written whole
// as GBK text. An installed program keeps the user's own files (save\, user.dat,
// temp.dat, data.dat, Mqini.ini and what is kept aside of them) in the user's folder and
// reads everything else from a read-only shipped folder.

#include <QByteArray>
#include <QString>
#include <QStringList>

class DataRoot {
  public:
    // The tree rooted at `folder` (an absolute host path).
    explicit DataRoot(QString folder);
    // The user's files in `userFolder`, everything else read from `shippedFolder`.
    DataRoot(QString userFolder, QString shippedFolder);
    // The tree rooted at the current directory, fixed from now on.
    static DataRoot current();

    // The user's folder (the one folder of a tree without a shipped part).
    const QString& folder() const { return m_folder; }
    // Where the read-only files are: the shipped folder, or the one folder.
    const QString& shippedFolder() const { return m_shipped.isEmpty() ? m_folder : m_shipped; }
    // True for the files that are the user's own, wherever the tree keeps them.
    static bool isUserPath(const QString& path);

    // True when something (a file or a folder) has that name.
    bool exists(const QString& path) const;
    // The host path of an existing file, or an empty string.
    QString findFile(const QString& path) const;
    // The host path a write of `path` goes to: an existing file of that name in any
    // letter case, or a new name in an existing folder; empty when a folder is missing.
    QString pathForWriting(const QString& path) const;

    // Reading never creates anything. Each throws AppError "Cannot open file <path>".
    QByteArray readBytes(const QString& path) const;
    QString readText(const QString& path) const; // GBK, cut at the first NUL
    QStringList readLines(const QString& path) const;

    // Whole-file writes, atomic. Each throws AppError "Cannot create file <path>".
    void writeBytes(const QString& path, const QByteArray& bytes) const;
    void writeText(const QString& path,
                   const QString& text) const; // line breaks as CR LF, none added
    void writeLines(const QString& path, const QStringList& lines) const; // each line + CR LF

    // A file the program writes back whole (user.dat, temp.dat, data.dat), read like
    // readLines. When the rewrite would lose part of it (bytes after a NUL, bytes that
    // are no character) its original is first kept aside and `notice` gets the message
    // for the user; otherwise `notice` is left empty.
    QStringList readOwnLines(const QString& path, QString* notice) const;

    // Keeps `bytes`, the original of the damaged file `path`, beside it as
    // "<path>.orig", or ".orig.1", ".orig.2", … when that name holds an earlier
    // original, so that no damage overwrites another. An original already kept with the
    // same bytes is not kept twice. Returns the name used; throws like a write.
    QString keepOriginal(const QString& path, const QByteArray& bytes) const;

    // Removes what writes of these files and of their kept originals left behind when
    // the program was killed in the middle of one (see removeStaleTemporaries()).
    void removeStaleTemporaries(const QStringList& paths) const;

  private:
    enum class Want { File, Writable, Anything };
    QString resolve(const QString& path, Want want) const;
    QString m_folder;
    QString m_shipped; // empty: everything is in m_folder
};

namespace text_lines {
// Lines separated by CR LF, a lone CR or a lone LF; a final break adds no empty line,
// an empty text gives none.
QStringList split(const QString& text);
// Bytes up to the first NUL.
QByteArrayView beforeNul(QByteArrayView bytes);
} // namespace text_lines
