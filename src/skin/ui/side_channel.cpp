#include "skin/ui/side_channel.h"

#include "base/core/clock.h"
#include "skin/ui/look.h"
#include "skin/ui/pictures.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace {

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

} // namespace

class PinButton : public QToolButton {
  public:
    explicit PinButton(QWidget* parent) : QToolButton(parent) {
        setCheckable(true);
        setAutoRaise(true);
        setFixedSize(20, 16);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("固定"));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (underMouse())
            p.fillRect(rect(), QColor(255, 255, 255, 90));
        skin::pictures::pin(p, QRectF(rect()), skin::lookFor(this), isChecked());
    }
};

TskSideChannel::TskSideChannel(const QString& name, QWidget* parent, Clock* clock)
    : QFrame(parent), m_clock(clock ? clock : &systemClock()), m_pin(new PinButton(this)) {
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    placeContents();
    cursorPos = [] { return QCursor::pos(); };
    applicationActive = [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; };
    connect(m_pin, &QToolButton::clicked, this, &TskSideChannel::pinClicked);
    // Created collapsed, at once.
    setCurrentWidth(kBarWidth);
    m_pin->hide();
}

QToolButton* TskSideChannel::pinButton() const {
    return m_pin;
}

void TskSideChannel::setAlign(Align a) {
    m_align = a;
    update();
}

void TskSideChannel::setOpenWidth(int width) {
    m_openWidth = width;
    if (m_open && !m_busy) {
        holdWidth();
        setCurrentWidth(width);
    }
    placePin();
}

void TskSideChannel::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void TskSideChannel::setCaptionAlignment(Qt::Alignment a) {
    m_captionAlignment = a;
    update();
}

void TskSideChannel::setCurrentWidth(int width) {
    m_width = width;
    updateGeometry();
    resize(width, height()); // at once, not at the layout's next pass
}

void TskSideChannel::holdWidth() {
    // Open and still: no narrower than 50 pixels (or the open width, when that is set
    // narrower by the program), whoever sets the geometry. Sliding and collapsed: free,
    // so that the steps and the bar's 10 pixels can pass.
    const bool hold = m_open && !m_busy;
    setMinimumWidth(hold ? std::min(kNarrowestOpen, m_openWidth) : 0);
}

QSize TskSideChannel::sizeHint() const {
    return {m_width, QFrame::sizeHint().height()};
}

QSize TskSideChannel::minimumSizeHint() const {
    return {std::min(m_width, minimumWidth()), QFrame::minimumSizeHint().height()};
}

void TskSideChannel::placeContents() {
    // Children lie right of the bar and its gap, under the top strip.
    const QMargins margins(13, barPictureHeight() + 3, 3, 3);
    if (contentsMargins() != margins)
        setContentsMargins(margins);
}

void TskSideChannel::placePin() {
    m_pin->move(m_openWidth - 21, (barPictureHeight() - m_pin->height()) / 2);
}

void TskSideChannel::open(bool quick) {
    if (m_busy)
        return;
    m_busy = true;
    holdWidth();
    placePin();
    m_pin->setVisible(m_showButton);
    // A hidden channel has nothing to show between the steps.
    if (!quick && isVisible()) {
        while (m_width + kStep < m_openWidth) {
            setCurrentWidth(m_width + kStep);
            repaint();
            QCoreApplication::processEvents();
        }
    }
    setCurrentWidth(m_openWidth);
    repaint();
    if (!m_pin->isChecked()) {
        if (!m_timer)
            m_timer = m_clock->startTimer(1000, true, this, [this] { tick(); });
    }
    m_busy = false;
    m_open = true;
    holdWidth();
    update();
    Q_EMIT OnPop();
}

void TskSideChannel::collapse(bool quick) {
    if (m_busy)
        return;
    m_busy = true;
    m_open = false;
    holdWidth();
    if (m_timer) {
        m_timer->stop();
        m_timer->deleteLater();
        m_timer = nullptr;
    }
    if (!quick && isVisible()) {
        while (m_width - kStep > kBarWidth) {
            setCurrentWidth(m_width - kStep);
            repaint();
            QCoreApplication::processEvents();
        }
    }
    setCurrentWidth(kBarWidth);
    repaint();
    m_pin->hide();
    m_busy = false;
    update();
    Q_EMIT OnPush();
}

void TskSideChannel::setStayOn(bool on) {
    if (on) {
        if (!m_open)
            open(quickMove);
        m_pin->setChecked(true);
    } else {
        m_pin->setChecked(false);
        if (m_open)
            collapse(true);
    }
    pinClicked();
}

void TskSideChannel::setShowButton(bool show) {
    m_showButton = show;
    m_pin->setVisible(show && m_open);
    if (!show)
        setStayOn(true);
}

void TskSideChannel::pinClicked() {
    // The timer runs exactly while the pin is up and the channel open.
    m_stayOn = m_pin->isChecked();
    if (m_stayOn || !m_open) {
        if (m_timer) {
            m_timer->stop();
            m_timer->deleteLater();
            m_timer = nullptr;
        }
    } else if (!m_timer) {
        m_timer = m_clock->startTimer(1000, true, this, [this] { tick(); });
    }
    m_pin->update();
}

void TskSideChannel::tick() {
    if (m_busy || !m_open || m_stayOn)
        return;
    const QRect onScreen(mapToGlobal(QPoint(0, 0)), size());
    if (!onScreen.contains(cursorPos()))
        collapse(quickMove);
}

void TskSideChannel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_open && !m_busy && popupMode == MouseOn && applicationActive())
        open(quickMove);
    QFrame::mouseMoveEvent(event);
}

void TskSideChannel::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_open && !m_busy && popupMode == MouseClick)
        open(quickMove);
    QFrame::mouseReleaseEvent(event);
}

bool TskSideChannel::event(QEvent* event) {
    const bool done = QFrame::event(event);
    // The frame puts its own width back into the contents margins whenever the style or
    // the parent changes; the channel's are the bar's, the strip's and the gaps.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::ParentChange ||
        event->type() == QEvent::Polish)
        placeContents();
    // Too narrow for its contents (collapsed, or the first steps of a slide): the layout,
    // which has just placed them, leaves them at their least size over the bar; they wait
    // beyond the right edge until the channel is wide enough to hold them again.
    if ((event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize) &&
        contentsRect().width() <= 0) {
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != m_pin && !child->isWindow())
                child->move(width(), child->y());
    }
    return done;
}

void TskSideChannel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // A width given from outside becomes the open width; while open and still it is
    // never below 50 pixels (holdWidth).
    if (!m_busy && width() > kBarWidth && width() != m_width) {
        m_width = width();
        m_openWidth = width();
        placePin();
        updateGeometry();
    }
}

void TskSideChannel::paintEvent(QPaintEvent*) {
    const skin::Look& look = skin::lookFor(this);
    QPainter p(this);
    const int w = width(), h = height(), strip = barPictureHeight();
    // 1. The channel colour inside a one-pixel border.
    p.fillRect(rect(), Qt::white);
    p.setPen(look.controlBorder);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    // 2. The bar picture across the top.
    skin::pictures::sideChannelBar(p, QRectF(1, 1, w - 2, strip), look);
    // 3. The caption, between the pin button's widths.
    if (m_open && !m_caption.isEmpty()) {
        p.setPen(look.menuSelectedFont == QColor(Qt::white) && look.style == UIStyle::MacOS
                     ? QColor(Qt::black)
                     : look.menuSelectedFont);
        p.setFont(font());
        p.drawText(QRect(22, 1, w - 44, strip), m_captionAlignment | Qt::AlignVCenter, m_caption);
    }
    // 4. The side bar and its grey line.
    p.fillRect(QRect(1, strip + 1, kBarWidth - 2, h - strip - 2), look.formBackground);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(QPointF(9.5, strip + 1), QPointF(9.5, h - 2));
    // 5. The handle, centred but never above the strip.
    const int handleHeight = 40;
    const int top = std::max(strip + 1 + 1, (h - handleHeight) / 2);
    skin::pictures::sideChannelHandle(p, QRectF(1, top, kBarWidth - 2, handleHeight), look,
                                      m_align == skLeft ? !m_open : m_open);
}
