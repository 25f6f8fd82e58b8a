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
                open->line = open->last = {i};
            continue;
        }
        if (!open)
            continue; // only the first section of a name is searched
        if (!trimmed(lines[i]).isEmpty())
            open->last = {i};
        if (auto k = keyOf(lines[i])) {
            if (open->keys.contains(folded(*k)))
                open->repeats = true;
            else
                open->keys.insert(folded(*k), {i});
        }
    }
}

const QByteArray& SettingsFile::Model::text(Place p) const {
    return p.added < 0 ? lines[p.line] : added.find(p.line)->at(p.added);
}

template <class F> void SettingsFile::Model::forEachAfter(Place from, F f) const {
    for (qsizetype line = from.line, next = from.added + 1; line < lines.size();
         ++line, next = -1) {
        if (next < 0 && !dropped.contains(Place{line}) && !f(Place{line}, lines[line]))
            return;
        auto more = added.constFind(line);
        if (more == added.cend())
            continue;
        for (qsizetype a = std::max<qsizetype>(next, 0); a < more->size(); ++a) {
            if (!dropped.contains(Place{line, a}) && !f(Place{line, a}, more->at(a)))
                return;
        }
    }
}

SettingsFile::Place SettingsFile::Model::lastBefore(Place p) const {
    for (;;) {
        if (p.added >= 0)
            --p.added;
        else {
            --p.line;
            auto more = added.constFind(p.line);
            p.added = more == added.cend() ? -1 : more->size() - 1;
        }
        if (!dropped.contains(p) && !trimmed(text(p)).isEmpty())
            return p;
    }
}

QByteArray SettingsFile::Model::bytes() const {
    QByteArray out;
    forEachAfter(Place{0, -2}, [&](Place, const QByteArray& line) {
        out += line;
        out += "\r\n";
        return true;
    });
    return out;
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
    if (!writeFileAtomically(m_path, model.bytes()))
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
    const QByteArray& line = model.text(*k);
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
    {
        const Model& now = current(true);
        bool found = false;
        const QByteArray raw = rawValue(now, section, key, &found);
        // What a read gives written back: the line stays as it is, so a value that a read
        // cut at the limit, or one in quotes, keeps its bytes.
        if (found && decodeValue(gbk::decode(raw)) == value)
            return;
    }
    // A batch is changed where it lies; otherwise the file's model is changed once the
    // file took the change.
    Model next = m_batching ? std::move(m_batch) : current(true);
    const std::optional<QString> lineKey = keyOf(line);
    if (sectionOf(line) || !lineKey) {
        // A key that reads as a section or as a comment: the lines are read again.
        auto s = next.sections.constFind(folded(section));
        QList<QByteArray> lines = splitLines(next.bytes());
        if (s == next.sections.cend()) {
            lines.append('[' + gbk::encode(section) + ']');
            lines.append(line);
        } else {
            qsizetype at = 0;
            next.forEachAfter(Place{0, -2}, [&](Place p, const QByteArray&) {
                ++at;
                return p != s->last;
            });
            lines.insert(at, line);
        }
        next = {};
        next.lines = std::move(lines);
        next.index();
        store(std::move(next));
        return;
    }
    auto s = next.sections.find(folded(section));
    if (s == next.sections.end()) {
        const QByteArray header = '[' + gbk::encode(section) + ']';
        next.lines.append(header);
        next.lines.append(line);
        const qsizetype at = next.lines.size() - 1;
        Section added;
        added.line = {at - 1};
        added.last = {at};
        added.keys.insert(folded(*lineKey), {at});
        // Under the name a read of the header gives; a header that reads as the name
        // of an earlier section opens a repeat of it, which no read searches.
        const QString id = folded(sectionOf(header).value_or(section));
        if (!next.sections.contains(id))
            next.sections.insert(id, added);
    } else if (auto k = s->keys.constFind(folded(key)); k != s->keys.cend()) {
        // The same key on the same line: the index holds.
        if (k->added < 0)
            next.lines[k->line] = line;
        else
            next.added[k->line][k->added] = line;
    } else {
        QList<QByteArray>& after = next.added[s->last.line];
        after.append(line);
        // Lines after the section's last one that were added since are all removed
        // ones, so the new line still follows the last one directly.
        s->last = {s->last.line, after.size() - 1};
        if (!s->keys.contains(folded(*lineKey)))
            s->keys.insert(folded(*lineKey), s->last);
    }
    store(std::move(next));
}

QStringList SettingsFile::keys(const QString& section) const {
    const Model& model = current();
    QStringList found;
    auto s = model.sections.constFind(folded(section));
    if (s == model.sections.cend())
        return found;
    // The first section of the name is the only one searched.
    model.forEachAfter(s->line, [&](Place, const QByteArray& line) {
        if (sectionOf(line))
            return false;
        if (auto key = keyOf(line))
            found << *key;
        return true;
    });
    return found;
}

void SettingsFile::removeKey(const QString& section, const QString& key) {
    {
        const Model& now = current(true);
        auto s = now.sections.constFind(folded(section));
        if (s == now.sections.cend() || !s->keys.contains(folded(key)))
            return;
    }
    Model next = m_batching ? std::move(m_batch) : current(true);
    Section& s = next.sections[folded(section)];
    const QString id = folded(key);
    const Place gone = s.keys.take(id);
    next.dropped.insert(gone);
    if (s.repeats) {
        // A later line of the same key becomes the one read.
        next.forEachAfter(gone, [&](Place p, const QByteArray& line) {
            if (sectionOf(line))
                return false;
            if (auto k = keyOf(line); k && folded(*k) == id) {
                s.keys.insert(id, p);
                return false;
            }
            return true;
        });
    }
    if (s.last == gone)
        s.last = next.lastBefore(gone);
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
