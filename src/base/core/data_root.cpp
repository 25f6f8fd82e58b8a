#include "base/core/data_root.h"

#include "base/core/app_error.h"
#include "base/core/atomic_file.h"
#include "base/core/gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace text_lines {

QStringList split(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArrayView beforeNul(QByteArrayView bytes) {
    qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.first(nul);
}

} // namespace text_lines

DataRoot::DataRoot(QString folder) : m_folder(std::move(folder)) {}

DataRoot::DataRoot(QString userFolder, QString shippedFolder)
    : m_folder(std::move(userFolder)), m_shipped(std::move(shippedFolder)) {
    if (m_shipped == m_folder)
        m_shipped.clear();
}

bool DataRoot::isUserPath(const QString& path) {
    QString first = QString(path)
                        .replace(QLatin1Char('\\'), QLatin1Char('/'))
                        .section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
    static const QStringList own = {QStringLiteral("save"),      QStringLiteral("user.dat"),
                                    QStringLiteral("temp.dat"),  QStringLiteral("data.dat"),
                                    QStringLiteral("Mqini.ini"), QStringLiteral("lyrevane.lock")};
    for (const QString& name : own) {
        // A kept original ("user.dat.orig") belongs with its file.
        if (first.compare(name, Qt::CaseInsensitive) == 0 ||
            (first.size() > name.size() && first[name.size()] == QLatin1Char('.') &&
             first.startsWith(name, Qt::CaseInsensitive)))
            return true;
    }
    return false;
}

DataRoot DataRoot::current() {
    return DataRoot(QDir::currentPath());
}

namespace {

// The entry of `dir` named `name` in any letter case; an exact match wins.
QString matchEntry(const QString& dir, const QString& name) {
    if (QFileInfo::exists(dir + QLatin1Char('/') + name))
        return name;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString DataRoot::resolve(const QString& path, Want want) const {
    QStringList parts = QString(path)
                            .replace(QLatin1Char('\\'), QLatin1Char('/'))
                            .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    const bool users = m_shipped.isEmpty() || isUserPath(path);
    if (!users && want == Want::Writable)
        return {}; // the shipped tree is never written, even by root
    QString dir = users ? m_folder : m_shipped;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const QString& part = parts[i];
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            dir += QLatin1Char('/') + part;
            continue;
        }
        QString entry = matchEntry(dir, part);
        if (entry.isEmpty()) {
            if (last && want == Want::Writable && QFileInfo(dir).isDir())
                return dir + QLatin1Char('/') + part;
            return {};
        }
        dir += QLatin1Char('/') + entry;
        if (!last && !QFileInfo(dir).isDir())
            return {};
    }
    return (QFileInfo(dir).isDir() && want != Want::Anything) ? QString() : dir;
}

bool DataRoot::exists(const QString& path) const {
    return !resolve(path, Want::Anything).isEmpty();
}

QString DataRoot::findFile(const QString& path) const {
    return resolve(path, Want::File);
}

QString DataRoot::pathForWriting(const QString& path) const {
    return resolve(path, Want::Writable);
}

QByteArray DataRoot::readBytes(const QString& path) const {
    QString host = findFile(path);
    QFile file(host);
    if (host.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw AppError::cannotOpen(path);
    return file.readAll();
}

QString DataRoot::readText(const QString& path) const {
    const QByteArray bytes = readBytes(path);
    // A text file saved by an editor of this platform is UTF-8: read it as such rather
    // than turn it to replacement characters that the next write would keep.
    return gbk::decodeTextFile(text_lines::beforeNul(bytes));
}

QStringList DataRoot::readLines(const QString& path) const {
    return text_lines::split(readText(path));
}

void DataRoot::writeBytes(const QString& path, const QByteArray& bytes) const {
    QString host = pathForWriting(path);
    if (host.isEmpty() || !writeFileAtomically(host, bytes))
        throw AppError::cannotCreate(path);
}

void DataRoot::writeText(const QString& path, const QString& text) const {
    writeBytes(
        path,
        gbk::encode(
            text_lines::split(text + QLatin1Char('x')).join(QStringLiteral("\r\n")).chopped(1)));
}

void DataRoot::writeLines(const QString& path, const QStringList& lines) const {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += gbk::encode(line) + "\r\n";
    writeBytes(path, bytes);
}

QStringList DataRoot::readOwnLines(const QString& path, QString* notice) const {
    const QByteArray bytes = readBytes(path);
    const QByteArrayView text = text_lines::beforeNul(bytes);
    bool ok = true;
    QStringList lines = text_lines::split(gbk::decodeTextFile(text, &ok));
    notice->clear();
    if (text.size() < bytes.size() || !ok) {
        const QString kept = keepOriginal(path, bytes);
        *notice =
            QStringLiteral("文件 %1 已损坏（%2），下次关闭时将按现在显示的内容重写；"
                           "原文件已另存为 %3。")
                .arg(path,
                     text.size() < bytes.size() ? QStringLiteral("含有空字符，其后的内容未能读出")
                                                : QStringLiteral("含有无法识别的字节"),
                     kept);
    }
    return lines;
}

QString DataRoot::keepOriginal(const QString& path, const QByteArray& bytes) const {
    const QString first = path + QStringLiteral(".orig");
    for (int n = 0;; ++n) {
        const QString name = n == 0 ? first : first + QStringLiteral(".%1").arg(n);
        const QString host = findFile(name);
        if (host.isEmpty()) {
            writeBytes(name, bytes);
            return name;
        }
        QFile earlier(host);
        if (earlier.open(QIODevice::ReadOnly) && earlier.size() == bytes.size() &&
            earlier.readAll() == bytes)
            return name;
    }
}

void DataRoot::removeStaleTemporaries(const QStringList& paths) const {
    for (const QString& path : paths) {
        const QString host = pathForWriting(path);
        if (!host.isEmpty())
            ::removeStaleTemporaries(host);
    }
}
