#include "app/core/app_folder.h"

#include "base/core/data_root.h"

#include <QDir>
#include <QLockFile>

namespace app_folder {

bool holdsDataTree(const QString& folder) {
    const DataRoot root(folder);
    return root.exists(QStringLiteral("save")) && root.exists(QStringLiteral("user.dat"));
}

QString chooseDataFolder(const QString& current, const QString& executableFolder) {
    if (!holdsDataTree(current) && holdsDataTree(executableFolder))
        return executableFolder;
    return current;
}

} // namespace app_folder

FolderLock::FolderLock(const QString& folder)
    : m_lock(std::make_unique<QLockFile>(QDir(folder).filePath(lockFileName()))) {
    // Never stale by age: a copy may run for days. A lock whose process is gone is
    // stale all the same, which is how a crashed run's lock is taken over.
    m_lock->setStaleLockTime(0);
}

FolderLock::~FolderLock() = default;

bool FolderLock::tryLock() {
    return m_lock->tryLock(0) || m_lock->error() != QLockFile::LockFailedError;
}

qint64 FolderLock::holderPid() const {
    qint64 pid = 0;
    QString host, name;
    m_lock->getLockInfo(&pid, &host, &name);
    return pid;
}
