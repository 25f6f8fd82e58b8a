#pragma once
// What a window looks like: the colours, numbers and pictures its style resolves to,
// the palette the frame gives the window, the roles controls ask for instead of
// colouring themselves, and the user's own colours, a layer no style change touches.

#include "skin/core/ui_style.h"

#include <QColor>
#include <QPalette>

class QWidget;

namespace style {
class ThemeFile;
}

namespace skin {

// The resolved style of one window.
struct Look {
    UIStyle style = UIStyle::MacOS; // a built-in style, or FromThemeFile with a theme
    const style::ThemeFile* theme = nullptr;

    QColor formBackground, formBorder, menuBar, menuBackground, menuFont, menuSelectedBorder,
        menuSelectedBackground, menuSelectedFont, controlBorder, controlBackground, controlFont,
        scrollBarBackground, toolButtonBorder, toolButtonBackground, toolButtonDown;
    int formBorderWidth = 1, roundCorner = 0, formMinWidth = 130;
    static constexpr int kMaxFormMinWidth = 640;
    int titleButtonLeftOffset = 0, titleButtonRightOffset = 0, titleButtonTop = 2;
    bool buttonTransparent = false, titleButtonTransparent = false;

    // The accent the pictures are tinted with (the menu selection colour).
    QColor accent() const { return menuSelectedBorder; }
    // The built-in style whose pictures a control draws (a theme draws like DeepBlue
    // where it carries no picture of its own).
    UIStyle pictureStyle() const;

    // `FromThemeFile` reads `theme` when it holds entries and falls back to DeepBlue
    // otherwise; a value the theme lacks is DeepBlue's.
    static Look make(UIStyle style, const style::ThemeFile* theme = nullptr);
    // The window's palette: the style's layer, which controls inherit unless they set
    // a role of their own.
    QPalette palette() const;
};

// The look drawn for `w`: that of the frame of its window (a pop-up menu counts as
// part of the window it opens from), or MacOS, the design style, for a window
// without a frame.
const Look& lookFor(const QWidget* w);
void registerLook(const QWidget* window, const Look* look);
void unregisterLook(const QWidget* window);

// Colours a control needs for a reason of its own, named by that reason; the frame
// reapplies them whenever the style changes, under the user's colours.
enum class Role {
    None,
    Notice,     // a warning shown in place of hidden content: red on light grey
    Heading,    // the heading of a dialog
    Emphasis,   // a figure the user looks for (the word count)
    PlainStrip, // a caption strip that reads like a field: white
    Link,       // a caption under the pointer
    Dimmed,     // a caption not under the pointer
    Warning,    // a heading that asks for attention: red
    NoticeText, // the text of a notice the program shows by itself: navy
    Title,      // the program's name where it presents itself: navy
    Edition,    // the edition under that name: dark green
    // Labels that open an address draw in Link, and in LinkVisited while the pointer is
    // over them (a label has no visited state of its own).
    WebLink,   // the home page: blue, red under the pointer
    ForumLink, // the forum: dark green, navy under the pointer
};
void setRole(QWidget* w, Role role);
Role role(const QWidget* w);

// The colour numbers of the settings file: 0x00BBGGRR, or 0x80000000 + a system
// colour index.
QColor colourFromNumber(qint32 number);
qint32 numberFromColour(const QColor& c);
// The user's font colour and background of a control, kept as colour numbers so that
// a system colour is written back as the system colour. They are laid over the role
// and the style, and survive any later style change.
void setFontColour(QWidget* w, qint32 number);
qint32 fontColour(const QWidget* w);
void setBackground(QWidget* w, qint32 number);
qint32 background(const QWidget* w);

// Builds `w`'s own palette again: its role's colours, then the user's.
void reapplyLayers(QWidget* w);

} // namespace skin
