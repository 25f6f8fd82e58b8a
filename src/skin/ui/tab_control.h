#pragma once
// The kit's tab control: a tab strip over a page area.

#include <QWidget>

class QTabBar;

class TskTabControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int tabIndex READ tabIndex WRITE setTabIndex)
  public:
    TskTabControl(const QString& name, QWidget* parent);
    QTabBar* tabBar() const { return m_bar; }
    int tabIndex() const;
    // A new index runs the change handler (tabChanged); the same index does nothing.
    void setTabIndex(int index);
  Q_SIGNALS:
    void tabChanged(int index);

  private:
    QTabBar* m_bar;
};
