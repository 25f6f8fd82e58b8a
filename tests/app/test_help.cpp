// The 帮助 menu: the start-up notice and [guide] visible, the version history, the about
// box and its links, the two explanations, and the four addresses through the recording
// opener.

#include "app/ui/about_box.h"
#include "app/ui/help_links.h"
#include "app/ui/startup_notice.h"
#include "base/core/gbk.h"
#include "skin/ui/theme_manager.h"
#include "support/app_fixture.h"
#include "support/recording_url_opener.h"

#include <QAction>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct HelpWindow {
    AppFixture app;
    RecordingUrlOpener urls;

    std::unique_ptr<TForm1> start() {
        AppContext context{DataRoot(app.tree.path()), app.tree.path("Mqini.ini"), &app.modals,
                           nullptr, &urls};
        return std::make_unique<TForm1>(context);
    }
};

QAction* action(QObject& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

QToolButton* toolButton(QObject& form, const char* tip) {
    for (QToolButton* b : form.findChildren<QToolButton*>())
        if (b->toolTip() == QString::fromUtf8(tip))
            return b;
    ADD_FAILURE() << tip;
    return nullptr;
}

// An answer that sets the notice's check box and closes it by 确定 or by the frame.
std::function<void(QDialog&)> closeNotice(bool show, bool byButton, bool* seen = nullptr) {
    return [=](QDialog& d) {
        if (d.objectName() != QLatin1String("Form16"))
            return;
        auto* box = d.findChild<QCheckBox*>();
        if (seen)
            *seen = box->isChecked();
        box->setChecked(show);
        if (byButton)
            d.findChild<QPushButton*>(QStringLiteral("skButton1"))->click();
        else
            d.close(); // the frame's close button
    };
}

TEST(StartUpNotice, ShowsAtFirstStartWithTheTextAndTheBoxChecked) {
    HelpWindow w;
    bool checked = false;
    QStringList text;
    w.app.modals.answer = [&](QDialog& d) {
        if (d.objectName() == QLatin1String("Form16")) {
            checked = d.findChild<QCheckBox*>()->isChecked();
            text = d.findChild<QPlainTextEdit*>()->toPlainText().split(u'\n');
        }
    };
    auto form = w.start();
    EXPECT_TRUE(w.app.modals.dialogs.contains("Form16"));
    EXPECT_TRUE(checked);
    ASSERT_EQ(text.size(), 12);
    EXPECT_TRUE(text.at(0).isEmpty());
    for (int i : {1, 5, 9})
        EXPECT_TRUE(text.at(i).startsWith(QStringLiteral("    "))) << i;
    for (const QString& line : text)
        EXPECT_LE(gbk::encode(line).size(), 34) << line.toStdString();
    // The paragraphs read whole when their lines are joined.
    EXPECT_EQ(text.mid(9, 3).join(QString()),
              QStringLiteral(
                  "    另：Lyrevane终结版对应的是Quillmere2004专业版3.4，除换了名字，其余不变。"));
}

TEST(StartUpNotice, BothWaysOfClosingStoreTheCheckBoxForTheNextStart) {
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "确定" : "frame close");
        HelpWindow w;
        w.app.modals.answer = closeNotice(false, byButton);
        { auto form = w.start(); }
        EXPECT_TRUE(w.app.ini().contains(QStringLiteral("[guide]\r\nvisible=0")));

        // The next start shows no notice; the menu command still does, box cleared.
        w.app.modals.dialogs.clear();
        bool seen = true;
        w.app.modals.answer = closeNotice(true, byButton, &seen);
        auto form = w.start();
        EXPECT_FALSE(w.app.modals.dialogs.contains("Form16"));
        action(*form, "W3")->trigger();
        EXPECT_EQ(w.app.modals.dialogs.last(), "Form16");
        EXPECT_FALSE(seen);
        EXPECT_TRUE(w.app.ini().contains(QStringLiteral("visible=1")));
        toolButton(*form, "有情提示")->click();
        EXPECT_EQ(w.app.modals.dialogs.count("Form16"), 2);
    }
}

TEST(StartUpNotice, ASettingsFileThatCannotBeWrittenIsReported) {
    HelpWindow w;
    w.app.tree.mkdir("Mqini.ini"); // a folder where the file should be
    auto form = w.start();
    EXPECT_TRUE(w.app.modals.errors.value(0).startsWith(QStringLiteral("Unable to write to ")))
        << w.app.modals.errors.join(u'|').toStdString();
}

TEST(VersionHistory, ShowsVersionTxtOrReportsItMissingAndOpensEmpty) {
    HelpWindow w;
    auto form = w.start();
    QString memo;
    w.app.modals.answer = [&](QDialog& d) {
        if (d.objectName() == QLatin1String("Form5"))
            memo = d.findChild<QPlainTextEdit*>()->toPlainText();
    };
    w.app.modals.errors.clear();
    action(*form, "C6")->trigger();
    EXPECT_EQ(w.app.modals.errors, QStringList{"Cannot open file version.txt"});
    EXPECT_EQ(w.app.modals.dialogs.last(), "Form5");
    EXPECT_TRUE(memo.isEmpty());

    w.app.tree.put("version.txt", gbk::encode(u"Lyrevane 版本历史\r\n一、框架\r\n"));
    action(*form, "C6")->trigger();
    EXPECT_EQ(memo, QStringLiteral("Lyrevane 版本历史\n一、框架"));
    EXPECT_EQ(w.app.modals.errors.size(), 1);
}

TEST(VersionHistory, TheShippedFileIsGbkAndTellsTheMilestones) {
    const QByteArray bytes = [] {
        QFile f(QStringLiteral(LYREVANE_BUILT_APP_DIR "/version.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    bool ok = false;
    const QString text = gbk::decode(bytes, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Lyrevane 版本历史\r\n")));
    EXPECT_FALSE(bytes.contains("\n\n")) << "CR LF line ends";
    // Written for the poets who use the program, not for its developers.
    for (const char* word : {"lyrevane-cli", "Argon2id", "LibreOffice", "FluidSynth",
                             "chinese-poetry", "模糊测试", "基准", "核心库", "命令"}) {
        EXPECT_FALSE(text.contains(QString::fromUtf8(word))) << word;
    }
}

TEST(HelpLinks, EachCommandOpensItsAddress) {
    HelpWindow w;
    auto form = w.start();
    struct Case {
        std::function<void()> command;
        QString address;
    };
    const Case cases[] = {
        {[&] { action(*form, "L5")->trigger(); }, help_links::guestBook()},
        {[&] { action(*form, "B4")->trigger(); }, help_links::forum()},
        {[&] { toolButton(*form, "登录Versefold社区")->click(); }, help_links::forum()},
        {[&] { action(*form, "V3")->trigger(); }, help_links::homePage()},
        {[&] { toolButton(*form, "查看网络最新版")->click(); }, help_links::homePage()},
        {[&] { action(*form, "S3")->trigger(); }, help_links::mail()},
        {[&] { toolButton(*form, "给作者发送邮件")->click(); }, help_links::mail()},
    };
    w.urls.accept = false; // nothing can open it: nothing is reported
    for (const Case& c : cases) {
        w.urls.opened.clear();
        c.command();
        EXPECT_EQ(w.urls.opened, QList<QUrl>{QUrl(c.address)}) << c.address.toStdString();
    }
    EXPECT_TRUE(w.app.modals.errors.isEmpty());
    EXPECT_TRUE(help_links::mail().startsWith(QStringLiteral("mailto:")));
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("skStatusBar1Panel3"))->text(),
              help_links::forum());
}

TEST(AboutBox, LinksChangeColourUnderTheMouseAndOpenTheirAddress) {
    RecordingUrlOpener urls;
    AboutBox about(urls);
    struct Case {
        TLinkLabel* label;
        QColor link, hover;
        QString address;
    };
    const Case cases[] = {
        {about.homePageLink, Qt::blue, Qt::red, help_links::homePage()},
        {about.forumLink, Qt::darkGreen, QColor(0, 0, 0x80), help_links::forum()}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.label->textColour(), c.link);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(c.label, &enter);
        EXPECT_EQ(c.label->textColour(), c.hover);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(c.label, &leave);
        EXPECT_EQ(c.label->textColour(), c.link);
        urls.opened.clear();
        QTest::mouseClick(c.label, Qt::LeftButton);
        EXPECT_EQ(urls.opened, QList<QUrl>{QUrl(c.address)});
    }
    EXPECT_EQ(about.forumLink->text(), QStringLiteral("登录Versefold社区"));
    EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
}

TEST(HelpDialogs, BothExplanationsReturnWhicheverButtonIsPressed) {
    HelpWindow w;
    auto form = w.start();
    struct Case {
        const char* item;
        const char* dialog;
        const char* text; // a part of the text
    };
    const Case cases[] = {{"X3", "skMessageDialog1", "舒梦兰"},
                          {"J4", "skMessageDialog3", "绝句，也称截句、断句、绝诗。"}};
    for (const Case& c : cases) {
        for (const char* button : {"确定", "退出"}) {
            QString text;
            w.app.modals.answer = [&](QDialog& d) {
                for (QLabel* l : d.findChildren<QLabel*>())
                    text += l->text();
                for (QPushButton* b : d.findChildren<QPushButton*>())
                    if (b->text() == QString::fromUtf8(button))
                        b->click();
            };
            action(*form, c.item)->trigger();
            EXPECT_EQ(w.app.modals.dialogs.last(), c.dialog);
            EXPECT_TRUE(text.contains(QString::fromUtf8(c.text))) << c.item;
            EXPECT_TRUE(form->isEnabled());
        }
    }
}

TEST(HelpDialogs, OnlyThePatternBooksExplanationFollowsTheChosenStyle) {
    HelpWindow w;
    auto form = w.start();
    action(*form, "Protein1")->trigger();
    QMap<QString, UIStyle> styles;
    w.app.modals.answer = [&](QDialog& d) {
        if (auto* frame = d.findChild<TskForm*>("skForm1"))
            styles[w.app.modals.dialogs.last()] = frame->uiStyle();
    };
    action(*form, "X3")->trigger();
    action(*form, "J4")->trigger();
    EXPECT_EQ(styles.value("skMessageDialog1"), UIStyle::Protein);
    EXPECT_EQ(styles.value("skMessageDialog3"), UIStyle::MacOS);
}

TEST(AboutBox, OpensFromTheMenu) {
    HelpWindow w;
    auto form = w.start();
    action(*form, "A3")->trigger();
    EXPECT_EQ(w.app.modals.dialogs.last(), "Form3");
}

} // namespace
