#include "base/core/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <csignal>

namespace {

// Under a file-size limit (ulimit -f) a write past it raises SIGXFSZ, which ends the
// program in the middle of its work. Ignored, the write fails with EFBIG instead, the
// old file stays and the failure is reported like any other.
void ignoreFileSizeSignal() {
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    Q_UNUSED(ignored);
}

// The six random letters of a temporary mix the cases; a suffix a person gives a copy
// ("backup", "BACKUP", "Backup") does not, and is left alone. One temporary in about
// twenty draws such letters itself and stays.
bool looksRandom(QStringView letters) {
    const auto upper =
        std::count_if(letters.begin(), letters.end(), [](QChar c) { return c.isUpper(); });
    const bool capitalised = upper == 1 && letters.front().isUpper();
    return upper > 0 && upper < letters.size() && !capitalised;
}

} // namespace

bool writeFileAtomically(const QString& hostPath, const QByteArray& bytes) {
    ignoreFileSizeSignal();
    QSaveFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int removeStaleTemporaries(const QString& hostPath) {
    const QFileInfo target(hostPath);
    const QDir dir = target.absoluteDir();
    const QRegularExpression stale(QStringLiteral("^%1(\\.orig(\\.\\d+)?)?\\.([A-Za-z]{6})$")
                                       .arg(QRegularExpression::escape(target.fileName())),
                                   QRegularExpression::CaseInsensitiveOption);
    int removed = 0;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch match = stale.match(entry);
        if (match.hasMatch() && looksRandom(match.capturedView(3)) &&
            QFile::remove(dir.filePath(entry)))
            ++removed;
    }
    return removed;
}
