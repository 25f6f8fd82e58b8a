#pragma once
// Which folder the program works in, and the lock that keeps a second copy of the
// program out of it.

#include <QString>
#include <memory>

class QLockFile;

namespace app_folder {

// True when `folder` holds a data tree: the save folder and the favourites' names.
bool holdsDataTree(const QString& folder);

// The data folder of this run: the current folder when it holds a data tree, else the
// executable's folder when that one does, else the current folder (whose missing
// files start-up then reports).
QString chooseDataFolder(const QString& current, const QString& executableFolder);

// The read-only tree an installed program ships beside its executable's folder
// (…/bin/lyrevane → …/share/lyrevane), or an empty string when there is none.
QString shippedFolder(const QString& executableFolder);

// The user's folder of an installed program: $XDG_DATA_HOME/lyrevane, else
// ~/.local/share/lyrevane. An app folder a source install left there is used as it is.
QString userFolder();

// Makes `folder` a data tree where it is not one yet: the save folder with five empty
// documents (copies of the shipped `empty.rtf`) and empty favourites, knowledge and
// template files. Never replaces a file that is there. False when the folder cannot be
// made; `error` then says why.
bool seedUserFolder(const QString& folder, const QString& shipped, QString* error);

} // namespace app_folder

// One copy of the program per data folder: a lock file in the folder, held for the
// whole run. A lock left by a copy that ended without releasing it (a crash) is taken
// over; one held by a running copy is not.
class FolderLock {
  public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();

    // False only when another running copy holds the folder. A folder where no lock
    // file can be made (read-only) is not refused here: nothing can be written there.
    bool tryLock();
    // The process id of the copy that holds the folder, when tryLock() failed.
    qint64 holderPid() const;

    static QString lockFileName() { return QStringLiteral("lyrevane.lock"); }

  private:
    std::unique_ptr<QLockFile> m_lock;
};
