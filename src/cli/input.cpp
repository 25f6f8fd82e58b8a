#include "cli/input.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

// Opens the file named, or standard input for "-"; on failure says so.
bool openFile(const QString& name, const QByteArray& rawName, QFile* file, Io& io) {
    bool opened = false;
    QString why;
    if (name == QLatin1String("-")) {
        opened = file->open(stdin, QIODevice::ReadOnly);
        why = file->errorString();
    } else {
        int fd = ::open(rawName.constData(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
        why = QString::fromLocal8Bit(std::strerror(errno));
        opened = fd >= 0 && file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    }
    if (!opened)
        io.err << "lyrevane-cli: cannot open " << shown(name) << ": " << why << '\n';
    return opened;
}

void sayTooLarge(const QString& name, Io& io, qint64 maxBytes) {
    io.err << "lyrevane-cli: " << shown(name) << ": larger than " << (maxBytes >> 20)
           << " MB, not read\n";
}

bool readWhole(const QString& name, QFile& file, QByteArray* bytes, Io& io, qint64 maxBytes) {
    // Read a piece at a time, so that an endless device (/dev/zero) stops at the limit.
    bytes->clear();
    if (!file.isSequential() && file.size() <= maxBytes)
        bytes->reserve(file.size());
    constexpr qint64 Piece = qint64(1) << 20;
    while (bytes->size() <= maxBytes) {
        const QByteArray piece = file.read(std::min(Piece, maxBytes + 1 - bytes->size()));
        if (piece.isEmpty())
            break;
        *bytes += piece;
    }
    if (bytes->size() > maxBytes) {
        bytes->clear();
        bytes->squeeze();
        sayTooLarge(name, io, maxBytes);
        return false;
    }
    return !readFailed(name, file, io);
}

} // namespace

bool readInput(const QString& name, const QByteArray& rawName, QByteArray* bytes, Io& io,
               qint64 maxBytes) {
    QFile file;
    return openFile(name, rawName, &file, io) && readWhole(name, file, bytes, io, maxBytes);
}

bool openInput(const QString& name, const QByteArray& rawName, Input* input, Io& io,
               qint64 maxBytes) {
    if (!openFile(name, rawName, &input->file, io))
        return false;
    struct stat st {};
    if (name != QLatin1String("-") && ::fstat(input->file.handle(), &st) == 0 &&
        S_ISREG(st.st_mode) && st.st_size > 0) {
        if (st.st_size <= maxBytes)
            return true;
        sayTooLarge(name, io, maxBytes);
        input->file.close();
        return false;
    }
    const bool read = readWhole(name, input->file, &input->bytes, io, maxBytes);
    input->file.close();
    return read;
}

bool readFailed(const QString& name, const QFile& file, Io& io) {
    if (file.error() == QFileDevice::NoError)
        return false;
    io.err << "lyrevane-cli: cannot read " << shown(name) << ": " << file.errorString() << '\n';
    return true;
}

QByteArray rawArgument(const QString& value, const Io& io) {
    for (const QByteArray& raw : io.raw) {
        if (QString::fromLocal8Bit(raw) == value)
            return raw;
    }
    return value.toUtf8();
}

QString shown(const QString& argument) {
    QString out;
    out.reserve(argument.size());
    for (const QChar c : argument) {
        if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
                 c == QChar::ParagraphSeparator || c.unicode() == 0x85)
            out += c.unicode() > 0xFF
                       ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
                       : QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString shippedFile(const QString& relative, const QString& built) {
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& dir : {QDir::currentPath(), program,
                               QDir::cleanPath(program + QStringLiteral("/../share/lyrevane"))}) {
        const QString path = dir + u'/' + relative;
        if (QFile::exists(path))
            return path;
    }
    return built;
}

} // namespace cli
