#include "base/ui/modals.h"

#include "base/core/app_error.h"

#include <QDialog>
#include <QMessageBox>

namespace {
InteractiveModals::BoxPresenter& presenter() {
    static InteractiveModals::BoxPresenter p;
    return p;
}
} // namespace

void InteractiveModals::setBoxPresenter(BoxPresenter p) {
    presenter() = std::move(p);
}

int InteractiveModals::exec(QDialog& dialog) {
    return dialog.exec();
}

void InteractiveModals::showError(QWidget* parent, const QString& message) {
    if (presenter())
        return presenter()(parent, errorBoxText(message), true);
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                    errorBoxText(message), QMessageBox::Ok, parent);
    box.exec();
}

void InteractiveModals::showMessage(QWidget* parent, const QString& message) {
    if (presenter())
        return presenter()(parent, message, false);
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), message,
                    QMessageBox::Ok, parent);
    box.exec();
}

void runGuarded(ModalRunner& modals, QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const AppError& e) {
        modals.showError(parent, e.message());
    }
}
