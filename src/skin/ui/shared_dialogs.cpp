#include "skin/ui/shared_dialogs.h"

#include "base/ui/modals.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QWidget>

namespace skin {

namespace {
struct Holder : QObject {
    using QObject::QObject;
    SharedDialogs dialogs;
};
} // namespace

SharedDialogs& SharedDialogs::of(QWidget* window) {
    auto* holder =
        window->findChild<Holder*>(QStringLiteral("skSharedDialogs"), Qt::FindDirectChildrenOnly);
    if (!holder) {
        holder = new Holder(window);
        holder->setObjectName(QStringLiteral("skSharedDialogs"));
    }
    return holder->dialogs;
}

SharedDialogs::SharedDialogs() {
    m_font.setFamily(QStringLiteral("Sans Serif"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPointSize(8);
}

std::optional<QFont> SharedDialogs::chooseFont(ModalRunner& modals, QWidget* parent) {
    QFontDialog dialog(m_font, parent);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (modals.exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    m_font = dialog.selectedFont();
    return m_font;
}

std::optional<QColor> SharedDialogs::chooseColour(ModalRunner& modals, QWidget* parent) {
    QColorDialog dialog(m_colour, parent);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (modals.exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    m_colour = dialog.selectedColor();
    return m_colour;
}

} // namespace skin
