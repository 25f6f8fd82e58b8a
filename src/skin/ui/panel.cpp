#include "skin/ui/panel.h"

#include "skin/ui/look.h"
#include "skin/ui/pictures.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The caption strip: the style's strip picture, or a plain fill where a role or the
// user gives it a background of its own.
class CaptionStrip : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        if (skin::role(this) != skin::Role::None)
            return; // filled by its own palette
        QPainter p(this);
        skin::pictures::captionStrip(p, QRectF(rect()), skin::lookFor(this));
    }
};

} // namespace

TskPanel::TskPanel(const QString& name, QWidget* parent, const QString& caption, bool captionStrip)
    : QFrame(parent) {
    setObjectName(name);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (captionStrip) {
        m_strip = new CaptionStrip(this);
        m_strip->setObjectName(name + QStringLiteral("_caption"));
        m_strip->setAutoFillBackground(true);
        m_strip->setFixedHeight(20);
        auto* row = new QHBoxLayout(m_strip);
        row->setContentsMargins(4, 0, 2, 0);
        row->setSpacing(2);
        m_label = new QLabel(caption, m_strip);
        row->addWidget(m_label);
        row->addStretch(1);
        m_strip->installEventFilter(this);
        m_label->installEventFilter(this);
        outer->addWidget(m_strip);
    }
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(0);
    outer->addLayout(m_body, 1);
}

QString TskPanel::caption() const {
    return m_label ? m_label->text() : QString();
}

void TskPanel::setCaption(const QString& caption) {
    if (m_label)
        m_label->setText(caption);
}

bool TskPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_strip || watched == m_label) && event->type() == QEvent::MouseButtonRelease)
        Q_EMIT captionClicked();
    return QFrame::eventFilter(watched, event);
}
