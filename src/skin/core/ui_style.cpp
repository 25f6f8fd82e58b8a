#include "skin/core/ui_style.h"

#include <array>

namespace style {

namespace {

using K = Kind;
constexpr std::array<Property, 42> kProperties{{
    {1, "ButtonImage", K::Image, "_BUTTON", 0, 0, 0, 0, 0},
    {2, "ButtonTransparentBool", K::Boolean, nullptr, 1, 0, 0, 0, 1},
    {3, "CheckBoxImage", K::Image, "_CHECKBOX", 0, 0, 0, 0, 0},
    {4, "RadioButtonImage", K::Image, "_RADIOBUTTON", 0, 0, 0, 0, 0},
    {5, "TitleBarButtonImage", K::Image, "_TITLEBTN", 0, 0, 0, 0, 0},
    {6, "TitleBarButtonTransparentBool", K::Boolean, nullptr, 0, 0, 0, 1, 1},
    {7, "TitleBarButtonLeftOffsetInt", K::Integer, nullptr, 3, 2, 0, 0, 4},
    {8, "TitleBarButtonRightOffsetInt", K::Integer, nullptr, -2, -2, 0, 0, -3},
    {9, "TitleBarButtonTopInt", K::Integer, nullptr, 4, 5, 2, 2, 6},
    {10, "TitleBarLeftImage", K::Image, "_TITLE_LEFT", 0, 0, 0, 0, 0},
    {11, "TitleBarClientImage", K::Image, "_TITLE_CLIENT", 0, 0, 0, 0, 0},
    {12, "TitleBarRightImage", K::Image, "_TITLE_RIGHT", 0, 0, 0, 0, 0},
    {13, "FormMinWidthInt", K::Integer, nullptr, 130, 150, 130, 130, 270},
    {14, "FormRoundCornerInt", K::Integer, nullptr, 0, 13, 0, 0, 11},
    {15, "FormBackgroundColor", K::Colour, nullptr, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB,
     0xE7E7E7},
    {16, "FormBorderColor", K::Colour, nullptr, 0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000},
    {17, "FormBorderWidthInt", K::Integer, nullptr, 1, 3, 1, 1, 1},
    {18, "MenuSelectedBorderColor", K::Colour, nullptr, 0xC47339, 0xC66931, 0xA04A44, 0xC4302D,
     0xEC5E5E},
    {19, "MenuSelectedBackgroundColor", K::Colour, nullptr, 0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D,
     0xEC5E5E},
    {20, "MenuSelectedFontColor", K::Colour, nullptr, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF,
     0xFFFFFF},
    {21, "MenuBackgroundColor", K::Colour, nullptr, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
     0xE7E7E7},
    {22, "MenuFontColor", K::Colour, nullptr, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000},
    {23, "MenuBarColor", K::Colour, nullptr, 0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6},
    {24, "ProgressBarImage", K::Image, "_PROGRESSBAR", 0, 0, 0, 0, 0},
    {25, "ControlBorderColor", K::Colour, nullptr, 0x7F7F7F, 0x686868, 0x000000, 0x000000,
     0x000000},
    {26, "ControlBackgroundColor", K::Colour, nullptr, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB,
     0xE7E7E7},
    {27, "ControlFontColor", K::Colour, nullptr, 0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000},
    {28, "TrackBarBarImage", K::Image, "_TRACKBAR_BAR", 0, 0, 0, 0, 0},
    {29, "TrackBarSliderImage", K::Image, "_TRACKBAR_SLIDER", 0, 0, 0, 0, 0},
    {30, "TrackBarSliderVImage", K::Image, "_TRACKBAR_SLIDER_V", 0, 0, 0, 0, 0},
    {31, "ScrollBarBackgroundColor", K::Colour, nullptr, 0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5,
     0xF4F4F4},
    {32, "ScrollBarButtonImage", K::Image, "_SCROLLBAR_BUTTON", 0, 0, 0, 0, 0},
    {33, "ScrollBarSliderImage", K::Image, "_SCROLLBAR_TRACK", 0, 0, 0, 0, 0},
    {34, "CheckListBoxImage", K::Image, "_CHECKLIST", 0, 0, 0, 0, 0},
    {35, "ToolBarButtonBorderColor", K::Colour, nullptr, 0x474747, 0xC66931, 0x474747, 0x474747,
     0x474747},
    {36, "ToolBarButtonBackgroundColor", K::Colour, nullptr, 0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF,
     0xEFEFEF},
    {37, "ToolBarButtonDownBackgroundColor", K::Colour, nullptr, 0xD8D8D8, 0xE1AC93, 0xD8D8D8,
     0xD8D8D8, 0xD8D8D8},
    {38, "ScrollButtonImage", K::Image, "_SCROLLBUTTON", 0, 0, 0, 0, 0},
    {39, "TabControlTabImage", K::Image, "_TAB", 0, 0, 0, 0, 0},
    {40, "TabControlBarImage", K::Image, "_TAB_LINE", 0, 0, 0, 0, 0},
    {41, "SideChannelHandleImage", K::Image, "_SIDECHANNEL_HANDLE", 0, 0, 0, 0, 0},
    {42, "SideChannelBarImage", K::Image, "_SIDECHANNEL_BAR", 0, 0, 0, 0, 0},
}};

const char* prefix(UIStyle s) {
    switch (s) {
    case UIStyle::MacOS:
        return "MACOS";
    case UIStyle::WinXP:
        return "WINXP";
    case UIStyle::Protein:
        return "PROTEIN";
    case UIStyle::BlueGlass:
        return "BLUEGLASS";
    default:
        return "DEEPBLUE";
    }
}

} // namespace

std::span<const Property> properties() {
    return kProperties;
}

const Property* find(QStringView name) {
    for (const auto& p : kProperties) {
        if (name == QLatin1String(p.name))
            return &p;
    }
    return nullptr;
}

UIStyle resolve(UIStyle s, bool themeLoaded) {
    if (s == UIStyle::FromThemeFile && !themeLoaded)
        return UIStyle::DeepBlue;
    return s;
}

std::optional<qint32> value(UIStyle builtIn, QStringView name) {
    const Property* p = find(name);
    if (!p || p->kind == Kind::Image)
        return std::nullopt;
    switch (resolve(builtIn, false)) {
    case UIStyle::MacOS:
        return p->macOS;
    case UIStyle::WinXP:
        return p->winXP;
    case UIStyle::Protein:
        return p->protein;
    case UIStyle::BlueGlass:
        return p->blueGlass;
    default:
        return p->deepBlue;
    }
}

QString pictureName(UIStyle builtIn, QStringView name) {
    const Property* p = find(name);
    if (!p || p->kind != Kind::Image)
        return {};
    UIStyle s = resolve(builtIn, false);
    if (p->number == 38 && s != UIStyle::MacOS && s != UIStyle::WinXP)
        return QStringLiteral("MORE_SCROLLBUTTON");
    return QLatin1String(prefix(s)) + QLatin1String(p->pictureSuffix);
}

} // namespace style
