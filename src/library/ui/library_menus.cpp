#include "library/ui/library_menus.h"

#include "library/core/anthology.h"
#include "library/ui/TAnthologyForm.h"
#include "library/ui/TReferenceForm.h"
#include "library/ui/Tquhao.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>

LibraryMenus::LibraryMenus(const LibraryMenuActions& actions, DataRoot root, ModalRunner& modals,
                           QWidget* window)
    : QObject(window), m_root(std::move(root)), m_modals(modals), m_window(window) {
    setObjectName(QStringLiteral("libraryMenus"));
    const QList<Anthology>& all = anthologies();
    for (int i = 0; i < all.size(); ++i) {
        const Anthology& a = all[i];
        QAction* item = actions.anthologyMenu->addAction(a.menuCaption);
        item->setObjectName(QStringLiteral("enjoy_") + a.key);
        if (a.menuHint)
            item->setStatusTip(a.menuCaption);
        connect(item, &QAction::triggered, this, [this, i] {
            show(new TAnthologyForm(anthologies()[i], m_root, m_modals, m_window));
        });
        m_items.append(item);
        if (anthologySeparatorsAfter().contains(i + 1))
            actions.anthologyMenu->addSeparator();
    }
    connect(actions.shilv, &QAction::triggered, this,
            [this] { show(TReferenceForm::shilv(m_root, m_modals, m_window)); });
    connect(actions.tools, &QAction::triggered, this,
            [this] { show(TReferenceForm::tools(m_root, m_modals, m_window)); });
    connect(actions.areaCodes, &QAction::triggered, this,
            [this] { show(new AreaCodesWindow(m_window)); });
    connect(actions.postalCodes, &QAction::triggered, this,
            [this] { show(new PostalCodesWindow(m_window)); });
}

void LibraryMenus::show(QWidget* form) {
    m_windows.append(form);
    // Centred on the screen; the text box takes the focus, so that the list does not
    // pick its first item by itself.
    const QRect screen = m_window->screen()->availableGeometry();
    form->move(screen.center() - QPoint(form->width() / 2, form->height() / 2));
    if (auto* text = form->findChild<QPlainTextEdit*>(QStringLiteral("Memo1")))
        text->setFocus();
    form->show();
}
