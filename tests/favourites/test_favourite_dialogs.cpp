// The small dialogs of the 收藏 and 帮助 menus as a user meets them: the kit's frame,
// labels that are not cut, a window that fits the screen, and Enter on a focused button.

#include "app/ui/about_box.h"
#include "app/ui/startup_notice.h"
#include "app/ui/version_history.h"
#include "favourites/ui/add_favourite_window.h"
#include "favourites/ui/clear_favourites_window.h"
#include "favourites/ui/edit_favourites_window.h"
#include "skin/ui/skinned.h"
#include "skin/ui/title_bar.h"
#include "support/recording_modals.h"
#include "support/recording_url_opener.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

TEST(FavouriteDialogs, EveryDialogWearsTheKitsFrame) {
    RecordingModals modals;
    RecordingUrlOpener urls;
    QTemporaryDir dir;
    struct Case {
        const char* name;
        std::unique_ptr<QDialog> dialog;
    };
    Case cases[] = {
        {"add", std::make_unique<AddFavouriteWindow>(
                    modals, [](auto&&...) { return true; }, nullptr)},
        {"edit list", std::make_unique<EditFavouritesWindow>(
                          QString(), [](auto&&) { return true; }, nullptr)},
        {"clear", std::make_unique<ClearFavouritesWindow>(nullptr)},
        {"about", std::make_unique<AboutBox>(urls)},
        {"version history", std::make_unique<VersionHistoryWindow>()},
        {"start-up notice", std::make_unique<StartupNotice>(dir.filePath("Mqini.ini"), modals)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* frame = c.dialog->findChild<TskForm*>(QStringLiteral("skForm1"));
        ASSERT_TRUE(frame);
        ASSERT_TRUE(frame->titleBar());
        EXPECT_TRUE(c.dialog->windowFlags() & Qt::FramelessWindowHint);
        c.dialog->show();
        EXPECT_TRUE(frame->titleBar()->isVisible());
        EXPECT_LE(frame->titleBar()->y(), TskForm::kEdge) << "at the window's top";
    }
}

TEST(FavouriteDialogs, TheAddWindowsLabelsAreWholeAndItFitsAHalfHeightScreen) {
    RecordingModals modals;
    AddFavouriteWindow w(
        modals, [](auto&&...) { return true; }, nullptr);
    struct Case {
        const char* label;
        QWidget* field;
    } cases[] = {{"词牌名", w.nameField}, {"诗词例句", w.examplesField}, {"词谱", w.patternField}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QLabel* label = nullptr;
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->text() == QString::fromUtf8(c.label))
                label = l;
        ASSERT_TRUE(label);
        EXPECT_GE(label->height(), label->sizeHint().height());
        EXPECT_LT(label->geometry().bottom(), c.field->geometry().top()) << "not under its field";
    }
    EXPECT_LT(w.patternField->geometry().bottom(), w.addButton->geometry().top());
    EXPECT_LE(w.addButton->geometry().bottom(), w.height());
    // At scale 2 a 900-pixel screen holds 450 pixels of the design.
    EXPECT_LE(w.height(), 450);
}

TEST(FavouriteDialogs, EnterPressesTheFocusedButtonOfTheClearConfirmation) {
    struct Case {
        const char* name;
        int tabs; // from 取消, where the focus starts
        int result;
    } cases[] = {{"取消", 0, QDialog::Rejected}, {"确定", 1, QDialog::Accepted}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearFavouritesWindow w(nullptr);
        w.setResult(-1);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        for (int i = 0; i < c.tabs; ++i)
            QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(static_cast<QPushButton*>(w.focusWidget())->text(), QString::fromUtf8(c.name));
        QTest::keyClick(w.focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), c.result);
    }
}
