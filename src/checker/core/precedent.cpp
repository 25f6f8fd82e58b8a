#include "checker/core/precedent.h"

#include "checker/core/data_file.h"

namespace checker {

namespace {

QString listKey(catalogue::PatternList list) {
    switch (list) {
    case catalogue::PatternList::Common:
        return QStringLiteral("common");
    case catalogue::PatternList::General:
        return QStringLiteral("general");
    case catalogue::PatternList::Rare:
        return QStringLiteral("rare");
    }
    return {};
}

} // namespace

QString patternKey(const catalogue::CiPattern& p) {
    return listKey(p.list) + u'/' + QString::number(p.row + 1);
}

QString patternKey(const catalogue::VersePattern& p) {
    return QStringLiteral("verse/") + QString::number(p.row + 1);
}

Precedent Precedent::fromText(const QByteArray& utf8) {
    // Only the headings are read here: "@key<TAB>era<TAB>poems" at the start of a line.
    Precedent out;
    out.text_ = utf8;
    const QByteArray& t = out.text_;
    QString key;
    qsizetype start = -1;
    for (qsizetype at = 0; at < t.size();) {
        qsizetype end = t.indexOf('\n', at);
        if (end < 0)
            end = t.size();
        if (t[at] == '@') {
            if (start >= 0)
                out.blocks_.insert(key, {start, at});
            const qsizetype tab = t.indexOf('\t', at);
            key = QString::fromUtf8(t.constData() + at + 1,
                                    (tab < 0 || tab > end ? end : tab) - at - 1);
            start = at;
        }
        at = end + 1;
    }
    if (start >= 0)
        out.blocks_.insert(key, {start, t.size()});
    return out;
}

const PatternPrecedent* Precedent::find(const QString& key) const {
    const std::lock_guard lock(*reading_);
    if (auto it = read_.constFind(key); it != read_.cend())
        return it->get();
    const auto span = blocks_.constFind(key);
    if (span == blocks_.cend())
        return nullptr;
    PatternPrecedent block;
    const QString text =
        QString::fromUtf8(QByteArrayView(text_).sliced(span->first, span->second - span->first));
    bool heading = true;
    for (QStringView ln : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> f = ln.split(u'\t');
        if (heading) {
            heading = false;
            block.era = f.value(1).toString();
            block.poems = f.value(2).toInt();
        } else if (f.size() >= 3) {
            // The third field is "unknown" or "unknown:unrhymed".
            const qsizetype colon = f[2].indexOf(u':');
            PositionCount c{.level = f[0].toInt(),
                            .oblique = f[1].toInt(),
                            .unknown = f[2].left(colon < 0 ? f[2].size() : colon).toInt(),
                            .unrhymed = colon < 0 ? 0 : f[2].mid(colon + 1).toInt()};
            for (qsizetype i = 3; i < f.size(); ++i)
                c.minority.append(f[i].toString());
            block.positions.append(c);
        }
    }
    return read_.insert(key, std::make_shared<const PatternPrecedent>(std::move(block)))->get();
}

Precedent Precedent::load(const QString& dir) {
    auto file = std::make_shared<QFile>(dir + QStringLiteral("/precedent.dat"));
    if (!file->open(QIODevice::ReadOnly) || file->size() == 0)
        return {};
    if (uchar* at = file->map(0, file->size())) {
        // The text stays in the file's pages: only those of the blocks read are touched.
        Precedent out = fromText(
            QByteArray::fromRawData(reinterpret_cast<const char*>(at), qsizetype(file->size())));
        out.mapped_ = std::move(file);
        return out;
    }
    return fromText(file->readAll());
}

QString TunePoem::firstLine() const {
    const QString first = paragraphs.value(0);
    qsizetype end = first.size();
    for (QChar stop : {u'，', u'。', u'？', u'！', u'；'}) {
        const qsizetype at = first.indexOf(stop);
        if (at > 0 && at < end)
            end = at;
    }
    return first.left(end);
}

TunePoems TunePoems::fromText(const QByteArray& utf8) {
    TunePoems out;
    QList<TunePoem>* current = nullptr;
    const QString text = QString::fromUtf8(utf8);
    for (QStringView ln : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        if (ln.startsWith(u'@')) {
            current = &out.byKey_[ln.mid(1).toString()];
            continue;
        }
        const QList<QStringView> f = ln.split(u'\t');
        if (!current || f.size() < 3)
            continue;
        TunePoem poem{.poet = f[0].toString(), .title = f[1].toString(), .paragraphs = {}};
        for (qsizetype i = 2; i < f.size(); ++i)
            poem.paragraphs.append(f[i].toString());
        current->append(poem);
    }
    return out;
}

TunePoems TunePoems::load(const QString& dir) {
    return fromText(readDataFile(dir + QStringLiteral("/poems.dat")));
}

} // namespace checker
