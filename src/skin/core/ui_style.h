#pragma once
// The kit's UI styles and the built-in style property table.

#include <QString>
#include <optional>
#include <span>

enum class UIStyle {
    FromThemeFile = 0,
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,
    Protein = 4,
    BlueGlass = 5
};

namespace style {

enum class Kind { Image, Colour, Integer, Boolean };

// One style property: its number, its name (also its entry name in a theme file),
// its kind and its value in each built-in style. Images name the built-in picture by
// suffix (the style prefix MACOS, WINXP, ... goes before it).
struct Property {
    int number;
    const char* name;
    Kind kind;
    const char* pictureSuffix;                         // images only
    qint32 macOS, winXP, deepBlue, protein, blueGlass; // colours, integers, booleans
};

// All 42 properties, by number.
std::span<const Property> properties();
const Property* find(QStringView name);

// The style a control uses: FromThemeFile falls back to DeepBlue without a theme.
UIStyle resolve(UIStyle style, bool themeLoaded);

// The value of a colour, integer or boolean property in a built-in style.
std::optional<qint32> value(UIStyle builtIn, QStringView name);

// The built-in picture name of an image property ("MACOS_BUTTON", "MORE_SCROLLBUTTON").
QString pictureName(UIStyle builtIn, QStringView name);

} // namespace style
