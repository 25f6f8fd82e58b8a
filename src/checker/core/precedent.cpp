#include "checker/core/precedent.h"

#include "checker/core/data_file.h"

#include <algorithm>
#include <cstring>

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

QByteArray Precedent::indexed(const QByteArray& utf8) {
    // The last block ends where the index begins.
    QByteArray out = utf8;
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += '\n';
    const qsizetype indexAt = out.size();
    const QHash<QString, std::pair<qsizetype, qsizetype>> spans = headedBlocks(out);
    QList<std::pair<QString, std::pair<qsizetype, qsizetype>>> sorted;
    for (auto it = spans.cbegin(); it != spans.cend(); ++it)
        sorted.append({it.key(), it.value()});
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.second.first < b.second.first; });
    out += "#index\n";
    for (const auto& [key, span] : sorted)
        out += key.toUtf8() + '\t' + QByteArray::number(span.first) + '\t' +
               QByteArray::number(std::min(span.second, indexAt)) + '\n';
    out += "#index-at\t" + QByteArray::number(indexAt) + '\n';
    return out;
}

bool Precedent::readIndex() {
    // The last line: "#index-at<TAB>offset".
    const QByteArrayView t(text_);
    if (!t.endsWith('\n'))
        return false;
    const qsizetype last = t.first(t.size() - 1).lastIndexOf('\n') + 1;
    const QByteArrayView trailer = t.sliced(last, t.size() - 1 - last);
    if (!trailer.startsWith("#index-at\t"))
        return false;
    bool ok = false;
    const qsizetype indexAt = trailer.sliced(10).toLongLong(&ok);
    if (!ok || indexAt < 0 || indexAt >= last || !t.sliced(indexAt).startsWith("#index\n"))
        return false;
    const QString index = QString::fromUtf8(t.sliced(indexAt + 7, last - indexAt - 7));
    QHash<QString, std::pair<qsizetype, qsizetype>> spans;
    for (QStringView ln : QStringView(index).split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> f = ln.split(u'\t');
        bool startOk = false, endOk = false;
        const qsizetype start = f.value(1).toLongLong(&startOk);
        const qsizetype end = f.value(2).toLongLong(&endOk);
        if (f.size() != 3 || !startOk || !endOk || start < 0 || start > end || end > indexAt)
            return false; // a damaged index: the headings are found instead
        spans.insert(f[0].toString(), {start, end});
    }
    blocks_ = std::move(spans);
    return true;
}

Precedent Precedent::fromText(const QByteArray& utf8) {
    Precedent out;
    out.text_ = utf8;
    if (!out.readIndex()) {
        // A damaged index is no block's lines.
        const qsizetype index = out.text_.lastIndexOf("\n#index\n");
        out.blocks_ =
            headedBlocks(QByteArrayView(out.text_).first(index < 0 ? out.text_.size() : index + 1));
    }
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
    // The text stays in the file's pages: only those of the blocks read are touched.
    MappedText mapped = mapDataFile(dir + QStringLiteral("/precedent.dat"));
    Precedent out = fromText(mapped.text);
    out.mapped_ = std::move(mapped.file);
    return out;
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
