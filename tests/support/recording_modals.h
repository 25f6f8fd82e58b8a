#pragma once
// Answers modal windows at once and records what was shown, so window tests run
// without a user.

#include "base/ui/modals.h"

#include <QDialog>
#include <QStringList>
#include <functional>

struct RecordingModals : ModalRunner {
    QStringList dialogs;  // objectNames of the modal windows run
    QStringList errors;   // messages of the error boxes
    QStringList messages; // texts of the plain message boxes
    // Optional answer for a dialog (it may click the dialog's buttons); without one,
    // or when the answer leaves the dialog open, it is closed as cancelled.
    std::function<void(QDialog&)> answer;

    int exec(QDialog& dialog) override {
        dialogs << dialog.objectName();
        dialog.setResult(-1);
        if (answer)
            answer(dialog);
        if (dialog.result() == -1)
            dialog.reject();
        return dialog.result();
    }
    void showError(QWidget*, const QString& message) override { errors << message; }
    void showMessage(QWidget*, const QString& message) override { messages << message; }
};
