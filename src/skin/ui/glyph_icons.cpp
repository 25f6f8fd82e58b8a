#include "skin/ui/glyph_icons.h"

#include <QFont>
#include <QPainter>

namespace skin::glyphs {

QImage draw(const Look& look) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour(look.colour);
    p.setBrush(colour);
    p.setPen(colour.darker(140));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(20);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 31), Qt::AlignCenter, QString::fromUtf8(look.glyph));
    return image;
}

QString resourceName(const Look& look) {
    return QStringLiteral(":/glyphs/%1.png")
        .arg(QString::fromUtf8(look.glyph).at(0).unicode(), 4, 16, QLatin1Char('0'));
}

} // namespace skin::glyphs
