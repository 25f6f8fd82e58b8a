#include "cli/input.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

bool readInput(const QString& name, const QByteArray& rawName, QByteArray* bytes, Io& io) {
    QFile file;
    bool opened = false;
    QString why;
    if (name == QLatin1String("-")) {
        opened = file.open(stdin, QIODevice::ReadOnly);
        why = file.errorString();
    } else {
        int fd = ::open(rawName.constData(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
        why = QString::fromLocal8Bit(std::strerror(errno));
        opened = fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    }
    if (!opened) {
        io.err << "lyrevane-cli: cannot open " << name << ": " << why << '\n';
        return false;
    }
    *bytes = file.readAll();
    return true;
}

QByteArray rawArgument(const QString& value, const Io& io) {
    for (const QByteArray& raw : io.raw) {
        if (QString::fromLocal8Bit(raw) == value)
            return raw;
    }
    return value.toUtf8();
}

} // namespace cli
