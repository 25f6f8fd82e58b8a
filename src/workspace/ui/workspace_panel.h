#pragma once
// The document area: the tab control with the five documents, and the lock notice
// behind it.

#include <QObject>

class QBoxLayout;
class QMenu;
class QPlainTextEdit;
class QStackedLayout;
class QTabBar;
class QTextEdit;
class QWidget;
class TskTabControl;

class WorkspacePanel : public QObject {
    Q_OBJECT
  public:
    WorkspacePanel(QBoxLayout* lowerRow, QMenu* popup);

    TskTabControl* documentTabs{}; // skTabControl1
    QList<QTextEdit*> documents;   // skm1 … skm5
    QPlainTextEdit* lockNotice{};  // Memo1, shown in place of the documents while locked

    // The shown document, or the first one.
    QTextEdit* visibleDocument() const;
    // After a close that stored everything: the layout steps Qt still has due for large
    // documents are dropped.
    void dropPendingLayout();

  private:
    void showDocument(int index);
};
