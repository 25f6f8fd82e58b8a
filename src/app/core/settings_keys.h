#pragma once
// Every key the main window keeps in the settings file, declared once: where it is
// spelled, its type and start-up default, what it holds, and the controls it applies
// to. Start-up reads the table in order; shutdown writes it in order.

#include <QString>
#include <QStringList>
#include <span>

namespace settings {

enum class Type { String, Integer, Boolean };

// What a key holds of its controls.
enum class Holds {
    FontName,   // font family; empty leaves the font, longer than 31 bytes is cut
    FontSize,   // points
    FontColor,  // colour number 0x00BBGGRR or 0x80000000 + system index
    Background, // colour number
    ItemIndex,  // list or combo selection, -1 none; set without running handlers
    TabIndex,   // tab control index; a change runs the tab handler
    Visible,
    CentrePane, // visible, switched by the centre's owner: the pattern or a favourite
    Enabled,
    Caption,
    Text,       // whole text of a pane, or the caption of a title panel
    Height,     // outer height of the main window
    Width,      // outer width of the main window
    Protection, // read-only state of the documents and the check of 保护文档
    Checked,    // check mark: menu item, skinned radio button or check box
    Pinned,     // side channel kept open
};

struct Key {
    const char* section; // spelled as the program writes it
    const char* name;
    Type type;
    qint32 fallback; // integer and boolean keys (string keys default to empty)
    Holds holds;
    QStringList targets; // objectNames; start-up applies the value to each, in order
    QString source;      // objectName shutdown reads the value from (empty: the first target)
    bool read = true;    // start-up applies it
    bool written = true; // shutdown writes it
};

// The window colour (system colour 5), the default background of panes and documents.
constexpr qint32 kWindowColour = qint32(0x80000005u);

// The main window's keys in the order shutdown writes them, which is also the order
// of a fresh file and the order start-up applies them.
std::span<const Key> mainWindowKeys();

// [guide] visible: whether the start-up notice opens at start-up. The notice reads and
// writes it itself, so it is not in the main window's table.
inline constexpr char kGuideSection[] = "guide";
inline constexpr char kGuideVisible[] = "visible";

// [temp] themefile: the theme file chosen through 界面 ▸ 主题文件…; the appearance
// commands read and write it.
inline constexpr char kThemeFileSection[] = "temp";
inline constexpr char kThemeFileKey[] = "themefile";

// A key outside the table: one window or operation reads or writes it while the
// program runs. Its owner spells it through a named constant; this list gathers them.
struct OtherKey {
    const char* section;
    const char* name; // for the favourites' sections, the slot numbers 1, 2, …
    const char* owner;
};
std::span<const OtherKey> otherKeys();

} // namespace settings
