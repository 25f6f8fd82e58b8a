#pragma once
// The standard edit commands: undo, cut, copy, paste and select all on the text control
// that has the focus (編輯 menu and the documents' pop-up menu), and on the shown
// document (the tool bar). Each is offered only when it applies.

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QTextEdit;
class QToolButton;
class QWidget;

struct EditTargets {
    QList<QAction*> undo, cut, copy, paste, selectAll; // menu items acting on the focus
    QList<QMenu*> menus;                               // refreshed as they open
    QToolButton *undoButton, *cutButton, *copyButton, *pasteButton;
    std::function<QTextEdit*()> shownDocument;
};

class EditCommands : public QObject {
    Q_OBJECT
  public:
    EditCommands(const EditTargets& targets, QObject* parent);
    // Enables each item by what the focused control allows now.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    EditTargets t;
};
