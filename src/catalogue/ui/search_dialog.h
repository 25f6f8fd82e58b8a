#pragma once
// The search dialog: a box, 查找 and 退出; it stays open and on top so the result shows
// in the main window beside it.

#include <QDialog>

class QLineEdit;
class QPushButton;
class TskMessageDialog;

class TForm14 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm14(QWidget* parent);

    QLineEdit* e1;
    QPushButton* skButton1;             // 查找
    QPushButton* skButton2;             // 退出
    TskMessageDialog* skMessageDialog1; // empty input
    TskMessageDialog* skMessageDialog2; // no hit

  Q_SIGNALS:
    void searchRequested(const QString& text);

  protected:
    bool event(QEvent* e) override;
};
