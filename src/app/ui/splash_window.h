#pragma once
// The splash window: the product name on dark blue, closed after two seconds or by a
// click.

#include <QDialog>

class Clock;

class TForm17 : public QDialog {
    Q_OBJECT
  public:
    // The two seconds run on `clock`.
    explicit TForm17(Clock& clock, QWidget* parent = nullptr);

  signals:
    // Its picture is on the screen (sent once, after the first paint).
    void shown();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool m_painted = false;
};
