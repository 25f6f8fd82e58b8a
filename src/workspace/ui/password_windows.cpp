#include "workspace/ui/password_windows.h"

#include "base/core/app_error.h"
#include "base/core/settings_file.h"
#include "base/ui/modals.h"
#include "skin/ui/dialog_parts.h"
#include "workspace/core/lock_keys.h"
#include "workspace/core/password.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTemp = QString::fromLatin1(lock::kSection);
const QString kWord = QString::fromLatin1(lock::kPasswordKey);

} // namespace

namespace workspace {

QLineEdit* maskedField(QWidget* parent, const QString& name, QRect at) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    e->setGeometry(at);
    return e;
}

bool checkPassword(SettingsFile& settings, const QString& typed) {
    const QString stored = settings.readString(kTemp, kWord);
    if (!password::matches(typed, stored))
        return false;
    if (password::isLegacy(stored) && !stored.isEmpty()) {
        try {
            settings.writeString(kTemp, kWord, password::hash(typed));
        } catch (const AppError&) {
            // The right password opens the lock even when its hash cannot be stored
            // yet; the plain value is replaced at a later opening.
        }
    }
    return true;
}

} // namespace workspace

using skin::dialogButton;
using skin::dialogLabel;
using workspace::maskedField;

SetPasswordWindow::SetPasswordWindow(SettingsFile& settings, ModalRunner& modals, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_modals(modals) {
    skin::frameDialog(this, QStringLiteral("Form6"), QSize(337, 261));
    dialogLabel(this, QStringLiteral("密码保护"), {31, 64}, true);
    dialogLabel(this, QStringLiteral("密码"), {56, 107});
    dialogLabel(this, QStringLiteral("确认"), {56, 139});
    passwordField = maskedField(this, QStringLiteral("Edit1"), QRect(88, 104, 177, 20));
    confirmField = maskedField(this, QStringLiteral("Edit2"), QRect(88, 136, 177, 20));
    okButton = dialogButton(this, QStringLiteral("Button1"), QStringLiteral("确定"), {136, 192});
    cancelButton =
        dialogButton(this, QStringLiteral("Button2"), QStringLiteral("取消"), {224, 192});
    connect(passwordField, &QLineEdit::returnPressed, confirmField,
            [this] { confirmField->setFocus(); });
    connect(confirmField, &QLineEdit::returnPressed, this, [this] {
        okButton->setFocus();
        confirm();
    });
    connect(okButton, &QPushButton::clicked, this, &SetPasswordWindow::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void SetPasswordWindow::confirm() {
    if (passwordField->text().isEmpty() || confirmField->text().isEmpty()) {
        m_modals.showMessage(this, QStringLiteral("请输入密码！"));
        return;
    }
    if (passwordField->text() != confirmField->text()) {
        m_modals.showMessage(this, QStringLiteral("密码输入不一样，请重新输入"));
        return;
    }
    runGuarded(m_modals, this, [&] {
        m_settings.writeString(kTemp, kWord, password::hash(passwordField->text()));
        accept(); // only once the password is stored
    });
}

PasswordAsk::PasswordAsk(const Layout& l, SettingsFile& settings, ModalRunner& modals,
                         QWidget* parent)
    : QDialog(parent), m_settings(settings), m_modals(modals) {
    skin::frameDialog(this, QString::fromLatin1(l.name), l.client);
    dialogLabel(this, QString::fromUtf8(l.prompt), l.promptAt, l.heading);
    passwordField = maskedField(this, QStringLiteral("Edit1"), l.field);
    okButton = dialogButton(this, QStringLiteral("Button1"), QStringLiteral("确定"),
                            {l.confirmLeft, l.buttonsTop});
    cancelButton = dialogButton(this, QStringLiteral("Button2"), QString::fromUtf8(l.cancel),
                                {l.cancelLeft, l.buttonsTop});
    connect(passwordField, &QLineEdit::returnPressed, this, [this] {
        okButton->setFocus();
        confirm();
    });
    connect(okButton, &QPushButton::clicked, this, &PasswordAsk::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordAsk::confirm() {
    bool right = false, checked = false;
    runGuarded(m_modals, this, [&] {
        right = workspace::checkPassword(m_settings, passwordField->text());
        checked = true;
    });
    if (!checked)
        return; // the error box has said why
    if (right)
        accept();
    else
        m_modals.showMessage(this, QStringLiteral("密码输入不正确！"));
}

RemovePasswordWindow::RemovePasswordWindow(SettingsFile& settings, ModalRunner& modals,
                                           QWidget* parent)
    : PasswordAsk({"Form7",
                   {323, 238},
                   "请输入解除保护密码：",
                   {48, 80},
                   false,
                   {48, 104, 217, 20},
                   168,
                   136,
                   224,
                   "取消"},
                  settings, modals, parent) {}

PasswordPrompt::PasswordPrompt(SettingsFile& settings, ModalRunner& modals, QWidget* parent)
    : PasswordAsk({"Form8",
                   {310, 241},
                   "您的诗词已被密码保护",
                   {32, 72},
                   true,
                   {48, 112, 217, 20},
                   168,
                   120,
                   208,
                   "退出"},
                  settings, modals, parent) {}

void PasswordPrompt::done(int result) {
    m_marker = QString::fromLatin1(result == QDialog::Accepted ? lock::kOpened : lock::kLocked);
    runGuarded(m_modals, this, [&] {
        m_settings.writeString(kTemp, QString::fromLatin1(lock::kMarkerKey), m_marker);
    });
    QDialog::done(result);
}
