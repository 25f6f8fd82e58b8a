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
    Precedent out;
    PatternPrecedent* current = nullptr;
    const QString text = QString::fromUtf8(utf8);
    for (QStringView ln : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> f = ln.split(u'\t');
        if (ln.startsWith(u'@') && f.size() >= 3) {
            current = &out.byKey_[f[0].mid(1).toString()];
            current->era = f[1].toString();
            current->poems = f[2].toInt();
        } else if (current && f.size() >= 3) {
            // The third field is "unknown" or "unknown:unrhymed".
            const qsizetype colon = f[2].indexOf(u':');
            PositionCount c{.level = f[0].toInt(),
                            .oblique = f[1].toInt(),
                            .unknown = f[2].left(colon < 0 ? f[2].size() : colon).toInt(),
                            .unrhymed = colon < 0 ? 0 : f[2].mid(colon + 1).toInt()};
            for (qsizetype i = 3; i < f.size(); ++i)
                c.minority.append(f[i].toString());
            current->positions.append(c);
        }
    }
    return out;
}

Precedent Precedent::load(const QString& dir) {
    return fromText(readDataFile(dir + QStringLiteral("/precedent.dat")));
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
