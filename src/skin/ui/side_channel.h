#pragma once
// A panel docked at one side of a window that collapses to a 10-pixel bar and slides
// open when the user reaches for it, or stays pinned open. While it is open and still,
// nothing outside it (a layout, a splitter, a resize) can make it 49 pixels or narrower.

#include <QFrame>
#include <functional>

class Clock;
class ClockTimer;
class QToolButton;

class TskSideChannel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool pinned READ stayOn WRITE setStayOn)
  public:
    enum PopupMode { MouseOn, MouseClick };
    enum Align { skLeft, skRight };
    static constexpr int kBarWidth = 10;
    static constexpr int kStep = 15;
    static constexpr int kNarrowestOpen = 50;

    // Created collapsed. Without a clock the system's is used.
    TskSideChannel(const QString& name, QWidget* parent, Clock* clock = nullptr);
    void setClock(Clock* clock) { m_clock = clock; }

    // Read at each open and collapse.
    bool quickMove = false;
    PopupMode popupMode = MouseOn;

    Align align() const { return m_align; }
    void setAlign(Align a);
    // The open width, kept while the channel is collapsed.
    int openWidth() const { return m_openWidth; }
    void setOpenWidth(int width);
    bool stayOn() const { return m_stayOn; }
    void setStayOn(bool on);
    bool showButton() const { return m_showButton; }
    // Hiding the pin button pins the channel open.
    void setShowButton(bool show);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    void setCaptionAlignment(Qt::Alignment a);

    bool isOpen() const { return m_open; }
    bool isBusy() const { return m_busy; }
    QToolButton* pinButton() const;
    int barPictureHeight() const { return 20; }

    void open(bool quick);
    void collapse(bool quick);

    // Layouts give the channel its current width: the open width when open, the bar's
    // when collapsed, each step's while sliding.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the pointer is and whether the program is the active application: the
    // platform's answers unless a test sets its own.
    std::function<QPoint()> cursorPos;
    std::function<bool()> applicationActive;

  Q_SIGNALS:
    void OnPop();
    void OnPush();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void setCurrentWidth(int width);
    void holdWidth();
    void pinClicked();
    void tick();
    void placePin();
    void placeContents();

    Clock* m_clock;
    ClockTimer* m_timer = nullptr;
    class PinButton* m_pin;
    Align m_align = skLeft;
    int m_openWidth = 193;
    int m_width = kBarWidth; // the width asked of the layout
    bool m_open = false, m_busy = false, m_stayOn = false, m_showButton = true;
    QString m_caption;
    Qt::Alignment m_captionAlignment = Qt::AlignLeft;
};
