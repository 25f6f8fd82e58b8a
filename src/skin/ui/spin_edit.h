#pragma once
// The kit's numeric spinner: the spin buttons step within its range, while a number
// typed outside it stands until the spinner loses the focus.

#include <QSpinBox>

class TskSpinEdit : public QSpinBox {
    Q_OBJECT
  public:
    TskSpinEdit(const QString& name, int minimum, int maximum, QWidget* parent);
    int minimumValue() const { return m_min; }
    int maximumValue() const { return m_max; }
    void stepBy(int steps) override;

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int m_min, m_max;
};
