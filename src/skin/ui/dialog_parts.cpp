#include "skin/ui/dialog_parts.h"

#include "skin/ui/look.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace skin {

void frameDialog(QDialog* d, const QString& name, QSize client, bool centred) {
    d->setObjectName(name);
    d->setWindowTitle(QStringLiteral("Lyrevane"));
    d->setFixedSize(client);
    d->setModal(true);
    if (!centred)
        return;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        d->move(screen->availableGeometry().center() - d->rect().center());
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
