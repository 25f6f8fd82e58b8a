#pragma once
// The frame that carries a window's style, the theme file a style can come from, and
// the manager that hands one style to a list of a form's components.

#include "skin/core/theme_file.h"
#include "skin/core/ui_style.h"
#include "skin/ui/look.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

// A theme read from a file. Setting a path that does not exist tries the same file
// name in the executable's folder; when that is missing too, nothing changes.
class TskFileTheme : public QObject {
    Q_OBJECT
  public:
    TskFileTheme(const QString& name, QObject* owner);
    QString themeFile() const { return m_path; }
    // True when the file was read; the theme then holds what it carries.
    bool setThemeFile(const QString& path);
    const style::ThemeFile& theme() const { return m_theme; }
    QString lastError() const { return m_error; }
  Q_SIGNALS:
    // A file was read: every control using this theme draws with it again.
    void themeChanged();

  private:
    QString m_path, m_error;
    style::ThemeFile m_theme;
};

// The window frame component: resolves the window's style, gives the window its
// palette and passes the look to every control inside it, which draws from it.
class TskForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(int uiStyle READ uiStyleNumber WRITE setUIStyleNumber)
    Q_PROPERTY(QObject* fileTheme READ fileThemeObject WRITE setFileThemeObject)
  public:
    TskForm(const QString& name, QWidget* window, UIStyle style = UIStyle::MacOS);
    ~TskForm() override;
    UIStyle uiStyle() const { return m_style; }
    void setUIStyle(UIStyle style);
    TskFileTheme* fileTheme() const { return m_theme; }
    void setFileTheme(TskFileTheme* theme);
    const skin::Look& look() const { return m_look; }
    QString caption() const;
    void setCaption(const QString& caption);
    QWidget* window() const { return m_window; }

    // Replaces the system's title bar and border with the frame's own. A window whose
    // design leaves room at its top (a dialog) keeps its size; otherwise the window's
    // contents move inside the border and below the title bar.
    void setFramed(bool reserveSpace, bool dialog = false);
    class TskTitleBar* titleBar() const {
        return m_titleBar;
    }
    static constexpr int kEdge = 4; // border and resize grip, the same in every style

    // Takes the style and theme of the frame of `owner`'s window, now and whenever that
    // frame's style changes; nothing when that window has no frame.
    void followOwner(const QWidget* owner);

    int uiStyleNumber() const { return int(m_style); }
    void setUIStyleNumber(int n) { setUIStyle(UIStyle(n)); }
    QObject* fileThemeObject() const { return m_theme; }
    void setFileThemeObject(QObject* o) { setFileTheme(qobject_cast<TskFileTheme*>(o)); }
  Q_SIGNALS:
    void styleApplied();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply();
    void placeFrame();

    QWidget* m_window;
    class TskTitleBar* m_titleBar = nullptr;
    QList<class TskFrameGrip*> m_grips;
    UIStyle m_style;
    QPointer<TskFileTheme> m_theme;
    QMetaObject::Connection m_themeChanged;
    skin::Look m_look;
};

// Sets one style on the named components of its form, in list order.
class TskThemeManager : public QObject {
    Q_OBJECT
  public:
    TskThemeManager(const QString& name, QWidget* form);
    UIStyle uiStyle() const { return m_style; }
    // Applies the style to every listed component, even when it is the current one;
    // OnUIStyleChanged runs only when it changed.
    void setUIStyle(UIStyle style);
    TskFileTheme* fileTheme() const { return m_theme; }
    void setFileTheme(TskFileTheme* theme);
    QStringList compList() const { return m_list; }
    void setCompList(const QStringList& names);
  Q_SIGNALS:
    void OnUIStyleChanged();

  private:
    QWidget* m_form;
    UIStyle m_style = UIStyle::DeepBlue;
    QPointer<TskFileTheme> m_theme;
    QMetaObject::Connection m_themeGone;
    QStringList m_list;
};
