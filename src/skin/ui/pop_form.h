#pragma once
// The pop-up notice: a small window that slides up at the lower right of the work
// area, stays for a while and slides away.

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

class Clock;
class ClockTimer;
class QLabel;

// The notice's window, created with its component and hidden until shown.
class TskPopWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Phase { Hidden, SlidingIn, Shown, SlidingOut };
    static constexpr QSize kPictureSize{181, 116};
    static constexpr QRect kCloseSpot{162, 6, 14, 14}; // x 162 to 175, y 6 to 19

    explicit TskPopWindow(Clock& clock);
    Phase phase() const { return m_phase; }
    QLabel* titleLabel() const { return m_title; }
    QLabel* messageLabel() const { return m_message; }
    // How much of the picture has slid into view, 0 to its height.
    int revealed() const;

    void start(int animateTime, int stayTime, bool clickHide);
    void slideOut();
    void hideAtOnce();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void step();
    void stopTimers();
    // The platform's tick counter is 32 bits wide; a difference across its wrap is
    // negative.
    static qint64 elapsed(qint64 from, qint64 to);

    Clock& m_clock;
    ClockTimer *m_slide = nullptr, *m_stay = nullptr;
    QWidget* m_sheet;
    QLabel *m_title, *m_message;
    Phase m_phase = Phase::Hidden;
    qint64 m_phaseStart = 0;
    int m_animate = 400, m_stayTime = 2000;
    bool m_clickHide = false;
    bool m_pressedClose = false;
};

class TskPopForm : public QObject {
    Q_OBJECT
  public:
    // Without a clock the system's is used.
    TskPopForm(const QString& name, QObject* owner, Clock* clock = nullptr);
    ~TskPopForm() override;

    int AnimateTime = 400;
    int StayTime = 2000;
    bool AutoPosition = true;
    int PositionX = 0, PositionY = 0;
    bool ClickHide = false;
    QString Title, MessageText;
    QFont TitleFont, MessageFont;
    QColor TitleColour{0, 0, 0x80}, MessageColour{0, 0, 0x80}; // navy

    void Show();
    TskPopWindow* window() const { return m_window; }

    // The notice the main window shows at start-up.
    static TskPopForm* mainWindowNotice(QObject* owner, Clock* clock);

  private:
    QPointer<TskPopWindow> m_window;
};
