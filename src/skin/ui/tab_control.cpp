#include "skin/ui/tab_control.h"

#include <QTabBar>

TskTabControl::TskTabControl(const QString& name, QWidget* parent)
    : QWidget(parent), m_bar(new QTabBar(this)) {
    setObjectName(name);
    m_bar->setObjectName(name + QStringLiteral("Tabs"));
    connect(m_bar, &QTabBar::currentChanged, this, &TskTabControl::tabChanged);
}

int TskTabControl::tabIndex() const {
    return m_bar->currentIndex();
}

void TskTabControl::setTabIndex(int index) {
    if (index >= 0 && index < m_bar->count())
        m_bar->setCurrentIndex(index);
}
