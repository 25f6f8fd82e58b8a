#pragma once
// The kit's controls the main window is built from: panels with a caption, the
// skinned check box and radio button with their Checked rule, the side channel, and
// the frame component that carries the window's style.

#include "skin/core/ui_style.h"

#include <QCheckBox>
#include <QFrame>
#include <QRadioButton>

class QLabel;
class QVBoxLayout;

namespace skin {

// While a scope is alive the form is being built from its design: setting Checked
// runs no click handler.
class DesignScope {
  public:
    DesignScope();
    ~DesignScope();
    static bool active();
};

// The colour numbers of the settings file: 0x00BBGGRR, or 0x80000000 + a system
// colour index.
QColor colourFromNumber(qint32 number);
// Font colour and background of a control, kept as colour numbers so that a system
// colour is written back as the system colour.
void setFontColour(QWidget* w, qint32 number);
qint32 fontColour(const QWidget* w);
void setBackground(QWidget* w, qint32 number);
qint32 background(const QWidget* w);

} // namespace skin

// A panel with an optional caption strip along its top and a body below it.
class TskPanel : public QFrame {
    Q_OBJECT
  public:
    TskPanel(const QString& name, QWidget* parent, const QString& caption = {},
             bool captionStrip = true);
    QString caption() const;
    void setCaption(const QString& caption);
    QVBoxLayout* body() const { return m_body; }
    QWidget* captionStrip() const { return m_strip; }
  Q_SIGNALS:
    void captionClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_strip = nullptr;
    QLabel* m_label = nullptr;
    QVBoxLayout* m_body = nullptr;
};

// Setting Checked to a new value repaints and runs onClick; the same value does
// nothing. A user click toggles it.
class TskCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    TskCheckBox(const QString& name, const QString& caption, QWidget* parent);
    void setSkChecked(bool checked);
  Q_SIGNALS:
    void onClick();

  protected:
    void nextCheckState() override;
};

// Becoming checked clears the other radio buttons of the same parent and group
// (running nothing for them), then runs onClick. A user click on a checked button
// does nothing.
class TskRadioButton : public QRadioButton {
    Q_OBJECT
  public:
    TskRadioButton(const QString& name, const QString& caption, QWidget* parent,
                   int groupIndex = 0);
    void setSkChecked(bool checked);
    int groupIndex() const { return m_group; }
  Q_SIGNALS:
    void onClick();

  protected:
    void nextCheckState() override;

  private:
    int m_group = 0;
};

// A panel at one side of the window that can be pinned open.
class TskSideChannel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool pinned READ pinned WRITE setPinned)
  public:
    TskSideChannel(const QString& name, QWidget* parent);
    bool pinned() const { return m_pinned; }
    void setPinned(bool pinned) { m_pinned = pinned; }
    bool quickMove = true;
    enum PopupMode { MouseOn, MouseClick } popupMode = MouseOn;

  private:
    bool m_pinned = true;
};

// The window frame component: carries the style of the window and applies it to the
// window and every skinned control inside it.
class TskForm : public QObject {
    Q_OBJECT
  public:
    TskForm(const QString& name, QWidget* window);
    UIStyle uiStyle() const { return m_style; }
    void setUIStyle(UIStyle style);
    QString caption() const;
    void setCaption(const QString& caption);

  private:
    QWidget* m_window;
    UIStyle m_style = UIStyle::MacOS;
};

class QListWidget;
class QPlainTextEdit;

namespace skin {
// 宋体 at a pixel size; where 宋体 itself is not installed, the monospaced CJK face,
// whose Chinese characters are also exactly twice as wide as its ASCII ones.
QFont songFont(int pixelSize);
// A borderless, word-wrapped text pane with a vertical scroll bar.
QPlainTextEdit* makeMemo(const QString& name, QWidget* parent, bool readOnly,
                         const QString& hint = {});
// A list box of text rows.
QListWidget* makeListBox(const QString& name, QWidget* parent, const QString& hint = {});
} // namespace skin

class QTabBar;

// The kit's tab control: a tab strip over a page area.
class TskTabControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int tabIndex READ tabIndex WRITE setTabIndex)
  public:
    TskTabControl(const QString& name, QWidget* parent);
    QTabBar* tabBar() const { return m_bar; }
    int tabIndex() const;
    // A new index runs the change handler (tabChanged); the same index does nothing.
    void setTabIndex(int index);
  Q_SIGNALS:
    void tabChanged(int index);

  private:
    QTabBar* m_bar;
};

#include <QSpinBox>

// The kit's numeric spinner: the spin buttons step within its range, while a number
// typed outside it stands until the spinner loses the focus.
class TskSpinEdit : public QSpinBox {
    Q_OBJECT
  public:
    TskSpinEdit(const QString& name, int minimum, int maximum, QWidget* parent);
    int minimumValue() const { return m_min; }
    int maximumValue() const { return m_max; }
    void stepBy(int steps) override;

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int m_min, m_max;
};
