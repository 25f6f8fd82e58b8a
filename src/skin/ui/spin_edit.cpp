#include "skin/ui/spin_edit.h"

#include <algorithm>

TskSpinEdit::TskSpinEdit(const QString& name, int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), m_min(minimum), m_max(maximum) {
    setObjectName(name);
    setRange(0, 999); // what may be typed; the buttons keep to minimum … maximum
    setValue(minimum);
}

void TskSpinEdit::stepBy(int steps) {
    setValue(std::clamp(value() + steps, m_min, m_max));
}

void TskSpinEdit::focusOutEvent(QFocusEvent* event) {
    QSpinBox::focusOutEvent(event);
    if (value() < m_min || value() > m_max)
        setValue(std::clamp(value(), m_min, m_max));
}
