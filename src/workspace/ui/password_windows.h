#pragma once
// The three password windows: set a password (Form6), remove the protection (Form7) and
// the start-up prompt (Form8). Each checks what is typed against the settings file and
// reports input errors in plain message boxes.

#include <QDialog>

class ModalRunner;
class QLineEdit;
class QPushButton;
class SettingsFile;

namespace workspace {
// A masked field showing each typed character as "*"; Enter moves on as described.
QLineEdit* maskedField(QWidget* parent, const QString& name, QRect at);
} // namespace workspace

class SetPasswordWindow : public QDialog {
    Q_OBJECT
  public:
    SetPasswordWindow(SettingsFile& settings, ModalRunner& modals, QWidget* parent = nullptr);
    QLineEdit *passwordField, *confirmField; // Edit1, Edit2
    QPushButton *okButton, *cancelButton;    // Button1 确定, Button2 取消
    void confirm();

  private:
    SettingsFile& m_settings;
    ModalRunner& m_modals;
};

// A window that asks for the password in one masked field: 确定 closes it on the right
// password and says "密码输入不正确！" on a wrong one.
class PasswordAsk : public QDialog {
    Q_OBJECT
  public:
    QLineEdit* passwordField;             // Edit1
    QPushButton *okButton, *cancelButton; // Button1 确定, Button2 取消 or 退出
    void confirm();

  protected:
    struct Layout {
        const char* name;
        QSize client;
        const char* prompt;
        QPoint promptAt;
        bool heading; // the prompt as a blue bold italic heading
        QRect field;
        int buttonsTop, confirmLeft, cancelLeft;
        const char* cancel;
    };
    PasswordAsk(const Layout& layout, SettingsFile& settings, ModalRunner& modals, QWidget* parent);
    SettingsFile& m_settings;
    ModalRunner& m_modals;
};

// Removing the protection.
class RemovePasswordWindow : public PasswordAsk {
    Q_OBJECT
  public:
    RemovePasswordWindow(SettingsFile& settings, ModalRunner& modals, QWidget* parent = nullptr);
};

// The start-up prompt.
class PasswordPrompt : public PasswordAsk {
    Q_OBJECT
  public:
    PasswordPrompt(SettingsFile& settings, ModalRunner& modals, QWidget* parent = nullptr);
    // Writes the lock marker as the prompt closes: "qelm" after the right password,
    // "morvel" otherwise.
    void done(int result) override;
    // The lock marker the prompt left, whether or not it reached the settings file.
    QString marker() const { return m_marker; }

  private:
    QString m_marker;
};

namespace workspace {
// Checks a typed password against [temp] word as it is now; a password stored in plain
// text by an earlier version is replaced by its hash once it has been given correctly.
bool checkPassword(SettingsFile& settings, const QString& typed);
} // namespace workspace
