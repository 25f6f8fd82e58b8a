// glyph-icons-gen: the tool bar's glyph buttons as PNG files and the resource list that
// compiles them in, drawn by the code the program would draw them with.
//
//   glyph-icons-gen <output folder>
//
// Writes <folder>/glyphs/XXXX.png (XXXX: the character's code) and
// <folder>/glyph_icons.qrc; a file is rewritten only when its bytes change.

#include "png_file.h"
#include "skin/ui/glyph_icons.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // the glyphs need the platform's fonts
    if (argc != 2) {
        std::fprintf(stderr, "usage: glyph-icons-gen <output folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(root + QStringLiteral("/glyphs"))) {
        std::fprintf(stderr, "glyph-icons-gen: cannot make %s/glyphs\n", argv[1]);
        return 1;
    }
    QByteArray qrc = "<RCC><qresource prefix=\"/\">\n";
    for (const skin::glyphs::Look& look : skin::glyphs::kButtons) {
        const QString file = skin::glyphs::resourceName(look).mid(2); // glyphs/XXXX.png
        if (!writePngIfChanged(root + QLatin1Char('/') + file, skin::glyphs::draw(look))) {
            std::fprintf(stderr, "glyph-icons-gen: cannot write %s\n", qPrintable(file));
            return 1;
        }
        qrc += "<file>" + file.toUtf8() + "</file>\n";
    }
    qrc += "</qresource></RCC>\n";
    if (!codegen::writeIfChanged(root + QStringLiteral("/glyph_icons.qrc"), qrc)) {
        std::fprintf(stderr, "glyph-icons-gen: cannot write the resource list\n");
        return 1;
    }
    return 0;
}
