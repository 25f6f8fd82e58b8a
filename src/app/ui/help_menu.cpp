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
    connect(c.W3, &QAction::triggered, this, &HelpMenu::showNotice);
    connect(c.notice, &QToolButton::clicked, this, &HelpMenu::showNotice);
    connect(c.L5, &QAction::triggered, this, link(help_links::guestBook()));
    connect(c.B4, &QAction::triggered, this, link(help_links::forum()));
    connect(c.forum, &QToolButton::clicked, this, link(help_links::forum()));
    connect(c.V3, &QAction::triggered, this, link(help_links::homePage()));
    connect(c.newVersion, &QToolButton::clicked, this, link(help_links::homePage()));
    connect(c.S3, &QAction::triggered, this, link(help_links::mail()));
    connect(c.mail, &QToolButton::clicked, this, link(help_links::mail()));
    connect(c.C6, &QAction::triggered, this, &HelpMenu::showVersionHistory);
    connect(c.X3, &QAction::triggered, this, &HelpMenu::showBaixiang);
    connect(c.J4, &QAction::triggered, this, &HelpMenu::showJueju);
    connect(c.A3, &QAction::triggered, this, &HelpMenu::showAbout);
}

void HelpMenu::startUpNotice() {
    const SettingsFile settings(m_settingsPath);
    if (settings.readBool(QString::fromLatin1(settings::kGuideSection),
                          QString::fromLatin1(settings::kGuideVisible), true))
        showNotice();
}

void HelpMenu::showNotice() {
    TForm16 notice(m_settingsPath, m_modals, m_window);
    m_modals.exec(notice);
}

void HelpMenu::showVersionHistory() {
    TForm5 history(m_window);
    try {
        history.FormShow(m_root);
    } catch (const AppError& e) {
        // Reported, and the window still opens, empty.
        m_modals.showError(m_window, e.message());
    }
    m_modals.exec(history);
}

void HelpMenu::showAbout() {
    TForm3 about(m_urls, m_window);
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
    new MusicMenu(a.P8, a.pieces, context.midi, context.root, modals, window);
    return new HelpMenu({a.W3, a.L5, a.B4, a.V3, a.S3, a.C6, a.X3, a.J4, a.A3,
                         t.button(MainToolBar::Notice), t.button(MainToolBar::Mail),
                         t.button(MainToolBar::Forum), t.button(MainToolBar::NewVersion)},
                        *context.urls, context.root, settingsPath, modals, window);
}
