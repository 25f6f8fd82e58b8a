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
