#pragma once
// The question before the whole collection is cleared; the focus starts on 取消.

#include <QDialog>

class QPushButton;

class TForm10 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm10(QWidget* parent);

    QPushButton* skButton1; // 确定
    QPushButton* skButton2; // 取消
};
