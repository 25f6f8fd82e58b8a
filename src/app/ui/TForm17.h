#pragma once
// The splash window: the product name on dark blue, closed after two seconds or by a
// click.

#include <QDialog>

class TForm17 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm17(QWidget* parent = nullptr);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
