#include "skin/ui/title_bar.h"

#include "skin/ui/look.h"
#include "skin/ui/pictures.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

using skin::pictures::TitleButton;

class TitleBarButton : public QAbstractButton {
  public:
    TitleBarButton(QWidget* parent, TitleButton which) : QAbstractButton(parent), m_which(which) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
        setFixedSize(17, 17);
    }
    void setWhich(TitleButton which) {
        m_which = which;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        skin::pictures::State s;
        s.hover = underMouse();
        s.down = isDown();
        skin::pictures::titleButton(p, QRectF(rect()), skin::lookFor(this), m_which, s);
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave)
            update();
        return QAbstractButton::event(e);
    }

  private:
    TitleButton m_which;
};

} // namespace

TskTitleBar::TskTitleBar(QWidget* window, bool dialog) : QWidget(window), m_window(window) {
    setObjectName(QStringLiteral("skTitleBar"));
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(kHeight);
    if (!dialog) {
        auto* min = new TitleBarButton(this, TitleButton::Minimise);
        min->setToolTip(QStringLiteral("最小化"));
        connect(min, &QAbstractButton::clicked, window, &QWidget::showMinimized);
        auto* max = new TitleBarButton(this, TitleButton::Maximise);
        max->setToolTip(QStringLiteral("最大化"));
        connect(max, &QAbstractButton::clicked, this, &TskTitleBar::toggleMaximised);
        m_buttons[0] = min;
        m_buttons[1] = max;
    }
    auto* close = new TitleBarButton(this, TitleButton::Close);
    close->setToolTip(QStringLiteral("关闭"));
    connect(close, &QAbstractButton::clicked, window, &QWidget::close);
    m_buttons[2] = close;
}

QWidget* TskTitleBar::button(int i) const {
    return i >= 0 && i < 3 ? m_buttons[i] : nullptr;
}

void TskTitleBar::setCaptionFont(const QFont& font, const QColor& colour) {
    m_captionFont = font;
    m_captionColour = colour;
    update();
}

QFont TskTitleBar::captionFont() const {
    if (m_captionFont)
        return *m_captionFont;
    QFont f = font();
    f.setBold(true);
    return f;
}

QColor TskTitleBar::captionColour(bool active) const {
    const QColor styles = skin::pictures::titleText(skin::lookFor(this), active);
    // The window's own colour where it reads on the style's bar: dark where the style
    // writes dark, light where it writes light. Otherwise (dark blue on a dark blue bar)
    // the style's colour keeps the caption legible.
    auto dark = [](const QColor& c) { return c.lightnessF() < 0.5; };
    if (m_captionFont && m_captionColour.isValid() && dark(m_captionColour) == dark(styles))
        return m_captionColour;
    return styles;
}

void TskTitleBar::toggleMaximised() {
    if (m_window->isMaximized())
        m_window->showNormal();
    else
        m_window->showMaximized();
}

void TskTitleBar::placeButtons() {
    const skin::Look& look = skin::lookFor(this);
    int x = width() - 4 + look.titleButtonRightOffset;
    for (int i = 2; i >= 0; --i) {
        if (!m_buttons[i])
            continue;
        x -= m_buttons[i]->width();
        m_buttons[i]->move(x, std::min(look.titleButtonTop, kHeight - m_buttons[i]->height()));
        x -= 2;
    }
    if (auto* max = static_cast<TitleBarButton*>(m_buttons[1]))
        max->setWhich(m_window->isMaximized() ? TitleButton::Restore : TitleButton::Maximise);
}

void TskTitleBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeButtons();
}

bool TskTitleBar::event(QEvent* event) {
    if (event->type() == QEvent::Polish || event->type() == QEvent::PaletteChange)
        placeButtons(); // a new style moves the buttons by its offsets
    return QWidget::event(event);
}

void TskTitleBar::paintEvent(QPaintEvent*) {
    const skin::Look& look = skin::lookFor(this);
    const bool active = m_window->isActiveWindow();
    QPainter p(this);
    skin::pictures::titleBar(p, QRectF(rect()), look, active);
    p.setFont(captionFont());
    p.setPen(captionColour(active));
    int right = width() - 8;
    for (QWidget* b : m_buttons)
        if (b)
            right = std::min(right, b->x() - 6);
    const int left = 8 + look.titleButtonLeftOffset;
    const bool centred =
        look.pictureStyle() == UIStyle::MacOS || look.pictureStyle() == UIStyle::BlueGlass;
    const QRect text = centred ? QRect(width() - right, 0, 2 * right - width(), height())
                               : QRect(left, 0, right - left, height());
    p.drawText(text, (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
               p.fontMetrics().elidedText(m_window->windowTitle(), Qt::ElideRight, text.width()));
}

void TskTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_window->windowHandle())
        m_window->windowHandle()->startSystemMove();
    QWidget::mousePressEvent(event);
}

void TskTitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        toggleMaximised();
}

TskFrameGrip::TskFrameGrip(QWidget* window, Qt::Edges edges) : QWidget(window), m_edges(edges) {
    setFocusPolicy(Qt::NoFocus);
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical)
        setCursor(edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge)
                      ? Qt::SizeFDiagCursor
                      : Qt::SizeBDiagCursor);
    else
        setCursor(horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void TskFrameGrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemResize(m_edges);
}
