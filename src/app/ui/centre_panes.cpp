#include "app/ui/centre_panes.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QWidget>

CentrePanes::CentrePanes(const CentrePaneWidgets& panes, QObject* parent)
    : QObject(parent), m(panes) {
    setObjectName(QStringLiteral("centrePanes"));
    m.favouritePanel->hide();
    m.favouriteTemplate->hide();
}

void CentrePanes::showPattern() {
    m.patternPanel->show();
    m.patternTemplate->show();
    m.favouritePanel->hide();
    m.favouriteTemplate->hide();
}

void CentrePanes::showFavourite() {
    m.favouritePanel->show();
    m.favouriteTemplate->show();
    m.patternPanel->hide();
    m.patternTemplate->hide();
}

bool CentrePanes::restoreShown(QObject* pane, bool shown) {
    QWidget* const panes[] = {m.patternPanel, m.patternTemplate, m.favouritePanel,
                              m.favouriteTemplate};
    for (QWidget* w : panes) {
        if (w == pane) {
            w->setVisible(shown);
            return true;
        }
    }
    return false;
}

bool CentrePanes::favouriteOnShow() const {
    return !m.favouriteTemplate->isHidden();
}

QPlainTextEdit* CentrePanes::templateOnShow() const {
    return favouriteOnShow() ? m.favouriteTemplate : m.patternTemplate;
}

void CentrePanes::onHover(const QList<QWidget*>& areas, const std::function<void()>& over,
                          Watch watch) {
    for (QWidget* w : areas) {
        if (watch == TrackMoves)
            w->setMouseTracking(true);
        if (!m_hover.contains(w))
            w->installEventFilter(this);
        m_hover[w].append(over);
    }
}

bool CentrePanes::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        // A copy: an action may change what is watched.
        const QList<std::function<void()>> actions = m_hover.value(watched);
        for (const auto& over : actions)
            over();
    }
    return QObject::eventFilter(watched, event);
}
