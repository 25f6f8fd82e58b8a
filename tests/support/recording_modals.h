#pragma once
// Answers modal windows at once and records what was shown, so window tests run
// without a user.

#include "app/ui/modals.h"

#include <QDialog>
#include <QStringList>
#include <functional>

struct RecordingModals : ModalRunner {
    QStringList dialogs; // objectNames of the modal windows run
    QStringList errors;  // messages of the error boxes
    // Optional answer for a dialog; by default it is closed as cancelled.
    std::function<int(QDialog&)> answer;

    int exec(QDialog& dialog) override
    {
        dialogs << dialog.objectName();
        return answer ? answer(dialog) : int(QDialog::Rejected);
    }
    void showError(QWidget*, const QString& message) override { errors << message; }
};
