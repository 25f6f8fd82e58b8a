#pragma once
// The 界面 and 设置 menus' look commands: the UI style or theme file of the window,
// the documents' fonts, sizes and backgrounds, the reference panes' font and colours,
// and the side channels' two options. Start-up calls reapplySkin() and
// applyChannelOptions() at their steps.

#include "skin/core/ui_style.h"
#include "skin/ui/shared_dialogs.h"

#include <QList>
#include <QObject>

class ModalRunner;
class QAction;
class QMainWindow;
class QTextEdit;
class SettingsFile;
class TskFileTheme;
class TskForm;
class TskSideChannel;
class TskThemeManager;
struct MainActions;

class AppearanceCommands : public QObject {
    Q_OBJECT
  public:
    AppearanceCommands(QMainWindow* window, const MainActions& actions, TskForm* frame,
                       QList<TskSideChannel*> channels, SettingsFile& settings,
                       ModalRunner& modals);

    // The checked skin item again, or the remembered theme file when none is checked.
    void reapplySkin();
    // QuickMove and PopupMode of both channels from 动画轨迹 and 鼠标点击显示.
    void applyChannelOptions();

    QAction* themeFileItem() const { return m_themeItem; }
    TskThemeManager* themeManager() const { return m_manager; }
    TskFileTheme* fileTheme() const { return m_theme; }

    // The settings key that remembers the theme file.

  private:
    void chooseSkin(QAction* item);
    void chooseThemeFile();
    void applyStyle(UIStyle style);
    QList<QTextEdit*> documents() const;
    QList<QWidget*> controls(const QStringList& names) const;

    void documentFont();
    void documentColour();
    void documentSizeStep(int points);
    void documentBaseSize(QAction* item);
    void documentBackground(const QList<int>& which);
    void windowFont();
    void windowFontColour();
    void windowBackground();

    QMainWindow* m_window;
    const MainActions& m_actions;
    TskForm* m_frame;
    QList<TskSideChannel*> m_channels;
    SettingsFile& m_settings;
    ModalRunner& m_modals;
    skin::SharedDialogs& m_dialogs; // shared with every look command of the window
    TskThemeManager* m_manager;
    TskFileTheme* m_theme;
    QAction* m_themeItem;
};
