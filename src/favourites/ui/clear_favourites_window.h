#pragma once
// The question before the whole collection is cleared; the focus starts on 取消.

#include <QDialog>

class QPushButton;

class ClearFavouritesWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ClearFavouritesWindow(QWidget* parent);

    QPushButton* okButton;     // skButton1, 确定
    QPushButton* cancelButton; // skButton2, 取消
};
