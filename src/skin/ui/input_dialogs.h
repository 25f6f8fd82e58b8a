#pragma once
// The kit's input dialog (one prompted line) and password dialog (a user name and a
// masked password), on the message dialog's frame: OK accepts, also by Enter; Cancel,
// Escape and the close button cancel.

#include "skin/ui/kit_dialog.h"

#include <QString>

class ModalRunner;
class QWidget;

class TskInputDialog : public TskDialog {
    Q_OBJECT
  public:
    TskInputDialog(const QString& name, QObject* owner);

    QString Prompt = QStringLiteral("Prompt text:");
    // Shown in the field when the window opens; the field's text after OK.
    QString Value;
    QString OkCaption = QStringLiteral("确定"), CancelCaption = QStringLiteral("取消");

    // Runs the window through `runner`: Accepted after OK (Value then holds the
    // field), Rejected otherwise.
    int Execute(ModalRunner& runner, QWidget* parent = nullptr);

    // Dressed as the program's message dialogs: caption "Quillmere2004", the program's
    // fonts, 确定 and 退出.
    static TskInputDialog* programDialog(const QString& name, QObject* owner);
};

class TskPasswordDialog : public TskDialog {
    Q_OBJECT
  public:
    TskPasswordDialog(const QString& name, QObject* owner);

    QString UserNameLabel = QStringLiteral("User name:");
    QString PasswordLabel = QStringLiteral("Password:");
    // Shown when the window opens; the fields' texts after OK.
    QString UserName, Password;
    QString OkCaption = QStringLiteral("确定"), CancelCaption = QStringLiteral("取消");

    int Execute(ModalRunner& runner, QWidget* parent = nullptr);

    static TskPasswordDialog* programDialog(const QString& name, QObject* owner);
};
