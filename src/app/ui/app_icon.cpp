#include "app/ui/app_icon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

void paintAppIcon(QPainter& p, const QRect& square) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = square.width();
    const QRectF seal =
        QRectF(square).adjusted(side * 0.04, side * 0.04, -side * 0.04, -side * 0.04);
    QPainterPath outline;
    outline.addRoundedRect(seal, side * 0.12, side * 0.12);
    p.fillPath(outline, QColor(0xb0, 0x20, 0x20));
    // An inner border, as a carved seal has, once there is room for it.
    if (side >= 32) {
        QPen border(QColor(0xf4, 0xe4, 0xd0));
        border.setWidthF(side * 0.035);
        p.setPen(border);
        const qreal in = side * 0.1;
        p.drawRoundedRect(seal.adjusted(in, in, -in, -in), side * 0.06, side * 0.06);
    }
    QFont glyph;
    glyph.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("宋体")});
    glyph.setPixelSize(qMax(8, int(side * 0.62)));
    glyph.setBold(side < 32);
    p.setFont(glyph);
    p.setPen(Qt::white);
    p.drawText(seal, Qt::AlignCenter, QStringLiteral("词"));
    p.restore();
}

QImage appIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintAppIcon(p, QRect(0, 0, size, size));
    return image;
}
