#include "checker/core/forms.h"

#include "checker/core/data_file.h"

namespace checker {

// forms.dat: "@key" lines, each followed by its forms as "label<TAB>template<TAB>plan<TAB>
// precedent key"; then "@mix" and its "major<TAB>minor<TAB>groups together<TAB>groups" lines.
Forms Forms::fromText(const QByteArray& utf8) {
    Forms out;
    QList<Form>* current = nullptr;
    bool mix = false;
    bool charMix = false;
    for (const QString& ln : QString::fromUtf8(utf8).split(u'\n')) {
        if (ln.startsWith(u'@')) {
            mix = ln == QStringLiteral("@mix");
            charMix = ln == QStringLiteral("@charmix");
            current = mix || charMix ? nullptr : &out.byKey_[ln.mid(1)];
            continue;
        }
        const QStringList cols = ln.split(u'\t');
        if (mix && cols.size() >= 2) {
            out.mixed_[cols[0].toInt()].append(cols[1].toInt());
            continue;
        }
        if (charMix && cols.size() >= 3) {
            const QList<uint> c = cols[0].toUcs4();
            if (c.size() == 1)
                out.charMixed_[c[0]][cols[1].toInt()] = cols[2].toInt();
            continue;
        }
        if (!current || cols.size() < 2)
            continue;
        current->append(Form{.label = cols[0],
                             .templateText = cols[1],
                             .plan = cols.value(2),
                             .precedentKey = cols.value(3)});
    }
    return out;
}

Forms Forms::load(const QString& dir) {
    return fromText(readDataFile(dir + QStringLiteral("/forms.dat")));
}

// t2s.dat: one pair a line, the traditional character then the simplified one.
Simplifier Simplifier::fromText(const QByteArray& utf8) {
    Simplifier out;
    for (const QString& ln : QString::fromUtf8(utf8).split(u'\n')) {
        const QList<uint> u = ln.toUcs4();
        if (u.size() == 3 && u[1] == u'\t')
            out.map_.insert(u[0], u[2]);
    }
    return out;
}

Simplifier Simplifier::load(const QString& dir) {
    return fromText(readDataFile(dir + QStringLiteral("/t2s.dat")));
}

} // namespace checker
