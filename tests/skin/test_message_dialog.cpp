#include "base/ui/modals.h"
#include "skin/ui/input_dialogs.h"
#include "skin/ui/look.h"
#include "skin/ui/message_dialog.h"
#include "skin/ui/pictures.h"
#include "skin/ui/title_bar.h"
#include "support/recording_modals.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs the dialog and hands its window to `inspect` while it is open.
int run(TskMessageDialog& d, const std::function<void(QDialog&)>& inspect) {
    RecordingModals modals;
    modals.answer = inspect;
    return d.Execute(modals);
}

} // namespace

TEST(MessageDialog, TwoButtonsConfirmAtTheLeftAndFocused) {
    QObject owner;
    auto* d = TskMessageDialog::programDialog("skMessageDialog5", TskMessageDialog::skWarning,
                                              QString::fromUtf8("请输入查找内容！"), &owner);
    int result = run(*d, [](QDialog& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* ok = w.findChild<QPushButton*>("Button1");
        auto* quit = w.findChild<QPushButton*>("Button2");
        EXPECT_EQ(ok->text(), QString::fromUtf8("确定"));
        EXPECT_EQ(quit->text(), QString::fromUtf8("退出"));
        EXPECT_LT(ok->x(), quit->x());
        EXPECT_TRUE(ok->hasFocus());
        EXPECT_EQ(w.windowTitle(), "Quillmere2004");

        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        const QString rule(27, '-');
        EXPECT_EQ(QApplication::clipboard()->text(),
                  QStringList({rule, "Quillmere2004", rule, QString::fromUtf8("请输入查找内容！"),
                               rule, QString::fromUtf8("退出   确定"), rule})
                      .join("\r\n"));
        quit->click();
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST(MessageDialog, LayoutFollowsIconAndText) {
    QObject owner;
    struct Case {
        TskMessageDialog::IconType icon;
        int buttons;
        QString text;
    } cases[] = {
        {TskMessageDialog::skWarning, 2, "short"},
        {TskMessageDialog::skNone, 2, "short"},
        {TskMessageDialog::skNone, 3, "short"},
        {TskMessageDialog::skHelp, 1, QString(400, QChar(0x4E00))},
        {TskMessageDialog::skStop, 1, "short"},
        {TskMessageDialog::skInformation, 3, "short"},
    };
    for (const Case& c : cases) {
        TskMessageDialog d("d", &owner);
        d.iconType = c.icon;
        d.ButtonCount = c.buttons;
        d.Text = c.text;
        run(d, [&](QDialog& w) {
            const int expectedWidth =
                (c.icon == TskMessageDialog::skNone && c.buttons < 3) ? 336 - 64 : 336;
            EXPECT_EQ(w.width(), expectedWidth);
            auto* label = w.findChild<QLabel*>("Label");
            EXPECT_EQ(label->x(), c.icon == TskMessageDialog::skNone ? 24 : 88);
            const int bottom = std::max(label->geometry().bottom() + 1,
                                        c.icon == TskMessageDialog::skNone ? 0 : 64 + 42);
            for (auto* b : w.findChildren<QPushButton*>()) {
                EXPECT_EQ(b->y(), bottom + 20) << "20 pixels below the lower of text and icon";
                EXPECT_EQ(b->size(), QSize(73, 25));
            }
            EXPECT_EQ(w.height(), bottom + 65);
            EXPECT_EQ(w.findChildren<QPushButton*>().size(), c.buttons);
            if (c.icon != TskMessageDialog::skNone) {
                const QImage icon = w.findChild<QLabel*>("Image")->pixmap().toImage();
                ASSERT_FALSE(icon.isNull());
                EXPECT_GT(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 0)
                    << "the icon is drawn";
            }
        });
    }
}

TEST(MessageDialog, TheTitleBarDrawsTheDialogsCaptionFont) {
    QObject owner;
    const QColor darkBlue = skin::colourFromNumber(0x804000), white(Qt::white);
    auto program = [&owner] {
        return TskMessageDialog::programDialog("skMessageDialog5", TskMessageDialog::skWarning,
                                               QString::fromUtf8("请输入查找内容！"), &owner);
    };
    struct Case {
        const char* what;
        TskMessageDialog* dialog;
        UIStyle style;
        QString family;
        QColor colour; // invalid: the style's own title colour
    } cases[] = {
        {"the kit's default on a dark bar", new TskMessageDialog("d", &owner), UIStyle::WinXP,
         "Tahoma", white},
        {"a program dialog", program(), UIStyle::MacOS, QString::fromUtf8("宋体"), darkBlue},
        {"white on a light bar would not read", new TskMessageDialog("d", &owner), UIStyle::MacOS,
         "Tahoma", QColor()},
        {"nor dark blue on a dark one", program(), UIStyle::DeepBlue, QString::fromUtf8("宋体"),
         QColor()},
    };
    for (const Case& c : cases) {
        c.dialog->uiStyle = c.style;
        run(*c.dialog, [&](QDialog& w) {
            auto* bar = w.findChild<TskTitleBar*>();
            ASSERT_TRUE(bar) << c.what;
            EXPECT_EQ(bar->captionFont().family(), c.family) << c.what;
            EXPECT_TRUE(bar->captionFont().bold()) << c.what;
            for (bool active : {true, false}) {
                const QColor expected = c.colour.isValid()
                                            ? c.colour
                                            : skin::pictures::titleText(skin::lookFor(bar), active);
                EXPECT_EQ(bar->captionColour(active), expected) << c.what;
            }
        });
    }

    // Drawn, not only held: the caption's pixels are in the dialog's colour.
    run(*cases[1].dialog, [&](QDialog& w) {
        w.show();
        auto* bar = w.findChild<TskTitleBar*>();
        const QImage shot = bar->grab().toImage();
        int inColour = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                inColour += QColor(shot.pixel(x, y)) == darkBlue;
        EXPECT_GT(inColour, 10);
    });
}

TEST(MessageDialog, TheProgramsBoxesAndTheKitsDefaultButtonsAreChinese) {
    TskMessageDialog::presentProgramBoxes();
    for (const bool error : {true, false}) {
        SCOPED_TRACE(error ? "error box" : "message box");
        QStringList captions;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_TRUE(box);
            for (QPushButton* b : box->findChildren<QPushButton*>())
                captions << b->text();
            box->close();
        });
        InteractiveModals modals;
        if (error)
            modals.showError(nullptr, QString::fromUtf8("不能打开文件"));
        else
            modals.showMessage(nullptr, QString::fromUtf8("已保存"));
        EXPECT_EQ(captions, QStringList{QString::fromUtf8("确定")});
    }
    InteractiveModals::setBoxPresenter({});

    QObject owner;
    TskMessageDialog message("skMessageDialog1", &owner);
    TskInputDialog input("skInputDialog1", &owner);
    TskPasswordDialog password("skPasswordDialog1", &owner);
    for (const QString& caption :
         {message.ButtonCaption[0], message.ButtonCaption[1], message.ButtonCaption[2],
          input.OkCaption, input.CancelCaption, password.OkCaption, password.CancelCaption}) {
        EXPECT_TRUE(caption == QString::fromUtf8("确定") || caption == QString::fromUtf8("取消"))
            << caption.toStdString();
    }
}
