#include "skin/ui/look.h"

#include "skin/core/theme_file.h"

#include <QHash>
#include <QWidget>

namespace skin {

namespace {

const char* kFontColour = "lyrevaneFontColour";
const char* kBackground = "lyrevaneBackground";
const char* kRole = "lyrevaneRole";

QHash<const QWidget*, const Look*>& registry() {
    static QHash<const QWidget*, const Look*> looks;
    return looks;
}

} // namespace

UIStyle Look::pictureStyle() const {
    return style == UIStyle::FromThemeFile ? UIStyle::DeepBlue : style;
}

Look Look::make(UIStyle requested, const style::ThemeFile* theme) {
    Look l;
    const bool themed = requested == UIStyle::FromThemeFile && theme && !theme->isEmpty();
    l.style = themed ? UIStyle::FromThemeFile : style::resolve(requested, false);
    l.theme = themed ? theme : nullptr;
    auto number = [&](const char* name) -> qint32 {
        if (themed) {
            const qint32 v = theme->integer(QString::fromLatin1(name));
            if (v != -1)
                return v;
        }
        return *style::value(themed ? UIStyle::DeepBlue : l.style, QString::fromLatin1(name));
    };
    auto flag = [&](const char* name) -> bool {
        if (themed && theme->contains(QString::fromLatin1(name)))
            return theme->boolean(QString::fromLatin1(name));
        return *style::value(themed ? UIStyle::DeepBlue : l.style, QString::fromLatin1(name)) != 0;
    };
    auto colour = [&](const char* name) { return colourFromNumber(number(name) & 0xFFFFFF); };
    l.formBackground = colour("FormBackgroundColor");
    l.formBorder = colour("FormBorderColor");
    l.menuBar = colour("MenuBarColor");
    l.menuBackground = colour("MenuBackgroundColor");
    l.menuFont = colour("MenuFontColor");
    l.menuSelectedBorder = colour("MenuSelectedBorderColor");
    l.menuSelectedBackground = colour("MenuSelectedBackgroundColor");
    l.menuSelectedFont = colour("MenuSelectedFontColor");
    l.controlBorder = colour("ControlBorderColor");
    l.controlBackground = colour("ControlBackgroundColor");
    l.controlFont = colour("ControlFontColor");
    l.scrollBarBackground = colour("ScrollBarBackgroundColor");
    l.toolButtonBorder = colour("ToolBarButtonBorderColor");
    l.toolButtonBackground = colour("ToolBarButtonBackgroundColor");
    l.toolButtonDown = colour("ToolBarButtonDownBackgroundColor");
    l.formBorderWidth = std::clamp(number("FormBorderWidthInt"), 0, 8);
    l.roundCorner = std::clamp(number("FormRoundCornerInt"), 0, 20);
    // A theme's narrowest window stays well within a small screen (the built-in styles
    // ask for at most 270).
    l.formMinWidth = std::clamp(number("FormMinWidthInt"), 0, kMaxFormMinWidth);
    l.titleButtonLeftOffset = std::clamp(number("TitleBarButtonLeftOffsetInt"), -20, 20);
    // Moved right by no more than the border, so that the close button stays inside.
    l.titleButtonRightOffset = std::clamp(number("TitleBarButtonRightOffsetInt"), -20, 4);
    l.titleButtonTop = std::clamp(number("TitleBarButtonTopInt"), 0, 20);
    l.buttonTransparent = flag("ButtonTransparentBool");
    l.titleButtonTransparent = flag("TitleBarButtonTransparentBool");
    if (l.style == UIStyle::MacOS) {
        // MacOS draws its menu bar and menus from pictures; the table's black there
        // only says so. The pictures are light, so the menus are too.
        l.menuBar = QColor(0xEC, 0xEC, 0xEC);
        l.menuBackground = QColor(0xFA, 0xFA, 0xFA);
    }
    return l;
}

QPalette Look::palette() const {
    QPalette p;
    p.setColor(QPalette::Window, formBackground);
    p.setColor(QPalette::WindowText, controlFont);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, formBackground.lighter(104));
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Button, controlBackground);
    p.setColor(QPalette::ButtonText, controlFont);
    p.setColor(QPalette::Highlight, menuSelectedBackground);
    p.setColor(QPalette::HighlightedText, menuSelectedFont);
    p.setColor(QPalette::Mid, controlBorder);
    p.setColor(QPalette::Dark, controlBorder.darker(120));
    p.setColor(QPalette::Shadow, controlBorder.darker(150));
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Midlight, controlBackground.lighter(106));
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x8C, 0x8C, 0x8C));
    return p;
}

const Look& lookFor(const QWidget* w) {
    static const Look design = Look::make(UIStyle::MacOS);
    const auto& looks = registry();
    for (const QWidget* at = w; at; at = at->parentWidget()) {
        if (!at->isWindow())
            continue;
        if (const Look* l = looks.value(at))
            return *l;
        // A pop-up (menu, combo list) is drawn like the window it opens from.
        if (!(at->windowType() == Qt::Popup || at->windowType() == Qt::ToolTip))
            break;
    }
    return design;
}

void registerLook(const QWidget* window, const Look* look) {
    registry().insert(window, look);
}

void unregisterLook(const QWidget* window) {
    registry().remove(window);
}

void setRole(QWidget* w, Role r) {
    w->setProperty(kRole, int(r));
    reapplyLayers(w);
}

Role role(const QWidget* w) {
    return Role(w->property(kRole).toInt());
}

QColor colourFromNumber(qint32 number) {
    auto n = static_cast<quint32>(number);
    if (n & 0x80000000u) {
        // The system colours the program uses; others fall back to the window text.
        QPalette p;
        switch (n & 0xFF) {
        case 5:
            return p.color(QPalette::Base); // window background
        case 8:
            return p.color(QPalette::Text); // window text
        case 15:
            return p.color(QPalette::Button); // button face
        case 13:
            return p.color(QPalette::Highlight);
        case 14:
            return p.color(QPalette::HighlightedText);
        default:
            return p.color(QPalette::WindowText);
        }
    }
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

qint32 numberFromColour(const QColor& c) {
    return qint32(quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16);
}

void reapplyLayers(QWidget* w) {
    // Only the roles set here are the widget's own; everything else comes from the
    // window's palette, so a style change reaches it.
    QPalette p;
    p.setResolveMask(0);
    // Text colours of roles and of the user dress the enabled control only: a disabled
    // one keeps the window's disabled text, which is how the program marks, say, the view
    // on show. Backgrounds apply in every state.
    auto set = [&p](QPalette::ColorRole r, const QColor& c) {
        const bool text =
            r == QPalette::Text || r == QPalette::WindowText || r == QPalette::ButtonText;
        if (!text) {
            p.setColor(r, c);
            return;
        }
        p.setColor(QPalette::Active, r, c);
        p.setColor(QPalette::Inactive, r, c);
    };
    const QColor red(0xFF, 0, 0), grey(0xF3, 0xF3, 0xF3), navy(0, 0, 0x80);
    switch (role(w)) {
    case Role::None:
        break;
    case Role::Notice:
        set(QPalette::Text, red);
        set(QPalette::Base, grey);
        break;
    case Role::Heading:
        set(QPalette::WindowText, QColor(0, 128, 192));
        break;
    case Role::Emphasis:
        set(QPalette::WindowText, QColor(0, 0, 255));
        break;
    case Role::PlainStrip:
        set(QPalette::Window, Qt::white);
        break;
    case Role::Link:
        set(QPalette::ButtonText, QColor(0, 0, 255));
        break;
    case Role::Dimmed:
        set(QPalette::ButtonText, QColor(87, 87, 87));
        break;
    case Role::Warning:
        set(QPalette::WindowText, red);
        break;
    case Role::NoticeText:
        set(QPalette::Text, navy);
        break;
    case Role::Title:
        set(QPalette::WindowText, navy);
        break;
    case Role::Edition:
        set(QPalette::WindowText, QColor(0, 0x64, 0));
        break;
    case Role::WebLink:
        set(QPalette::Link, QColor(0, 0, 0xFF));
        set(QPalette::LinkVisited, red);
        break;
    case Role::ForumLink:
        set(QPalette::Link, QColor(0, 0x80, 0));
        set(QPalette::LinkVisited, navy);
        break;
    }
    const QVariant font = w->property(kFontColour), back = w->property(kBackground);
    if (font.isValid()) {
        const QColor c = colourFromNumber(font.toInt());
        set(QPalette::Text, c);
        set(QPalette::WindowText, c);
    }
    if (back.isValid())
        set(QPalette::Base, colourFromNumber(back.toInt()));
    w->setPalette(p);
}

void setFontColour(QWidget* w, qint32 number) {
    w->setProperty(kFontColour, number);
    reapplyLayers(w);
}

qint32 fontColour(const QWidget* w) {
    QVariant v = w->property(kFontColour);
    return v.isValid() ? v.toInt() : 0;
}

void setBackground(QWidget* w, qint32 number) {
    w->setProperty(kBackground, number);
    reapplyLayers(w);
}

qint32 background(const QWidget* w) {
    QVariant v = w->property(kBackground);
    return v.isValid() ? v.toInt() : qint32(0x80000005u);
}

} // namespace skin
