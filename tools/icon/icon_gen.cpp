// icon-gen: the program's icon in the sizes a Linux desktop looks for, drawn by the
// same code as the window icon.
//
//   icon-gen <icons folder>
//
// Writes <folder>/hicolor/NxN/apps/lyrevane.png for each size; a file is rewritten only
// when its bytes change.

#include "app/ui/app_icon.h"
#include "common/codegen.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // the glyph needs the platform's fonts
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon-gen <icons folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!QDir().mkpath(dir) || !appIconImage(size).save(&buffer, "PNG") ||
            !codegen::writeIfChanged(dir + QStringLiteral("/lyrevane.png"), png)) {
            std::fprintf(stderr, "icon-gen: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
