#include "library/ui/library_menus.h"

#include "library/core/anthology.h"
#include "library/ui/TAnthologyForm.h"
#include "library/ui/TReferenceForm.h"
#include "library/ui/Tquhao.h"

#include <QAction>
#include <QEvent>
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
    m_latestActive.append(form);
    form->installEventFilter(this);
    // Centred on the screen; the text box takes the focus, so that the list does not
    // pick its first item by itself.
    const QRect screen = m_window->screen()->availableGeometry();
    form->move(screen.center() - QPoint(form->width() / 2, form->height() / 2));
    if (auto* text = form->findChild<QPlainTextEdit*>(QStringLiteral("Memo1")))
        text->setFocus();
    form->show();
}

bool LibraryMenus::eventFilter(QObject* watched, QEvent* event) {
    auto* form = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::WindowActivate:
        m_latestActive.removeOne(form);
        m_latestActive.append(form);
        break;
    case QEvent::Close:
        // Closing only hides the window (its own handler does that, after this).
        m_closingActive = form->isActiveWindow() ? form : nullptr;
        break;
    case QEvent::Hide:
        // Left to itself, the system gives the activation to the main window, the
        // reading windows' owner, which then comes up over the other open ones. The
        // reading window active before the closed one takes it instead, in its place.
        if (form == m_closingActive) {
            m_closingActive = nullptr;
            activateLatestShown();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LibraryMenus::activateLatestShown() {
    for (auto it = m_latestActive.crbegin(); it != m_latestActive.crend(); ++it) {
        QWidget* form = *it;
        if (form->isVisible() && !form->isMinimized()) {
            form->raise();
            form->activateWindow();
            return;
        }
    }
}
