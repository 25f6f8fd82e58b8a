#include "app/core/app_folder.h"

#include "base/core/app_error.h"
#include "base/core/data_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString shippedFolder(const QString& executableFolder) {
    const QString shipped =
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/lyrevane"));
    return QFileInfo::exists(shipped + QStringLiteral("/empty.rtf")) ? shipped : QString();
}

QString userFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/lyrevane");
}

bool seedUserFolder(const QString& folder, const QString& shipped, QString* error) {
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("save"))) {
        *error = QStringLiteral("无法建立文件夹 %1").arg(dir.filePath(QStringLiteral("save")));
        return false;
    }
    const DataRoot root(folder);
    auto missing = [&root](const QString& path) { return !root.exists(path); };
    try {
        QByteArray empty;
        for (int n = 1; n <= 5; ++n) {
            const QString doc = QStringLiteral("save\\mq%1.rtf").arg(n);
            if (!missing(doc))
                continue;
            if (empty.isEmpty()) {
                QFile source(shipped + QStringLiteral("/empty.rtf"));
                if (!source.open(QIODevice::ReadOnly)) {
                    *error = QStringLiteral("无法读取 %1").arg(source.fileName());
                    return false;
                }
                empty = source.readAll();
            }
            root.writeBytes(doc, empty);
        }
        for (const char* name : {"user.dat", "temp.dat", "data.dat"}) {
            if (missing(QLatin1String(name)))
                root.writeBytes(QLatin1String(name), {});
        }
    } catch (const AppError& e) {
        *error = e.message();
        return false;
    }
    return true;
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
