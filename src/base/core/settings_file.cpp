#include "base/core/settings_file.h"

#include "base/core/app_error.h"
#include "base/core/atomic_file.h"
#include "base/core/gbk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <optional>
#include <sys/stat.h>

namespace {

// A value is read through a 2048-byte buffer.
constexpr qsizetype kMaxValueBytes = 2047;

// Marks a value whose line breaks, edge blanks or quotes were escaped to keep it on one
// line; values without it are taken as written.
const QString kTextPrefix = QStringLiteral("@Text(");

bool isBlank(char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

QByteArrayView trimmed(QByteArrayView b) {
    qsizetype s = 0, e = b.size();
    while (s < e && isBlank(b[s]))
        ++s;
    while (e > s && isBlank(b[e - 1]))
        --e;
    return b.sliced(s, e - s);
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

// The section a line opens, or nullopt.
std::optional<QString> sectionOf(const QByteArray& line) {
    QByteArrayView t = trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    qsizetype close = t.lastIndexOf(']');
    QByteArrayView name = close > 0 ? t.sliced(1, close - 1) : t.sliced(1);
    return gbk::decode(trimmed(name));
}

// The key a line sets, or nullopt for comments and lines without "=".
std::optional<QString> keyOf(const QByteArray& line) {
    QByteArrayView t = trimmed(line);
    if (t.startsWith(';'))
        return std::nullopt;
    qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return gbk::decode(trimmed(t.first(eq)));
}

QString folded(const QString& name) {
    return name.toCaseFolded();
}

} // namespace

void SettingsFile::Model::index() {
    sections.clear();
    Section* open = nullptr; // the section being indexed; null inside a repeated one
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (auto name = sectionOf(lines[i])) {
            const QString id = folded(*name);
            open = sections.contains(id) ? nullptr : &sections[id];
            if (open)
                open->line = open->last = i;
            continue;
        }
        if (!open)
            continue; // only the first section of a name is searched
        if (!trimmed(lines[i]).isEmpty())
            open->last = i;
        if (auto k = keyOf(lines[i]); k && !open->keys.contains(folded(*k)))
            open->keys.insert(folded(*k), i);
    }
}

SettingsFile::SettingsFile(QString hostPath) : m_path(std::move(hostPath)) {}

QString SettingsFile::besideExecutable() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Mqini.ini"));
}

void SettingsFile::removeStaleTemporaries() const {
    ::removeStaleTemporaries(m_path);
}

namespace {

// What changes whenever the file is written in place or replaced: device, inode, size,
// change and modification times. All zero for a missing file.
std::array<qint64, 7> stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {qint64(st.st_dev),         qint64(st.st_ino),          qint64(st.st_size),
            qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec), qint64(st.st_ctim.tv_sec),
            qint64(st.st_ctim.tv_nsec)};
}

} // namespace

const SettingsFile::Model& SettingsFile::current(bool forWriting) const {
    if (m_batching)
        return m_batch;
    const Stamp stamp = stampOf(m_path);
    if (!m_loaded || stamp != m_stamp) {
        m_file = {};
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly))
            m_file.lines = splitLines(file.readAll());
        else
            m_file.unreadable = file.exists();
        m_file.index();
        m_stamp = stamp;
        m_loaded = true;
    }
    // A missing file reads as empty. One that exists but cannot be read must not be
    // replaced by a file holding just the key being written.
    if (forWriting && m_file.unreadable)
        throw AppError::unableToWrite(QDir::toNativeSeparators(m_path));
    return m_file;
}

void SettingsFile::store(Model model) {
    if (m_batching) {
        m_batch = std::move(model);
        m_batchDirty = true;
        return;
    }
    QByteArray bytes;
    for (const QByteArray& line : model.lines)
        bytes += line + "\r\n";
    if (!writeFileAtomically(m_path, bytes))
        throw AppError::unableToWrite(QDir::toNativeSeparators(m_path));
    m_file = std::move(model);
    m_stamp = stampOf(m_path);
    m_loaded = true;
}

QByteArray SettingsFile::rawValue(const Model& model, const QString& section, const QString& key,
                                  bool* found) {
    *found = false;
    auto s = model.sections.constFind(folded(section));
    if (s == model.sections.cend())
        return {};
    auto k = s->keys.constFind(folded(key));
    if (k == s->keys.cend())
        return {};
    *found = true;
    const QByteArray& line = model.lines[*k];
    QByteArray value = trimmed(QByteArrayView(line).sliced(line.indexOf('=') + 1)).toByteArray();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    // Values we escaped (long ones included) are read whole; others as the profile
    // functions read them.
    if (value.size() > kMaxValueBytes && !value.startsWith(kTextPrefix.toLatin1()))
        value = gbk::truncated(value, kMaxValueBytes).toByteArray();
    return value;
}

QString SettingsFile::readString(const QString& section, const QString& key,
                                 const QString& fallback) const {
    bool found = false;
    QByteArray raw = rawValue(current(), section, key, &found);
    return found ? decodeValue(gbk::decode(raw)) : fallback;
}

qint32 SettingsFile::readInteger(const QString& section, const QString& key,
                                 qint32 fallback) const {
    bool found = false;
    QByteArray raw = rawValue(current(), section, key, &found);
    if (!found)
        return fallback;
    return parseInteger(QString::fromLatin1(raw)).value_or(fallback);
}

bool SettingsFile::readBool(const QString& section, const QString& key, bool fallback) const {
    bool found = false;
    QByteArray raw = rawValue(current(), section, key, &found);
    if (!found)
        return fallback;
    auto value = parseInteger(QString::fromLatin1(raw));
    return value ? *value != 0 : fallback;
}

void SettingsFile::writeString(const QString& section, const QString& key, const QString& value) {
    QByteArray encoded = gbk::encode(encodeValue(value));
    if (encoded.size() > kMaxValueBytes && !encoded.startsWith(kTextPrefix.toLatin1()))
        encoded = gbk::encode(escapeValue(value)); // so that a read brings it back whole
    const QByteArray line = gbk::encode(key) + '=' + encoded;
    const Model& now = current(true);
    bool found = false;
    const QByteArray raw = rawValue(now, section, key, &found);
    // What a read gives written back: the line stays as it is, so a value that a read
    // cut at the limit, or one in quotes, keeps its bytes.
    if (found && decodeValue(gbk::decode(raw)) == value)
        return;
    Model next = now;
    auto s = next.sections.constFind(folded(section));
    if (s == next.sections.cend()) {
        next.lines.append('[' + gbk::encode(section) + ']');
        next.lines.append(line);
    } else if (auto k = s->keys.constFind(folded(key)); k != s->keys.cend()) {
        next.lines[*k] = line;
        store(std::move(next)); // the same key on the same line: the index holds
        return;
    } else {
        next.lines.insert(s->last + 1, line);
    }
    next.index();
    store(std::move(next));
}

QStringList SettingsFile::keys(const QString& section) const {
    const Model& model = current();
    QStringList found;
    auto s = model.sections.constFind(folded(section));
    if (s == model.sections.cend())
        return found;
    // The first section of the name is the only one searched.
    for (qsizetype i = s->line + 1; i < model.lines.size(); ++i) {
        if (sectionOf(model.lines[i]))
            break;
        if (auto key = keyOf(model.lines[i]))
            found << *key;
    }
    return found;
}

void SettingsFile::removeKey(const QString& section, const QString& key) {
    const Model& now = current(true);
    auto s = now.sections.constFind(folded(section));
    if (s == now.sections.cend())
        return;
    auto k = s->keys.constFind(folded(key));
    if (k == s->keys.cend())
        return;
    Model next = now;
    next.lines.removeAt(*k);
    next.index();
    store(std::move(next));
}

void SettingsFile::writeInteger(const QString& section, const QString& key, qint32 value) {
    writeString(section, key, QString::number(value));
}

void SettingsFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::beginBatch() {
    m_batch = current(true);
    m_batching = true;
    m_batchDirty = false;
}

void SettingsFile::commitBatch() {
    const bool dirty = m_batchDirty;
    Model lines = std::move(m_batch);
    abandonBatch();
    if (dirty)
        store(std::move(lines));
}

void SettingsFile::abandonBatch() {
    m_batching = false;
    m_batchDirty = false;
    m_batch = {};
}

std::optional<qint32> SettingsFile::parseInteger(QStringView text) {
    text = text.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(QLatin1Char('$')))
        value = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else {
        value = text.toLongLong(&ok, 10);
        if (ok && (value < INT32_MIN || value > INT32_MAX))
            ok = false;
    }
    if (!ok || text.isEmpty())
        return std::nullopt;
    if (value < 0 && !text.startsWith(QLatin1Char('-')))
        return std::nullopt;
    if (value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<qint32>(static_cast<quint32>(value)); // hex colours such as 0x80000005
}

QString SettingsFile::encodeValue(const QString& text) {
    const bool plain = !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) &&
                       !text.contains(QChar(0)) && text == text.trimmed() &&
                       !text.startsWith(kTextPrefix) &&
                       !(text.size() >= 2 &&
                         (text.front() == QLatin1Char('"') || text.front() == QLatin1Char('\'')) &&
                         text.back() == text.front());
    return plain ? text : escapeValue(text);
}

QString SettingsFile::escapeValue(const QString& text) {
    QString out = kTextPrefix;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case 0:
            out += QLatin1String("\\0");
            break;
        default:
            out += c;
        }
    }
    out += QLatin1Char(')');
    return out;
}

QString SettingsFile::decodeValue(const QString& stored) {
    if (!stored.startsWith(kTextPrefix))
        return stored;
    QStringView body = QStringView(stored).mid(kTextPrefix.size());
    if (body.endsWith(QLatin1Char(')')))
        body.chop(1); // absent when the read limit cut the value short
    QString out;
    out.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        QChar c = body[i];
        if (c != QLatin1Char('\\') || i + 1 == body.size()) {
            out += c;
            continue;
        }
        QChar e = body[++i];
        switch (e.unicode()) {
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case '0':
            out += QChar(0);
            break;
        default:
            out += e;
        }
    }
    return out;
}
