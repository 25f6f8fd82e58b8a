#include "checker/core/forms.h"

#include "checker/core/data_file.h"

#include <algorithm>
#include <cstring>

namespace checker {

// forms.dat: "@key" lines, each followed by its forms as "label<TAB>template<TAB>plan<TAB>
// precedent key"; then "@mix" and its "major<TAB>minor<TAB>groups together<TAB>groups" lines,
// and "@charmix" and its "character<TAB>part<TAB>times" lines.
Forms Forms::fromText(const QByteArray& utf8) {
    // Only the headings are read here; a block's heading line is passed over with its lines
    // of too few columns.
    Forms out;
    out.text_ = utf8;
    out.blocks_ = headedBlocks(out.text_);
    return out;
}

QByteArrayView Forms::block(const QString& key) const {
    const auto span = blocks_.constFind(key);
    if (span == blocks_.cend())
        return {};
    return QByteArrayView(text_).sliced(span->first, span->second - span->first);
}

QList<Form> Forms::forms(const QString& key) const {
    const std::lock_guard lock(*reading_);
    if (auto it = read_.constFind(key); it != read_.cend())
        return *it;
    if (key == QLatin1String("mix") || key == QLatin1String("charmix"))
        return {};
    const QByteArrayView lines = block(key);
    if (lines.isNull())
        return {};
    QList<Form> out;
    const QString text = QString::fromUtf8(lines);
    for (QStringView ln : QStringView(text).split(u'\n')) {
        const QList<QStringView> cols = ln.split(u'\t');
        if (cols.size() < 2)
            continue;
        out.append(Form{.label = cols[0].toString(),
                        .templateText = cols[1].toString(),
                        .plan = cols.value(2).toString(),
                        .precedentKey = cols.value(3).toString()});
    }
    return *read_.insert(key, out);
}

const Forms::Mixing& Forms::mixing() const {
    const std::lock_guard lock(*reading_);
    if (mixing_)
        return *mixing_;
    Mixing m;
    const QString mix = QString::fromUtf8(block(QStringLiteral("mix")));
    for (QStringView ln : QStringView(mix).split(u'\n')) {
        const QList<QStringView> cols = ln.split(u'\t');
        if (cols.size() >= 2)
            m.mixed[cols[0].toInt()].append(cols[1].toInt());
    }
    const QString charMix = QString::fromUtf8(block(QStringLiteral("charmix")));
    for (QStringView ln : QStringView(charMix).split(u'\n')) {
        const QList<QStringView> cols = ln.split(u'\t');
        if (cols.size() < 3)
            continue;
        const QList<uint> c = cols[0].toUcs4();
        if (c.size() == 1)
            m.charMixed[c[0]][cols[1].toInt()] = cols[2].toInt();
    }
    return mixing_.emplace(std::move(m));
}

Forms Forms::load(const QString& dir) {
    MappedText mapped = mapDataFile(dir + QStringLiteral("/forms.dat"));
    Forms out = fromText(mapped.text);
    out.mapped_ = std::move(mapped.file);
    return out;
}

// t2s.dat: one pair a line, the traditional character then the simplified one.
Simplifier Simplifier::fromText(const QByteArray& utf8) {
    Simplifier out;
    out.text_ = utf8;
    return out;
}

char32_t Simplifier::simplified(char32_t c) const {
    const std::lock_guard lock(*reading_);
    if (!map_) {
        QHash<char32_t, char32_t>& m = map_.emplace();
        const QString text = QString::fromUtf8(text_);
        for (QStringView ln : QStringView(text).split(u'\n')) {
            const QList<uint> u = ln.toUcs4();
            if (u.size() == 3 && u[1] == u'\t')
                m.insert(u[0], u[2]);
        }
    }
    return map_->value(c, c);
}

Simplifier Simplifier::load(const QString& dir) {
    MappedText mapped = mapDataFile(dir + QStringLiteral("/t2s.dat"));
    Simplifier out = fromText(mapped.text);
    out.mapped_ = std::move(mapped.file);
    return out;
}

} // namespace checker
