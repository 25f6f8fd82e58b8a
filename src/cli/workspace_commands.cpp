#include "base/core/gbk.h"
#include "cli/command.h"

#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

// Reads FILE, or standard input for "-"; on failure says so on standard error. The file
// is opened by the name's bytes as passed, which need not be UTF-8.
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

int rtf2txt(const QStringList& args, Io& io) {
    if (args.size() != 1) {
        io.err << "usage: lyrevane-cli rtf2txt FILE\n";
        return BadUsage;
    }
    QByteArray bytes;
    if (!readInput(args[0], io.raw.value(0), &bytes, io))
        return NotFound;
    workspace::RtfReader reader;
    const bool ok = reader.read(QByteArrayView(bytes));
    io.out << reader.document().plainText();
    io.out.flush();
    if (!ok) {
        io.err << "lyrevane-cli: " << args[0] << ": " << reader.errorString() << '\n';
        return Damaged;
    }
    return Ok;
}

int txt2rtf(const QStringList& args, Io& io) {
    if (args.size() != 1) {
        io.err << "usage: lyrevane-cli txt2rtf FILE\n";
        return BadUsage;
    }
    QByteArray bytes;
    if (!readInput(args[0], io.raw.value(0), &bytes, io))
        return NotFound;
    bool ok = true;
    const QString text = gbk::decodeTextFile(bytes, &ok);
    const QByteArray rtf =
        workspace::RtfWriter::toRtf(workspace::RichDocument::fromPlainText(text));
    io.out << QString::fromLatin1(rtf);
    io.out.flush();
    if (!ok) {
        io.err << "lyrevane-cli: " << args[0] << ": some bytes could not be decoded\n";
        return Damaged;
    }
    return Ok;
}

} // namespace

std::vector<Command> workspaceCommands() {
    return {
        {QStringLiteral("rtf2txt"),
         QStringLiteral("rtf2txt FILE    (the text of an RTF or text file, UTF-8)"), rtf2txt},
        {QStringLiteral("txt2rtf"),
         QStringLiteral("txt2rtf FILE    (a UTF-8 or GBK text file as RTF)"), txt2rtf},
    };
}

} // namespace cli
