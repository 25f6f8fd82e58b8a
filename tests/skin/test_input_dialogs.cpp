#include "skin/ui/input_dialogs.h"
#include "skin/ui/theme_manager.h"
#include "skin/ui/title_bar.h"
#include "support/recording_modals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void showActive(QDialog& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// Commits `text` to the focused field as an input method does.
void commit(const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(QApplication::focusWidget(), &event);
}

} // namespace

TEST(InputDialog, EnterAcceptsTheTypedLineAndEveryOtherWayOutCancels) {
    enum class End { Enter, Ok, Escape, Cancel, Close };
    struct Case {
        const char* what;
        End end;
        int result;
        QString value;
    } cases[] = {
        {"Enter in the field", End::Enter, QDialog::Accepted, QString::fromUtf8("旧词新诗")},
        {"OK", End::Ok, QDialog::Accepted, QString::fromUtf8("旧词新诗")},
        {"Escape", End::Escape, QDialog::Rejected, QString::fromUtf8("旧词")},
        {"Cancel", End::Cancel, QDialog::Rejected, QString::fromUtf8("旧词")},
        {"the close button", End::Close, QDialog::Rejected, QString::fromUtf8("旧词")},
    };
    for (const Case& c : cases) {
        QObject owner;
        TskInputDialog d("skInputDialog1", &owner);
        d.Value = QString::fromUtf8("旧词");
        RecordingModals modals;
        modals.answer = [&](QDialog& w) {
            showActive(w);
            EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "Prompt text:");
            auto* edit = w.findChild<QLineEdit*>("Edit1");
            ASSERT_TRUE(edit->hasFocus());
            EXPECT_EQ(edit->selectedText(), d.Value) << "the old value is selected";
            QTest::keyClick(edit, Qt::Key_End);
            commit(QString::fromUtf8("新诗"));
            EXPECT_EQ(edit->text(), QString::fromUtf8("旧词新诗"))
                << "the frame leaves input-method text to the field";
            switch (c.end) {
            case End::Enter:
                QTest::keyClick(edit, Qt::Key_Return);
                break;
            case End::Ok:
                w.findChild<QPushButton*>("Button1")->click();
                break;
            case End::Escape:
                QTest::keyClick(edit, Qt::Key_Escape);
                break;
            case End::Cancel:
                w.findChild<QPushButton*>("Button2")->click();
                break;
            case End::Close:
                static_cast<QAbstractButton*>(w.findChild<TskTitleBar*>()->button(2))->click();
                break;
            }
            EXPECT_FALSE(w.isVisible()) << c.what;
        };
        EXPECT_EQ(d.Execute(modals), c.result) << c.what;
        EXPECT_EQ(d.Value, c.value) << c.what;
        EXPECT_EQ(modals.dialogs, QStringList{"skInputDialog1"});
    }
}

TEST(PasswordDialog, MasksThePasswordAndReturnsBothFieldsOnEnter) {
    QObject owner;
    TskPasswordDialog d("skPasswordDialog1", &owner);
    RecordingModals modals;
    modals.answer = [&](QDialog& w) {
        showActive(w);
        EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "User name:");
        EXPECT_EQ(w.findChild<QLabel*>("Label2")->text(), "Password:");
        auto* user = w.findChild<QLineEdit*>("Edit1");
        auto* password = w.findChild<QLineEdit*>("Edit2");
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        ASSERT_TRUE(user->hasFocus()) << "an empty user name is asked for first";
        commit(QString::fromUtf8("白石"));
        QTest::keyClick(user, Qt::Key_Tab);
        ASSERT_TRUE(password->hasFocus());
        QTest::keyClicks(password, "se cret");
        auto* ok = w.findChild<QPushButton*>("Button1");
        auto* cancel = w.findChild<QPushButton*>("Button2");
        EXPECT_LT(ok->x(), cancel->x()) << "OK at the left, Cancel at the right";
        EXPECT_EQ(cancel->geometry().right(), w.width() - 24 - 1);
        EXPECT_EQ(ok->y(), password->geometry().bottom() + 1 + 20);
        QTest::keyClick(password, Qt::Key_Enter);
    };
    ASSERT_EQ(d.Execute(modals), QDialog::Accepted);
    EXPECT_EQ(d.UserName, QString::fromUtf8("白石"));
    EXPECT_EQ(d.Password, "se cret");

    // Cancelled: what the fields held before stays.
    modals.answer = [](QDialog& w) {
        showActive(w);
        EXPECT_TRUE(w.findChild<QLineEdit*>("Edit2")->hasFocus())
            << "with a user name given, the password is asked for";
        QTest::keyClicks(w.findChild<QLineEdit*>("Edit2"), "x");
        QTest::keyClick(&w, Qt::Key_Escape);
    };
    EXPECT_EQ(d.Execute(modals), QDialog::Rejected);
    EXPECT_EQ(d.Password, "se cret");
}

TEST(InputDialogs, TheFormsThemeManagerStylesTheirFrames) {
    QWidget form;
    auto* input = new TskInputDialog("skInputDialog1", &form);
    auto* password = new TskPasswordDialog("skPasswordDialog1", &form);
    TskThemeManager manager("skThemeManager1", &form);
    manager.setCompList({"skInputDialog1", "skPasswordDialog1"});
    manager.setUIStyle(UIStyle::Protein);
    RecordingModals modals;
    modals.answer = [](QDialog& w) {
        auto* frame = w.findChild<TskForm*>("skForm1");
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->uiStyle(), UIStyle::Protein) << qPrintable(w.objectName());
        EXPECT_TRUE(frame->titleBar());
    };
    input->Execute(modals);
    password->Execute(modals);
    EXPECT_EQ(modals.dialogs, QStringList({"skInputDialog1", "skPasswordDialog1"}));
}
