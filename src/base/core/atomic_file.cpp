#include "base/core/atomic_file.h"

#include <QSaveFile>

bool writeFileAtomically(const QString& hostPath, const QByteArray& bytes) {
    QSaveFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
