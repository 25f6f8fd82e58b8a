#include "skin/core/theme_file.h"
#include "skin/ui/kit_dialog.h"
#include "skin/ui/side_channel.h"
#include "skin/ui/theme_manager.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

QAction* item(TForm1& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}
TskForm* frame(TForm1& form) {
    return form.findChild<TskForm*>(QStringLiteral("skForm1"));
}
// Answers the next colour dialog with `c`.
void answerColour(AppFixture& app, QColor c) {
    app.modals.answer = [c](QDialog& d) {
        if (auto* colours = qobject_cast<QColorDialog*>(&d)) {
            colours->setCurrentColor(c);
            colours->accept();
        }
    };
}

} // namespace

TEST(Appearance, TheStyleAndTheUsersColoursComeBackAfterARestart) {
    AppFixture app;
    {
        auto form = app.start();
        ASSERT_EQ(frame(*form)->uiStyle(), UIStyle::MacOS) << "the design default";
        answerColour(app, QColor(0x20, 0x40, 0x60));
        item(*form, "Y1")->trigger(); // 窗口背景颜色
        item(*form, "Protein1")->trigger();
        auto* list = form->findChild<QListWidget*>("skListBox1");
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(0x20, 0x40, 0x60))
            << "a style change leaves the user's background";
        ASSERT_TRUE(AppFixture::close(*form));
    }
    auto form = app.start();
    EXPECT_EQ(frame(*form)->uiStyle(), UIStyle::Protein);
    EXPECT_TRUE(item(*form, "Protein1")->isChecked());
    EXPECT_FALSE(item(*form, "MACOS2")->isChecked());
    EXPECT_EQ(form->findChild<QListWidget*>("skListBox1")->palette().color(QPalette::Base),
              QColor(0x20, 0x40, 0x60));
    EXPECT_EQ(form->palette().color(QPalette::Window),
              skin::Look::make(UIStyle::Protein).formBackground);
    // The window's input and password dialogs take the style with the frame.
    for (const char* name : {"skInputDialog1", "skPasswordDialog1"}) {
        auto* dialog = form->findChild<TskDialog*>(name);
        ASSERT_TRUE(dialog) << name;
        EXPECT_EQ(dialog->uiStyle, UIStyle::Protein) << name;
    }
}

TEST(Appearance, ShrinkingTheDocumentsTextStepsByTwoAndStopsAtOnePoint) {
    AppFixture app;
    auto form = app.start();
    auto* doc = form->findChild<QTextEdit*>("skm1");
    QTextCharFormat five;
    five.setFontPointSize(5);
    doc->mergeCurrentCharFormat(five);
    QList<qreal> sizes;
    for (int i = 0; i < 3; ++i) {
        item(*form, "J3")->trigger(); // 减小字体
        sizes << doc->currentCharFormat().fontPointSize();
    }
    EXPECT_EQ(sizes, (QList<qreal>{3, 1, 1}));
    item(*form, "J2")->trigger();
    EXPECT_EQ(doc->currentCharFormat().fontPointSize(), 3);
}

TEST(Appearance, TheFontDialogOpensOnTheLastFontChosenInTheRun) {
    AppFixture app;
    auto form = app.start();
    QList<QFont> shown;
    QFont chosen(QStringLiteral("Serif"));
    chosen.setPointSize(15);
    chosen.setBold(true);
    app.modals.answer = [&](QDialog& d) {
        if (auto* fonts = qobject_cast<QFontDialog*>(&d)) {
            shown << fonts->currentFont();
            fonts->setCurrentFont(chosen);
            fonts->accept();
        }
    };
    item(*form, "C5")->trigger(); // 窗口字体
    item(*form, "T1")->trigger(); // 字体
    item(*form, "T3")->trigger(); // 押韵大师 ▸ 字体
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].pointSize(), 8) << "at first an 8-point sans-serif font";
    EXPECT_EQ(shown[1].pointSize(), 15) << "then the font chosen for 窗口字体";
    EXPECT_EQ(shown[2].pointSize(), 15) << "in every command of the window";
    EXPECT_EQ(form->findChild<QWidget*>("skMemo1")->font().pointSize(), 15);
    auto* doc = form->findChild<QTextEdit*>("skm1");
    EXPECT_EQ(doc->currentCharFormat().fontPointSize(), 15);
    EXPECT_FALSE(doc->currentCharFormat().font().bold()) << "the dialog's styles are not applied";
}

TEST(Appearance, AThemeFileIsAppliedRememberedAndFallsBackWhenItIsGone) {
    AppFixture app;
    const QString path = app.tree.path("ink.theme");
    app.tree.put("ink.theme",
                 style::ThemeFile::write({{"FormBackgroundColor", style::ThemeFile::Integer,
                                           style::ThemeFile::integerData(0x30A0F0)}}));
    {
        auto form = app.start();
        app.modals.answer = [&](QDialog& d) {
            if (auto* files = qobject_cast<QFileDialog*>(&d)) {
                files->selectFile(path);
                static_cast<QDialog*>(files)->accept(); // checks the file, as a user's OK does
            }
        };
        item(*form, "ThemeFile1")->trigger();
        EXPECT_EQ(frame(*form)->uiStyle(), UIStyle::FromThemeFile);
        EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0xF0, 0xA0, 0x30));
        EXPECT_TRUE(item(*form, "ThemeFile1")->isChecked());
        EXPECT_FALSE(item(*form, "MACOS2")->isChecked());
        ASSERT_TRUE(AppFixture::close(*form));
    }
    {
        auto form = app.start();
        EXPECT_EQ(frame(*form)->uiStyle(), UIStyle::FromThemeFile);
        EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0xF0, 0xA0, 0x30));
        ASSERT_TRUE(AppFixture::close(*form));
    }
    QFile::remove(path);
    auto form = app.start();
    EXPECT_EQ(form->palette().color(QPalette::Window),
              skin::Look::make(UIStyle::DeepBlue).formBackground)
        << "a missing theme file draws like DeepBlue";
}

TEST(Appearance, TheChannelOptionsFollowTheirChecksAndComeBack) {
    AppFixture app;
    {
        auto form = app.start();
        auto* channel = form->findChild<TskSideChannel*>("skSideChannel2");
        EXPECT_FALSE(channel->quickMove) << "动画轨迹 is checked by default";
        EXPECT_EQ(channel->popupMode, TskSideChannel::MouseOn);
        item(*form, "S2")->trigger();
        item(*form, "D1")->trigger();
        EXPECT_TRUE(channel->quickMove);
        EXPECT_EQ(channel->popupMode, TskSideChannel::MouseClick);
        ASSERT_TRUE(AppFixture::close(*form));
    }
    auto form = app.start();
    auto* channel = form->findChild<TskSideChannel*>("skSideChannel1");
    EXPECT_TRUE(channel->quickMove);
    EXPECT_EQ(channel->popupMode, TskSideChannel::MouseClick);
    EXPECT_TRUE(channel->isOpen()) << "pinned open by default";
}

TEST(Appearance, TheFrameLeavesKeysAndInputMethodsToTheEditBoxes) {
    AppFixture app;
    auto form = app.start();
    form->show();
    auto* doc = form->findChild<QTextEdit*>("skm1");
    form->activateWindow();
    doc->setFocus();
    QTest::keyClicks(doc, "ci");
    QInputMethodEvent preedit(QStringLiteral("ci"), {});
    QApplication::sendEvent(doc, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("词"));
    QApplication::sendEvent(doc, &commit);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("ci词"));
    EXPECT_EQ(form->findChild<QWidget*>("skTitleBar")->focusPolicy(), Qt::NoFocus);
}
