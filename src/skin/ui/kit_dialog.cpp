#include "skin/ui/kit_dialog.h"

#include "base/ui/modals.h"
#include "skin/ui/look.h"
#include "skin/ui/skin_style.h"
#include "skin/ui/theme_manager.h"
#include "skin/ui/title_bar.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

TskDialog::TskDialog(const QString& name, QObject* owner) : QObject(owner) {
    setObjectName(name);
}

QFont TskDialog::defaultCaptionFont() {
    QFont f(QStringLiteral("Tahoma"));
    f.setBold(true);
    return f;
}

QObject* TskDialog::fileThemeObject() const {
    return fileTheme.data();
}

void TskDialog::setFileThemeObject(QObject* o) {
    fileTheme = qobject_cast<TskFileTheme*>(o);
}

void TskDialog::useProgramFonts() {
    Font = QFont(QStringLiteral("宋体"));
    Font.setPixelSize(12);
    FontColour = skin::colourFromNumber(0x804000);
    CaptionFont = Font;
    CaptionFont.setBold(true);
    CaptionFontColour = FontColour;
}

TskForm* TskDialog::frame(QDialog& w) const {
    skin::SkinStyle::install();
    w.setObjectName(objectName());
    auto* form = new TskForm(QStringLiteral("skForm1"), &w, uiStyle);
    form->setFileTheme(fileTheme);
    form->setFramed(false, true);
    form->setCaption(Caption);
    form->titleBar()->setCaptionFont(CaptionFont, CaptionFontColour);
    w.setFont(Font);
    return form;
}

int TskDialog::run(QDialog& w, ModalRunner& runner, QWidget* parent) const {
    QRect area;
    if (position == OwnerCenter && parent)
        area = parent->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    if (area.isValid())
        w.move(area.center() - w.rect().center());
    w.setResult(QDialog::Rejected);
    return runner.exec(w);
}
