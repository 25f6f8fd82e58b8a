#pragma once
// The tool bar's round buttons: one character, white, in a rounded square of its
// colour. They are drawn when the program is built and compiled in, so that the
// start-up neither draws them nor opens the face they are drawn in.

#include <QIcon>
#include <QImage>
#include <QRgb>
#include <QString>

namespace skin::glyphs {

struct Look {
    const char* glyph; // one character, UTF-8
    QRgb colour;
};

inline constexpr Look kButtons[] = {
    {"示", 0xc05050}, {"存", 0x3070b0}, {"藏", 0xb08020}, {"查", 0x309060}, {"撤", 0x606060},
    {"剪", 0x606060}, {"复", 0x606060}, {"粘", 0x606060}, {"字", 0x8040a0}, {"邮", 0x208090},
    {"坛", 0x208090}, {"新", 0x208090}, {"律", 0xa03030},
};

// The button's picture as the build draws it: 32 by 32 pixels.
QImage draw(const Look& look);
// Where its picture is compiled in.
QString resourceName(const Look& look);
// The compiled-in picture of the button showing `glyph` (one of kButtons).
QIcon icon(const char* glyph);

} // namespace skin::glyphs
