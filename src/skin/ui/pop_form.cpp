#include "skin/ui/pop_form.h"

#include "base/core/clock.h"
#include "skin/ui/look.h"
#include "skin/ui/memo.h"
#include "skin/ui/pictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

// The sheet carries the picture and the labels; it slides inside the window.
class Sheet : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        skin::pictures::noticeBackground(p, QRectF(rect()), skin::lookFor(this));
    }
};

} // namespace

TskPopWindow::TskPopWindow(Clock& clock)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      m_clock(clock), m_sheet(new Sheet(this)) {
    setObjectName(QStringLiteral("skPopWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kPictureSize);
    m_sheet->setGeometry(0, height(), width(), height());
    m_sheet->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_title = new QLabel(m_sheet);
    m_title->setObjectName(QStringLiteral("TitleLabel"));
    m_title->setGeometry(10, 5, width() - 30, 18);
    m_message = new QLabel(m_sheet);
    m_message->setObjectName(QStringLiteral("MessageLabel"));
    m_message->setGeometry(10, 40, width() - 20, height() - 50);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
}

int TskPopWindow::revealed() const {
    return height() - m_sheet->y();
}

qint64 TskPopWindow::elapsed(qint64 from, qint64 to) {
    return qint64(quint32(to)) - qint64(quint32(from));
}

void TskPopWindow::stopTimers() {
    for (ClockTimer** t : {&m_slide, &m_stay}) {
        if (*t) {
            (*t)->stop();
            (*t)->deleteLater();
            *t = nullptr;
        }
    }
}

void TskPopWindow::start(int animateTime, int stayTime, bool clickHide) {
    stopTimers();
    m_animate = std::max(0, animateTime);
    m_stayTime = stayTime;
    m_clickHide = clickHide;
    m_sheet->move(0, height());
    show();
    raise(); // above all others, without taking the focus
    m_phase = Phase::SlidingIn;
    m_phaseStart = m_clock.tickCount();
    m_slide = m_clock.startTimer(10, true, this, [this] { step(); });
    step();
}

void TskPopWindow::step() {
    const qint64 t = elapsed(m_phaseStart, m_clock.tickCount());
    const double done = m_animate == 0 || t < 0 ? 1.0 : std::min(1.0, double(t) / m_animate);
    const int shown = int(height() * (m_phase == Phase::SlidingIn ? done : 1.0 - done) + 0.5);
    m_sheet->move(0, height() - shown);
    if (done < 1.0)
        return;
    stopTimers();
    if (m_phase == Phase::SlidingIn) {
        // Shown: the stay is counted from the end of the slide.
        m_phase = Phase::Shown;
        m_phaseStart = m_clock.tickCount();
        update();
        m_stay = m_clock.startTimer(100, true, this, [this] {
            const qint64 stayed = elapsed(m_phaseStart, m_clock.tickCount());
            if (stayed >= m_stayTime || stayed < 0)
                slideOut();
        });
    } else {
        hideAtOnce();
    }
}

void TskPopWindow::slideOut() {
    if (m_phase == Phase::Hidden || m_phase == Phase::SlidingOut)
        return;
    stopTimers();
    raise();
    m_phase = Phase::SlidingOut;
    m_phaseStart = m_clock.tickCount();
    m_slide = m_clock.startTimer(10, true, this, [this] { step(); });
}

void TskPopWindow::hideAtOnce() {
    stopTimers();
    m_phase = Phase::Hidden;
    m_sheet->move(0, height());
    hide();
}

void TskPopWindow::paintEvent(QPaintEvent*) {
    // Below the sheet while it slides: nothing yet.
}

void TskPopWindow::mousePressEvent(QMouseEvent* event) {
    m_pressedClose = event->button() == Qt::LeftButton &&
                     kCloseSpot.contains(event->position().toPoint() - m_sheet->pos());
    if (m_pressedClose)
        hideAtOnce();
}

void TskPopWindow::mouseReleaseEvent(QMouseEvent*) {
    if (!m_pressedClose && m_clickHide)
        slideOut();
    m_pressedClose = false;
}

TskPopForm::TskPopForm(const QString& name, QObject* owner, Clock* clock) : QObject(owner) {
    setObjectName(name);
    m_window = new TskPopWindow(clock ? *clock : systemClock());
}

TskPopForm::~TskPopForm() {
    delete m_window.data();
}

void TskPopForm::Show() {
    TskPopWindow* w = m_window;
    auto colour = [](QLabel* label, const QColor& c) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, c);
        label->setPalette(p);
    };
    w->titleLabel()->setText(Title);
    w->titleLabel()->setFont(TitleFont);
    colour(w->titleLabel(), TitleColour);
    w->messageLabel()->setText(MessageText);
    w->messageLabel()->setFont(MessageFont);
    colour(w->messageLabel(), MessageColour);
    if (AutoPosition) {
        QRect area(0, 0, 1024, 768);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        w->move(area.x() + area.width() - w->width() - 18, area.y() + area.height() - w->height());
    } else {
        w->move(PositionX, PositionY);
    }
    w->start(AnimateTime, StayTime, ClickHide);
}

TskPopForm* TskPopForm::mainWindowNotice(QObject* owner, Clock* clock) {
    auto* n = new TskPopForm(QStringLiteral("skPopForm1"), owner, clock);
    n->StayTime = 8000;
    n->ClickHide = true;
    n->Title = QStringLiteral("Quillmere2004");
    n->MessageText = QStringLiteral("Versefold论坛欢迎广大诗词及文学爱好者注册发帖！");
    n->TitleFont = skin::songFont(12);
    n->TitleColour = Qt::black;
    n->MessageFont = skin::songFont(12);
    n->MessageColour = skin::colourFromNumber(0x804000);
    return n;
}
