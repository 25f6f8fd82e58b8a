// theme_gen: writes a theme file from its readable description.
//
//   theme_gen OUTPUT DESCRIPTION
//
// The description is UTF-8 text, one setting a line; a line starting with '#' is a comment:
//   base = DeepBlue              the built-in style every property not named below keeps
//   FormBackgroundColor = #F2EEE4   a colour as #RRGGBB (written as the colour number)
//   FormBorderWidthInt = 2
//   ButtonTransparentBool = 1
// Every colour, integer and boolean property is written; pictures are left to the
// kit's own drawing.

#include "../common/codegen.h"
#include "skin/core/theme_file.h"
#include "skin/core/ui_style.h"

#include <QFile>
#include <QHash>
#include <QTextStream>
#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "theme_gen: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return fail(QStringLiteral("usage: theme_gen OUTPUT DESCRIPTION"));
    QFile in(QString::fromLocal8Bit(argv[2]));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(in.fileName()));

    const QHash<QString, UIStyle> bases = {{QStringLiteral("MacOS"), UIStyle::MacOS},
                                           {QStringLiteral("WinXP"), UIStyle::WinXP},
                                           {QStringLiteral("DeepBlue"), UIStyle::DeepBlue},
                                           {QStringLiteral("Protein"), UIStyle::Protein},
                                           {QStringLiteral("BlueGlass"), UIStyle::BlueGlass}};
    UIStyle base = UIStyle::DeepBlue;
    QHash<QString, qint32> values;
    int lineNumber = 0;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    for (QString line : lines) {
        ++lineNumber;
        line = line.trimmed();
        if (line.startsWith(u'#') || line.isEmpty())
            continue;
        const QString key = line.section(u'=', 0, 0).trimmed();
        const QString value = line.section(u'=', 1).trimmed();
        auto where = [&] { return QStringLiteral("%1:%2").arg(in.fileName()).arg(lineNumber); };
        if (key == u"base") {
            if (!bases.contains(value))
                return fail(where() + QStringLiteral(": unknown base style ") + value);
            base = bases.value(value);
            continue;
        }
        const style::Property* p = style::find(key);
        if (!p || p->kind == style::Kind::Image)
            return fail(where() + QStringLiteral(": not a colour, integer or boolean: ") + key);
        bool ok = false;
        qint32 n = 0;
        if (p->kind == style::Kind::Colour) {
            const quint32 rgb = value.startsWith(u'#') ? value.mid(1).toUInt(&ok, 16) : 0;
            n = qint32((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
        } else {
            n = value.toInt(&ok);
        }
        if (!ok)
            return fail(where() + QStringLiteral(": bad value ") + value);
        values.insert(key, n);
    }

    QList<style::ThemeFile::Entry> entries;
    for (const style::Property& p : style::properties()) {
        if (p.kind == style::Kind::Image)
            continue;
        const QString name = QString::fromLatin1(p.name);
        const qint32 n = values.value(name, *style::value(base, name));
        if (p.kind == style::Kind::Boolean)
            entries.append({p.name, style::ThemeFile::Boolean, QByteArray(1, n ? '\1' : '\0')});
        else
            entries.append({p.name, style::ThemeFile::Integer, style::ThemeFile::integerData(n)});
    }
    if (!codegen::writeIfChanged(QString::fromLocal8Bit(argv[1]), style::ThemeFile::write(entries)))
        return fail(QStringLiteral("cannot write %1").arg(QString::fromLocal8Bit(argv[1])));
    return 0;
}
