#include "base/core/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Under a file-size limit (ulimit -f) a write past it raises SIGXFSZ, which ends the
// program in the middle of its work. Ignored, the write fails with EFBIG instead, the
// old file stays and the failure is reported like any other.
void ignoreFileSizeSignal() {
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    Q_UNUSED(ignored);
}

// The mark between a file's name and the six random characters of its temporaries.
// No one names a copy of a file so, and start-up removes only names that carry it.
constexpr QStringView kMark = u".lyrevane-tmp-";
constexpr int kRandomLength = 6;

bool isAsciiAlnum(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// True when `entry` is a temporary of `name`: NAME, NAME.orig or NAME.orig.N (in any
// letter case), then the mark and six letters or digits. Matched by hand: a pattern here
// would load the regular-expression engine at every start for a few names.
bool isTemporaryOf(QStringView entry, QStringView name) {
    if (!entry.startsWith(name, Qt::CaseInsensitive))
        return false;
    QStringView rest = entry.sliced(name.size());
    if (rest.startsWith(u".orig", Qt::CaseInsensitive)) {
        rest = rest.sliced(5);
        if (rest.startsWith(u'.') && !rest.startsWith(kMark)) { // .N: one or more digits
            qsizetype digits = 1;
            while (digits < rest.size() && rest[digits].isDigit())
                ++digits;
            if (digits == 1)
                return false;
            rest = rest.sliced(digits);
        }
    }
    return rest.size() == kMark.size() + kRandomLength && rest.startsWith(kMark) &&
           std::all_of(rest.begin() + kMark.size(), rest.end(), isAsciiAlnum);
}

QByteArray randomCharacters() {
    static constexpr char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray out(kRandomLength, Qt::Uninitialized);
    for (char& c : out)
        c = kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))];
    return out;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        left -= n;
    }
    return true;
}

} // namespace

bool writeFileAtomically(const QString& hostPath, const QByteArray& bytes) {
    ignoreFileSizeSignal();
    // Through a symbolic link the file it names is replaced and the link stays.
    const QFileInfo info(hostPath);
    const QString target = info.isSymLink() ? info.symLinkTarget() : hostPath;
    const QByteArray targetName = QFile::encodeName(target);
    // A new file gets the usual permissions (0666 less the umask, which open applies);
    // a replaced one keeps its own. A read-only file is not replaced, nor is anything
    // that is not a plain file.
    struct stat old {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (replacing && (!S_ISREG(old.st_mode) || ::access(targetName.constData(), W_OK) != 0))
        return false;
    const mode_t mode = replacing ? (old.st_mode & 07777) : 0666;

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = targetName + kMark.toString().toLatin1() + randomCharacters();
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok =
        (!replacing || ::fchmod(fd, mode) == 0) && writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), targetName.constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

int removeStaleTemporaries(const QString& hostPath) {
    const QFileInfo target(hostPath);
    const QDir dir = target.absoluteDir();
    const QString name = target.fileName();
    int removed = 0;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (isTemporaryOf(entry, name) && QFile::remove(dir.filePath(entry)))
            ++removed;
    }
    return removed;
}
