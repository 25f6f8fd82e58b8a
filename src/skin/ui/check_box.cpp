#include "skin/ui/check_box.h"

namespace skin {

namespace {
int g_designDepth = 0;
} // namespace

DesignScope::DesignScope() {
    ++g_designDepth;
}
DesignScope::~DesignScope() {
    --g_designDepth;
}
bool DesignScope::active() {
    return g_designDepth > 0;
}

} // namespace skin

TskCheckBox::TskCheckBox(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {
    setObjectName(name);
}

void TskCheckBox::setSkChecked(bool checked) {
    if (checked == isChecked())
        return;
    setChecked(checked);
    update();
    if (!skin::DesignScope::active())
        Q_EMIT onClick();
}

void TskCheckBox::nextCheckState() {
    setSkChecked(!isChecked());
}

TskRadioButton::TskRadioButton(const QString& name, const QString& caption, QWidget* parent,
                               int groupIndex)
    : QRadioButton(caption, parent), m_group(groupIndex) {
    setObjectName(name);
    setAutoExclusive(false); // siblings are cleared by the Checked rule itself
}

void TskRadioButton::setSkChecked(bool checked) {
    if (checked == isChecked())
        return;
    setChecked(checked);
    update();
    if (!checked)
        return;
    if (QWidget* parent = parentWidget()) {
        for (auto* other : parent->findChildren<TskRadioButton*>(Qt::FindDirectChildrenOnly)) {
            if (other != this && other->m_group == m_group && other->isChecked())
                other->setChecked(false);
        }
    }
    if (!skin::DesignScope::active())
        Q_EMIT onClick();
}

void TskRadioButton::nextCheckState() {
    if (!isChecked())
        setSkChecked(true);
}
