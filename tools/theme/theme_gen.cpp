// theme_gen: writes a theme file from its readable description.
//
//   theme_gen OUTPUT DESCRIPTION
//
// The description is UTF-8 text, one setting a line; a line starting with '#' is a comment:
//   base = DeepBlue              the built-in style every property not named below keeps
//   FormBackgroundColor = #F2EEE4   a colour as #RRGGBB (written as the colour number)
//   FormBorderWidthInt = 2
//   ButtonTransparentBool = 1
//   let ink = #3A3430            a name for a value; $ink stands for it in later lines
//   include = pictures.txt       reads another description (beside this one) in place
// Every colour, integer and boolean property is written.
//
// A picture property is drawn from shapes, between a `picture` line and `end`:
//   picture ButtonImage 22x22 4  the property, one frame's size at scale 1, the frames
//   0-3: rrect 0.5 0.5 21 21 4 fill=#FFFFFF..#E0E0E0 pen=#606060
//   1: ellipse 3 3 16 16 fill=#A83A2C
//   end
// Frames lie side by side. A shape line names its frames (`*`, `2`, `0,2`, `4-7`) and one
// shape in frame coordinates: `rect X Y W H`, `rrect X Y W H RADIUS`, `ellipse X Y W H`,
// `line X1 Y1 X2 Y2`, `poly X,Y X,Y ...` (closed) or `polyline X,Y X,Y ...`, followed by
// `fill=` (a colour, `A..B` top to bottom or `A--B` left to right), `pen=` and `width=`.
// Colours are #RRGGBB or #RRGGBBAA. A picture is drawn at twice its size and stored as a
// 32-bit bitmap with alpha whose header gives 192 dots per inch, so that it is sharp at
// scale 2 and halves exactly at scale 1.

#include "../common/codegen.h"
#include "skin/core/theme_file.h"
#include "skin/core/ui_style.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QtEndian>
#include <cstdio>
#include <optional>

namespace {

constexpr int kScale = 2;
constexpr int kDotsPerMeter = 7559; // 192 dots per inch: twice the 96 of scale 1

struct Failure {
    QString message;
};

[[noreturn]] void fail(const QString& message) {
    throw Failure{message};
}

QColor colour(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^#([0-9A-Fa-f]{6})([0-9A-Fa-f]{2})?$"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        fail(QStringLiteral("bad colour ") + text);
    QColor c = QColor::fromRgb(m.captured(1).toUInt(nullptr, 16));
    if (m.hasCaptured(2))
        c.setAlpha(int(m.captured(2).toUInt(nullptr, 16)));
    return c;
}

qreal number(const QString& text) {
    bool ok = false;
    const qreal n = text.toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("bad number ") + text);
    return n;
}

QPointF point(const QString& text) {
    const QStringList xy = text.split(u',');
    if (xy.size() != 2)
        fail(QStringLiteral("bad point ") + text);
    return {number(xy[0]), number(xy[1])};
}

QBrush brush(const QString& text, const QRectF& bounds) {
    for (const QString& sep : {QStringLiteral(".."), QStringLiteral("--")}) {
        const int at = int(text.indexOf(sep));
        if (at < 0)
            continue;
        QLinearGradient g(bounds.topLeft(), sep == u".." ? bounds.bottomLeft() : bounds.topRight());
        g.setColorAt(0, colour(text.left(at)));
        g.setColorAt(1, colour(text.mid(at + 2)));
        return g;
    }
    return colour(text);
}

QList<int> frameList(const QString& list, int frames) {
    QList<int> out;
    if (list == u"*") {
        for (int i = 0; i < frames; ++i)
            out << i;
        return out;
    }
    for (const QString& part : list.split(u',')) {
        const QStringList range = part.split(u'-');
        const int from = int(number(range.first())), to = int(number(range.last()));
        if (range.size() > 2 || from < 0 || to >= frames || from > to)
            fail(QStringLiteral("bad frames ") + list);
        for (int i = from; i <= to; ++i)
            out << i;
    }
    return out;
}

// One shape line of a picture, drawn into every frame it names.
void drawShape(QPainter& p, const QString& line, QSize frame, int frames) {
    const int colon = int(line.indexOf(u':'));
    if (colon < 0)
        fail(QStringLiteral("a shape line starts with its frames: ") + line);
    const QList<int> which = frameList(line.left(colon).trimmed(), frames);
    QStringList words = line.mid(colon + 1).split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        fail(QStringLiteral("no shape: ") + line);
    const QString kind = words.takeFirst();
    QString fill, pen;
    qreal width = 1;
    QStringList args;
    for (const QString& w : std::as_const(words)) {
        if (w.startsWith(u"fill="))
            fill = w.mid(5);
        else if (w.startsWith(u"pen="))
            pen = w.mid(4);
        else if (w.startsWith(u"width="))
            width = number(w.mid(6));
        else
            args << w;
    }
    auto need = [&](int n) {
        if (args.size() != n)
            fail(QStringLiteral("%1 takes %2 numbers: %3").arg(kind).arg(n).arg(line));
    };
    QPainterPath path;
    if (kind == u"rect" || kind == u"rrect" || kind == u"ellipse") {
        need(kind == u"rrect" ? 5 : 4);
        const QRectF r(number(args[0]), number(args[1]), number(args[2]), number(args[3]));
        if (kind == u"rect")
            path.addRect(r);
        else if (kind == u"ellipse")
            path.addEllipse(r);
        else
            path.addRoundedRect(r, number(args[4]), number(args[4]));
    } else if (kind == u"line") {
        need(4);
        path.moveTo(number(args[0]), number(args[1]));
        path.lineTo(number(args[2]), number(args[3]));
    } else if (kind == u"poly" || kind == u"polyline") {
        if (args.size() < 2)
            fail(QStringLiteral("a polygon takes two points or more: ") + line);
        path.moveTo(point(args[0]));
        for (qsizetype i = 1; i < args.size(); ++i)
            path.lineTo(point(args[i]));
        if (kind == u"poly")
            path.closeSubpath();
    } else {
        fail(QStringLiteral("unknown shape ") + kind);
    }
    const QRectF bounds = path.boundingRect();
    for (int f : which) {
        p.save();
        p.setClipRect(QRectF(QPointF(f * frame.width(), 0), QSizeF(frame)));
        p.translate(f * frame.width(), 0);
        p.setBrush(fill.isEmpty() ? QBrush(Qt::NoBrush) : brush(fill, bounds));
        p.setPen(pen.isEmpty()
                     ? QPen(Qt::NoPen)
                     : QPen(colour(pen), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.restore();
    }
}

// A 32-bit bottom-up bitmap with a version-5 header: bit fields for red, green, blue
// and alpha, and the density in its header.
QByteArray bitmap(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    constexpr int kFileHeader = 14, kInfoHeader = 124;
    const quint32 pixels = quint32(w) * quint32(h) * 4;
    QByteArray out(kFileHeader + kInfoHeader, '\0');
    char* d = out.data();
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, d + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, d + at); };
    d[0] = 'B';
    d[1] = 'M';
    put32(2, kFileHeader + kInfoHeader + pixels);
    put32(10, kFileHeader + kInfoHeader);
    const int i = kFileHeader;
    put32(i + 0, kInfoHeader);
    put32(i + 4, quint32(w));
    put32(i + 8, quint32(h));
    put16(i + 12, 1);
    put16(i + 14, 32);
    put32(i + 16, 3); // bit fields
    put32(i + 20, pixels);
    put32(i + 24, kDotsPerMeter);
    put32(i + 28, kDotsPerMeter);
    put32(i + 40, 0x00FF0000);
    put32(i + 44, 0x0000FF00);
    put32(i + 48, 0x000000FF);
    put32(i + 52, 0xFF000000);
    put32(i + 56, 0x73524742); // the sRGB colour space
    put32(i + 108, 4);         // rendering intent: pictures
    out.reserve(out.size() + pixels);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            const char px[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), char(qAlpha(c))};
            out.append(px, 4);
        }
    }
    return out;
}

struct Description {
    UIStyle base = UIStyle::DeepBlue;
    QHash<QString, qint32> values;
    QList<QByteArray> pictureNames;
    QHash<QByteArray, QByteArray> pictures;
    QHash<QString, QString> names; // `let` values
};

QString substitute(const QString& line, const Description& d) {
    static const QRegularExpression name(QStringLiteral("\\$([A-Za-z_][A-Za-z0-9_]*)"));
    QString out;
    qsizetype from = 0;
    for (auto it = name.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        if (!d.names.contains(m.captured(1)))
            fail(QStringLiteral("unknown name $") + m.captured(1));
        out += line.mid(from, m.capturedStart() - from) + d.names.value(m.captured(1));
        from = m.capturedEnd();
    }
    return out + line.mid(from);
}

void readDescription(const QString& path, Description& d, int depth = 0) {
    if (depth > 8)
        fail(QStringLiteral("includes nest too deep at ") + path);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read ") + path);
    static const QHash<QString, UIStyle> bases = {
        {QStringLiteral("MacOS"), UIStyle::MacOS},
        {QStringLiteral("WinXP"), UIStyle::WinXP},
        {QStringLiteral("DeepBlue"), UIStyle::DeepBlue},
        {QStringLiteral("Protein"), UIStyle::Protein},
        {QStringLiteral("BlueGlass"), UIStyle::BlueGlass}};
    const QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    std::optional<QImage> picture;
    QPainter painter;
    QByteArray pictureName;
    QSize frame;
    int frames = 0;
    int lineNumber = 0;
    try {
        for (QString line : lines) {
            ++lineNumber;
            line = line.trimmed();
            if (line.startsWith(u'#') || line.isEmpty())
                continue;
            line = substitute(line, d);
            if (picture) {
                if (line == u"end") {
                    painter.end();
                    picture->setDotsPerMeterX(kDotsPerMeter);
                    picture->setDotsPerMeterY(kDotsPerMeter);
                    if (!d.pictures.contains(pictureName))
                        d.pictureNames << pictureName;
                    d.pictures.insert(pictureName, bitmap(*picture));
                    picture.reset();
                } else {
                    drawShape(painter, line, frame, frames);
                }
                continue;
            }
            if (line.startsWith(u"picture ")) {
                const QStringList w = line.split(u' ', Qt::SkipEmptyParts);
                const style::Property* p = w.size() == 4 ? style::find(w[1]) : nullptr;
                if (!p || p->kind != style::Kind::Image)
                    fail(QStringLiteral("`picture NAME WxH FRAMES` names a picture property"));
                const QStringList size = w[2].split(u'x');
                frames = int(number(w[3]));
                if (size.size() != 2 || frames < 1 || frames > 64)
                    fail(QStringLiteral("bad picture size or frame count"));
                frame = QSize(int(number(size[0])), int(number(size[1])));
                if (frame.isEmpty() || frame.width() > 512 || frame.height() > 512)
                    fail(QStringLiteral("bad picture size"));
                pictureName = p->name;
                picture.emplace(frame.width() * frames * kScale, frame.height() * kScale,
                                QImage::Format_ARGB32_Premultiplied);
                picture->fill(Qt::transparent);
                painter.begin(&*picture);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.scale(kScale, kScale);
                continue;
            }
            if (line.startsWith(u"let ")) {
                const QString key = line.mid(4).section(u'=', 0, 0).trimmed();
                d.names.insert(key, line.section(u'=', 1).trimmed());
                continue;
            }
            const QString key = line.section(u'=', 0, 0).trimmed();
            const QString value = line.section(u'=', 1).trimmed();
            if (key == u"include") {
                readDescription(QFileInfo(path).dir().filePath(value), d, depth + 1);
                continue;
            }
            if (key == u"base") {
                if (!bases.contains(value))
                    fail(QStringLiteral("unknown base style ") + value);
                d.base = bases.value(value);
                continue;
            }
            const style::Property* p = style::find(key);
            if (!p || p->kind == style::Kind::Image)
                fail(QStringLiteral("not a colour, integer or boolean: ") + key);
            bool ok = true;
            qint32 n = 0;
            if (p->kind == style::Kind::Colour) {
                // Written as the colour number: red in the low byte.
                const QColor c = colour(value);
                if (value.size() != 7)
                    fail(QStringLiteral("a colour property takes #RRGGBB: ") + value);
                n = qint32(c.red() | c.green() << 8 | c.blue() << 16);
            } else {
                n = value.toInt(&ok);
            }
            if (!ok)
                fail(QStringLiteral("bad value ") + value);
            d.values.insert(key, n);
        }
        if (picture)
            fail(QStringLiteral("a picture without its `end`"));
    } catch (const Failure& f) {
        if (painter.isActive())
            painter.end();
        fail(QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(f.message));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "theme_gen: usage: theme_gen OUTPUT DESCRIPTION\n");
        return 1;
    }
    Description d;
    try {
        readDescription(QString::fromLocal8Bit(argv[2]), d);
    } catch (const Failure& f) {
        std::fprintf(stderr, "theme_gen: %s\n", qPrintable(f.message));
        return 1;
    }

    QList<style::ThemeFile::Entry> entries;
    for (const style::Property& p : style::properties()) {
        if (p.kind == style::Kind::Image)
            continue;
        const QString name = QString::fromLatin1(p.name);
        const qint32 n = d.values.value(name, *style::value(d.base, name));
        if (p.kind == style::Kind::Boolean)
            entries.append({p.name, style::ThemeFile::Boolean, QByteArray(1, n ? '\1' : '\0')});
        else
            entries.append({p.name, style::ThemeFile::Integer, style::ThemeFile::integerData(n)});
    }
    for (const QByteArray& name : std::as_const(d.pictureNames))
        entries.append({name, style::ThemeFile::Picture, d.pictures.value(name)});
    if (!codegen::writeIfChanged(QString::fromLocal8Bit(argv[1]),
                                 style::ThemeFile::write(entries))) {
        std::fprintf(stderr, "theme_gen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
