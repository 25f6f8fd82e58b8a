#include "support/app_fixture.h"
#include "workspace/core/password.h"
#include "workspace/ui/password_windows.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

QAction* action(QObject& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}
QWidget* widget(QObject& form, const char* name) {
    return form.findChild<QWidget*>(QString::fromLatin1(name));
}

// Types into the dialog's fields in order and presses 确定.
void typeAndConfirm(QDialog& d, QStringList texts) {
    for (QLineEdit* field : d.findChildren<QLineEdit*>(QRegularExpression("^Edit")))
        field->setText(texts.isEmpty() ? QString() : texts.takeFirst());
    d.findChild<QPushButton*>("Button1")->click();
}

// Answers each dialog in turn with one list of field texts; an empty list cancels.
std::function<void(QDialog&)> answers(QList<QStringList> script) {
    auto remaining = std::make_shared<QList<QStringList>>(std::move(script));
    return [remaining](QDialog& d) {
        if (!d.findChild<QPushButton*>("Button1"))
            return; // not a password window (the splash)
        while (!remaining->isEmpty() && d.result() == -1) {
            QStringList next = remaining->takeFirst();
            if (next.isEmpty()) {
                d.findChild<QPushButton*>("Button2")->click();
                return;
            }
            typeAndConfirm(d, next);
        }
    };
}

} // namespace

TEST(DocumentProtection, SurvivesARestartAndIsLiftedTheSameWay) {
    AppFixture app;
    for (bool on : {true, false}) {
        {
            auto form = app.start();
            if (action(*form, "P7")->isChecked() != on)
                action(*form, "P7")->trigger();
            ASSERT_TRUE(AppFixture::close(*form));
        }
        auto form = app.start();
        EXPECT_EQ(action(*form, "P7")->isChecked(), on);
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(form->findChild<QTextEdit*>(QStringLiteral("skm%1").arg(n))->isReadOnly(),
                      on);
        ASSERT_TRUE(AppFixture::close(*form));
    }
}

TEST(PasswordLock, SettingAPasswordChecksBothFieldsAndStoresOnlyAHash) {
    AppFixture app;
    auto form = app.start();
    app.modals.answer = answers({{"", ""}, {"春风", "秋风"}, {"春风", "春风"}});
    action(*form, "M4")->trigger();
    EXPECT_EQ(app.modals.messages, (QStringList{"请输入密码！", "密码输入不一样，请重新输入"}));
    EXPECT_TRUE(action(*form, "M4")->isChecked());
    const QString stored = form->settingsFile().readString("temp", "word");
    EXPECT_TRUE(stored.startsWith("$argon2id$")) << stored.toStdString();
    EXPECT_FALSE(app.ini().contains(QString::fromUtf8("春风")));
    EXPECT_TRUE(widget(*form, "skTabControl1")->isVisible() ||
                !widget(*form, "skTabControl1")->isHidden())
        << "turning the lock on hides nothing at once";

    app.modals.answer = answers({{}}); // 取消 on a second attempt leaves the lock off
    action(*form, "M4")->trigger();    // unchecks: asks for the password to remove it
    EXPECT_TRUE(action(*form, "M4")->isChecked()) << "取消 puts the check mark back";
}

TEST(PasswordLock, TheStartUpPromptHidesTheDocumentsUntilThePasswordIsGiven) {
    AppFixture app;
    {
        auto form = app.start();
        app.modals.answer = answers({{"月", "月"}});
        action(*form, "M4")->trigger();
        ASSERT_TRUE(AppFixture::close(*form));
    }
    // A wrong password keeps the prompt open; 退出 leaves it locked.
    app.modals.answer = answers({{"日"}, {}});
    app.modals.messages.clear();
    auto form = app.start();
    EXPECT_TRUE(app.modals.dialogs.contains("Form8"));
    EXPECT_EQ(app.modals.messages, QStringList{"密码输入不正确！"});
    EXPECT_EQ(form->settingsFile().readString("temp", "worder"), "morvel");
    EXPECT_TRUE(widget(*form, "skTabControl1")->isHidden());
    EXPECT_FALSE(widget(*form, "Memo1")->isHidden());

    // The commands that act on the documents keep working while they are hidden.
    form->findChild<QTextEdit*>("skm1")->setPlainText(QString::fromUtf8("藏起来的诗"));
    action(*form, "S1")->trigger();
    EXPECT_TRUE(app.tree.exists("save/mq1.dat"));
    app.modals.dialogs.clear();
    action(*form, "W2")->trigger();
    EXPECT_EQ(app.modals.dialogs, QStringList{"Form2"});

    // 密码保护 then 取消: the check comes back, the notice stays.
    app.modals.answer = answers({{}});
    action(*form, "M4")->trigger();
    EXPECT_TRUE(action(*form, "M4")->isChecked());
    EXPECT_TRUE(widget(*form, "skTabControl1")->isHidden());

    // 密码保护 with the right password shows the documents and turns the lock off.
    app.modals.answer = answers({{"月"}});
    action(*form, "M4")->trigger();
    EXPECT_FALSE(action(*form, "M4")->isChecked());
    EXPECT_FALSE(widget(*form, "skTabControl1")->isHidden());
    ASSERT_TRUE(AppFixture::close(*form));
    EXPECT_TRUE(app.tree.exists("save/mq1.rtf"));

    app.modals.dialogs.clear();
    auto again = app.start();
    EXPECT_FALSE(app.modals.dialogs.contains("Form8")) << "the next start asks nothing";
    EXPECT_FALSE(widget(*again, "skTabControl1")->isHidden());
}

TEST(PasswordLock, APlainPasswordFromAnEarlierVersionOpensOnceAndIsThenHashed) {
    AppFixture app;
    app.tree.put("Mqini.ini", "[temp]\r\nword=old pass\r\nchecked29=1\r\n");
    app.modals.answer = answers({{"old pass"}});
    auto form = app.start();
    EXPECT_FALSE(widget(*form, "skTabControl1")->isHidden());
    EXPECT_EQ(form->settingsFile().readString("temp", "worder"), "qelm");
    const QString stored = form->settingsFile().readString("temp", "word");
    EXPECT_TRUE(password::matches("old pass", stored));
    EXPECT_FALSE(password::isLegacy(stored));
}

TEST(PasswordLock, ANewPasswordReplacesTheOldOne) {
    SettingsFile settings(QDir::temp().filePath("lyrevane-pw-test.ini"));
    QFile::remove(settings.path());
    settings.writeString("temp", "word", password::hash("first"));
    settings.writeString("temp", "word", password::hash("second"));
    EXPECT_FALSE(workspace::checkPassword(settings, "first"));
    EXPECT_TRUE(workspace::checkPassword(settings, "second"));
    EXPECT_FALSE(workspace::checkPassword(settings, "Second")) << "byte for byte";
    QFile::remove(settings.path());
}

#include <QTest>

TEST(PasswordWindows, EnterMovesOnAndInTheLastFieldPressesConfirm) {
    RecordingModals modals;
    SettingsFile settings(QDir::temp().filePath("lyrevane-enter-test.ini"));
    QFile::remove(settings.path());
    SetPasswordWindow window(settings, modals);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.passwordField->setFocus();
    QTest::keyClicks(window.passwordField, "ab");
    QTest::keyClick(window.passwordField, Qt::Key_Return);
    EXPECT_TRUE(window.confirmField->hasFocus());
    EXPECT_EQ(window.passwordField->text(), "ab") << "Enter inserts nothing";
    QTest::keyClicks(window.confirmField, "ab");
    QTest::keyClick(window.confirmField, Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(workspace::checkPassword(settings, "ab"));
    QFile::remove(settings.path());
}

TEST(PasswordLock, APlainPasswordIsHashedAtStartUpWhetherOrNotItIsAskedFor) {
    struct Case {
        const char* name;
        const char* ini;
        QList<QStringList> answers;
    } cases[] = {
        {"lock off", "[temp]\r\nword=old pass\r\nchecked29=0\r\n", {}},
        {"prompt left with 退出", "[temp]\r\nword=old pass\r\nchecked29=1\r\n", {{}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture app;
        app.tree.put("Mqini.ini", c.ini);
        app.modals.answer = answers(c.answers);
        auto form = app.start();
        EXPECT_FALSE(app.tree.get("Mqini.ini").contains("old pass"));
        const QString stored = form->settingsFile().readString("temp", "word");
        EXPECT_TRUE(password::matches("old pass", stored));
        EXPECT_FALSE(password::matches("old", stored));
    }
}
