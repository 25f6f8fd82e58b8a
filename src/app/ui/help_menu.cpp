#include "app/ui/help_menu.h"

#include "app/core/settings_keys.h"
#include "app/ui/TForm1.h"
#include "app/ui/about_box.h"
#include "app/ui/help_links.h"
#include "app/ui/help_texts.h"
#include "app/ui/main_actions.h"
#include "app/ui/main_toolbar.h"
#include "app/ui/music_menu.h"
#include "app/ui/startup_notice.h"
#include "app/ui/version_history.h"
#include "base/core/app_error.h"
#include "base/core/settings_file.h"
#include "base/ui/modals.h"
#include "base/ui/url_opener.h"
#include "skin/ui/message_dialog.h"

#include <QAction>
#include <QToolButton>
#include <QWidget>

HelpMenu::HelpMenu(const Controls& c, UrlOpener& urls, DataRoot root, QString settingsPath,
                   ModalRunner& modals, QWidget* window)
    : QObject(window), m_urls(urls), m_root(std::move(root)),
      m_settingsPath(std::move(settingsPath)), m_modals(modals), m_window(window),
      m_baixiang(TskMessageDialog::programDialog(QStringLiteral("skMessageDialog1"),
                                                 TskMessageDialog::skHelp,
                                                 help_texts::baixiangCipu(), this)),
      m_jueju(TskMessageDialog::programDialog(QStringLiteral("skMessageDialog3"),
                                              TskMessageDialog::skHelp, help_texts::jueju(),
                                              this)) {
    const auto link = [this](const QString& address) { return [this, address] { open(address); }; };
    connect(c.fillingGuide, &QAction::triggered, this, &HelpMenu::showNotice);
    connect(c.noticeButton, &QToolButton::clicked, this, &HelpMenu::showNotice);
    connect(c.guestBook, &QAction::triggered, this, link(help_links::guestBook()));
    connect(c.forum, &QAction::triggered, this, link(help_links::forum()));
    connect(c.forumButton, &QToolButton::clicked, this, link(help_links::forum()));
    connect(c.newVersion, &QAction::triggered, this, link(help_links::homePage()));
    connect(c.newVersionButton, &QToolButton::clicked, this, link(help_links::homePage()));
    connect(c.mailAuthor, &QAction::triggered, this, link(help_links::mail()));
    connect(c.mailButton, &QToolButton::clicked, this, link(help_links::mail()));
    connect(c.versionHistory, &QAction::triggered, this, &HelpMenu::showVersionHistory);
    connect(c.aboutBaixiang, &QAction::triggered, this, &HelpMenu::showBaixiang);
    connect(c.whatIsJueju, &QAction::triggered, this, &HelpMenu::showJueju);
    connect(c.about, &QAction::triggered, this, &HelpMenu::showAbout);
}

void HelpMenu::startUpNotice() {
    const SettingsFile settings(m_settingsPath);
    if (settings.readBool(QString::fromLatin1(settings::kGuideSection),
                          QString::fromLatin1(settings::kGuideVisible), true))
        showNotice();
}

void HelpMenu::showNotice() {
    StartupNotice notice(m_settingsPath, m_modals, m_window);
    m_modals.exec(notice);
}

void HelpMenu::showVersionHistory() {
    VersionHistoryWindow history(m_window);
    try {
        history.FormShow(m_root);
    } catch (const AppError& e) {
        // Reported, and the window still opens, empty.
        m_modals.showError(m_window, e.message());
    }
    m_modals.exec(history);
}

void HelpMenu::showAbout() {
    AboutBox about(m_urls, m_window);
    m_modals.exec(about);
}

void HelpMenu::showBaixiang() {
    m_baixiang->Execute(m_modals, m_window); // either button closes it; the answer is not used
}

void HelpMenu::showJueju() {
    m_jueju->Execute(m_modals, m_window);
}

void HelpMenu::open(const QString& address) {
    m_urls.open(QUrl(address)); // the result is not checked: nothing is reported
}

HelpMenu* connectHelpAndMusic(const MainActions& a, const MainToolBar& t, const AppContext& context,
                              const QString& settingsPath, ModalRunner& modals, QWidget* window) {
    new MusicMenu(a.pauseMusic, a.pieces, context.midi, context.root, modals, window);
    return new HelpMenu({.fillingGuide = a.fillingGuide,
                         .guestBook = a.guestBook,
                         .forum = a.forum,
                         .newVersion = a.newVersion,
                         .mailAuthor = a.mailAuthor,
                         .versionHistory = a.versionHistory,
                         .aboutBaixiang = a.aboutBaixiang,
                         .whatIsJueju = a.whatIsJueju,
                         .about = a.about,
                         .noticeButton = t.button(MainToolBar::Notice),
                         .mailButton = t.button(MainToolBar::Mail),
                         .forumButton = t.button(MainToolBar::Forum),
                         .newVersionButton = t.button(MainToolBar::NewVersion)},
                        *context.urls, context.root, settingsPath, modals, window);
}
