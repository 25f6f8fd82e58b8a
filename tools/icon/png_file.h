#pragma once
// What both icon generators do with a drawn picture: encode it as PNG and write it,
// only when its bytes changed.

#include "common/codegen.h"

#include <QBuffer>
#include <QImage>

inline bool writePngIfChanged(const QString& path, const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && codegen::writeIfChanged(path, png);
}
