#pragma once
// The search dialog: a box, 查找 and 退出; it stays open and on top so the result shows
// in the main window beside it.

#include <QDialog>

class QLineEdit;
class QPushButton;
class TskMessageDialog;

class SearchDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SearchDialog(QWidget* parent);

    QLineEdit* searchBox;           // e1
    QPushButton* findButton;        // skButton1, 查找
    QPushButton* quitButton;        // skButton2, 退出
    TskMessageDialog* emptyMessage; // skMessageDialog1, empty input
    TskMessageDialog* missMessage;  // skMessageDialog2, no hit

  Q_SIGNALS:
    void searchRequested(const QString& text);

  protected:
    bool event(QEvent* e) override;
};
