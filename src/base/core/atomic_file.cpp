#include "base/core/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <csignal>
#include <optional>

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

// The six letters of a temporary of `name` (NAME.xxxxxx, NAME.orig.xxxxxx or
// NAME.orig.N.xxxxxx, any case), or nothing for another file. Matched by hand: a pattern
// here would load the regular-expression engine at every start for a few names.
std::optional<QStringView> temporarySuffix(QStringView entry, QStringView name) {
    if (!entry.startsWith(name, Qt::CaseInsensitive))
        return std::nullopt;
    QStringView rest = entry.sliced(name.size());
    const auto isAsciiLetter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    if (rest.size() != 7 && rest.startsWith(u".orig", Qt::CaseInsensitive)) {
        rest = rest.sliced(5);
        if (rest.size() > 7 && rest.front() == u'.') { // .N: one or more digits
            qsizetype digits = 1;
            while (digits < rest.size() && rest[digits].isDigit())
                ++digits;
            if (digits == 1)
                return std::nullopt;
            rest = rest.sliced(digits);
        }
    }
    if (rest.size() != 7 || rest.front() != u'.' ||
        !std::all_of(rest.begin() + 1, rest.end(), isAsciiLetter))
        return std::nullopt;
    return rest.sliced(1);
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
    const QString name = target.fileName();
    int removed = 0;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        const std::optional<QStringView> letters = temporarySuffix(entry, name);
        if (letters && looksRandom(*letters) && QFile::remove(dir.filePath(entry)))
            ++removed;
    }
    return removed;
}
