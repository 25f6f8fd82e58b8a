#pragma once
// The frame's own title bar and edges, for a window whose system frame is replaced:
// the caption and the minimise, maximise and close buttons drawn from the window's
// look; dragging the bar moves the window and double-clicking it maximises, through the
// window manager (X11 and Wayland alike). Neither takes the focus or a key.

#include <QColor>
#include <QFont>
#include <QWidget>

#include <optional>

class TskTitleBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 26;
    // Buttons: minimise and maximise are left out for a dialog.
    TskTitleBar(QWidget* window, bool dialog);
    QWidget* button(int i) const; // 0 minimise, 1 maximise, 2 close (null when absent)
    // A caption font and colour of the window's own; without one the caption is the
    // window's font in bold, in the style's title colour, which also stands in for a
    // colour that would not read on the style's bar.
    void setCaptionFont(const QFont& font, const QColor& colour);
    QFont captionFont() const;
    QColor captionColour(bool active) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void placeButtons();
    void toggleMaximised();
    QWidget* m_window;
    QWidget* m_buttons[3] = {};
    std::optional<QFont> m_captionFont;
    QColor m_captionColour;
};

// An invisible strip along one edge or corner of a framed window that resizes it.
class TskFrameGrip : public QWidget {
  public:
    TskFrameGrip(QWidget* window, Qt::Edges edges);
    Qt::Edges edges() const { return m_edges; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Qt::Edges m_edges;
};
