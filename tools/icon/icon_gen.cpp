// icon-gen: the program's icon in the sizes a Linux desktop looks for, drawn by the
// same code as the window icon.
//
//   icon-gen <icons folder> <window icon resource list>
//
// Writes <folder>/hicolor/NxN/apps/lyrevane.png for each size, and the resource list
// that compiles the window icon's sizes (kWindowIconSizes) into the program as
// ":/lyrevane-N.png"; a file is rewritten only when its bytes change.

#include "app/ui/app_icon.h"
#include "png_file.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // the glyph needs the platform's fonts
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon-gen <icons folder> <window icon resource list>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const auto fileOf = [&root](int size) {
        return QStringLiteral("%1/hicolor/%2x%2/apps/lyrevane.png").arg(root).arg(size);
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!QDir().mkpath(QFileInfo(fileOf(size)).path()) ||
            !writePngIfChanged(fileOf(size), appIconImage(size))) {
            std::fprintf(stderr, "icon-gen: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    QByteArray qrc = "<RCC><qresource prefix=\"/\">\n";
    for (int size : kWindowIconSizes)
        qrc += QStringLiteral("<file alias=\"lyrevane-%1.png\">%2</file>\n")
                   .arg(size)
                   .arg(fileOf(size))
                   .toUtf8();
    qrc += "</qresource></RCC>\n";
    if (!codegen::writeIfChanged(QString::fromLocal8Bit(argv[2]), qrc)) {
        std::fprintf(stderr, "icon-gen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
