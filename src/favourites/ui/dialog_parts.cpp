#include "favourites/ui/dialog_parts.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace favourites {

void frameDialog(QDialog* d, const QString& name, QSize client) {
    d->setObjectName(name);
    d->setWindowTitle(QStringLiteral("Lyrevane"));
    d->setFixedSize(client);
    d->setModal(true);
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
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(0, 128, 192));
        l->setPalette(p);
    }
    l->move(at);
    l->adjustSize();
    return l;
}

QPushButton* dialogButton(QWidget* parent, const QString& name, const QString& caption, QPoint at) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false); // Enter belongs to the fields
    b->setGeometry(QRect(at, QSize(80, 27)));
    return b;
}

} // namespace favourites
