// The compiled-in pictures of the glyph buttons (the build's glyph-icons-gen draws them).

#include "skin/ui/glyph_icons.h"

#include <cstring>

static void registerGlyphPictures() {
    // Static libraries drop a resource nobody refers to: this refers to it.
    Q_INIT_RESOURCE(glyph_icons);
}

namespace skin::glyphs {

QIcon icon(const char* glyph) {
    static const bool registered = (registerGlyphPictures(), true);
    Q_UNUSED(registered);
    for (const Look& look : kButtons)
        if (std::strcmp(look.glyph, glyph) == 0)
            return QIcon(resourceName(look));
    return {};
}

} // namespace skin::glyphs
