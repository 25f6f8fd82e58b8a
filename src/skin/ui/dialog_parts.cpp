#include "skin/ui/dialog_parts.h"

#include "skin/ui/look.h"
#include "skin/ui/theme_manager.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace skin {

TskForm* frameDialog(QDialog* d, const QString& name, QSize client, bool centred) {
    d->setObjectName(name);
    d->setWindowTitle(QStringLiteral("Lyrevane"));
    d->setFixedSize(client);
    // The kit's frame, as the program's other dialogs wear it: a title bar over the
    // empty top of the design, in the style of the window the dialog opens from.
    auto* frame = new TskForm(QStringLiteral("skForm1"), d);
    frame->setFramed(false, true);
    frame->setCaption(QStringLiteral("Lyrevane"));
    frame->followOwner(d->parentWidget());
    d->setModal(true);
    if (centred) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            d->move(screen->availableGeometry().center() - d->rect().center());
    }
    return frame;
}

QLabel* dialogLabel(QWidget* parent, const QString& text, QPoint at, bool heading) {
    auto* l = new QLabel(text, parent);
    if (heading) {
        QFont f = l->font();
        f.setPixelSize(16);
        f.setBold(true);
        f.setItalic(true);
        l->setFont(f);
        setRole(l, Role::Heading);
    }
    l->move(at);
    l->adjustSize();
    return l;
}

QPushButton* dialogButton(QWidget* parent, const QString& name, const QString& caption, QPoint at) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setGeometry(QRect(at, QSize(80, 27)));
    return b;
}

} // namespace skin
