#pragma once
// The 帮助 menu and the tool-bar buttons beside it: the start-up notice, the version
// history, the about box, the two short explanations and the four outside links.

#include "base/core/data_root.h"

#include <QObject>
#include <QUrl>

class ModalRunner;
class QAction;
class QToolButton;
class UrlOpener;
class QWidget;

class TskMessageDialog;

class HelpMenu : public QObject {
    Q_OBJECT
  public:
    struct Controls {
        QAction *fillingGuide, *guestBook, *forum, *newVersion, *mailAuthor, *versionHistory,
            *aboutBaixiang, *whatIsJueju, *about;
        // Tool-bar buttons: 有情提示, 给作者发送邮件, 登录Versefold社区, 查看网络最新版.
        QToolButton *noticeButton, *mailButton, *forumButton, *newVersionButton;
    };
    HelpMenu(const Controls& controls, UrlOpener& urls, DataRoot root, QString settingsPath,
             ModalRunner& modals, QWidget* window);

    // Start-up: the notice, unless [guide] visible says otherwise.
    void startUpNotice();

    // The commands.
    void showNotice();
    void showVersionHistory();
    void showAbout();
    void showBaixiang();
    void showJueju();
    void open(const QString& address);

  private:
    UrlOpener& m_urls;
    DataRoot m_root;
    QString m_settingsPath;
    ModalRunner& m_modals;
    QWidget* m_window;
    // Carried for the whole run, so that the theme manager finds 关于白香词谱's dialog by
    // its name and gives it the chosen style.
    TskMessageDialog* m_baixiang;
    TskMessageDialog* m_jueju;
};

struct AppContext;
struct MainActions;
struct MainToolBar;

// Connects the 帮助 and 音乐 menus and their tool-bar buttons of the main window;
// returns the help menu, which start-up asks for the notice.
HelpMenu* connectHelpAndMusic(const MainActions& actions, const MainToolBar& toolBar,
                              const AppContext& context, const QString& settingsPath,
                              ModalRunner& modals, QWidget* window);
