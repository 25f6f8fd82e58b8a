#pragma once
// The 赏析 menu's 25 anthology items and the 附录 menu's reference and code windows:
// each choice opens a new modeless window that closing only hides.

#include "base/core/data_root.h"

#include <QList>
#include <QObject>

class ModalRunner;
class QAction;
class QMenu;
class QWidget;

struct LibraryMenuActions {
    QMenu* anthologyMenu;
    QAction *shilv, *areaCodes, *postalCodes, *tools; // N21, N22, N23, N24
};

class LibraryMenus : public QObject {
    Q_OBJECT
  public:
    // Adds the anthology items to the 赏析 menu and connects every item.
    LibraryMenus(const LibraryMenuActions& actions, DataRoot root, ModalRunner& modals,
                 QWidget* window);

    const QList<QAction*>& anthologyItems() const { return m_items; }
    // The windows opened so far, oldest first.
    const QList<QWidget*>& openedWindows() const { return m_windows; }

  protected:
    // Keeps the order in which the reading windows were last active, and hands the
    // activation on when the active one is closed.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void show(QWidget* form);
    // The most recently active reading window still shown, raised and activated; none
    // when every other one is closed.
    void activateLatestShown();

    DataRoot m_root;
    ModalRunner& m_modals;
    QWidget* m_window;
    QList<QAction*> m_items;
    QList<QWidget*> m_windows;
    QList<QWidget*> m_latestActive; // the reading windows, the most recently active last
    QWidget* m_closingActive = nullptr;
};
