#include "favourites/ui/clear_favourites_window.h"

#include "skin/ui/dialog_parts.h"

#include <QPushButton>

ClearFavouritesWindow::ClearFavouritesWindow(QWidget* parent) : QDialog(parent) {
    skin::frameDialog(this, QStringLiteral("Form10"), QSize(270, 257), true);
    skin::dialogLabel(this, QStringLiteral("您的个人收藏将全部被删"), {64, 72});
    skin::dialogLabel(this, QStringLiteral("除，请考虑清楚方可执行！"), {32, 96});
    okButton =
        skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("确定"), {160, 160});
    cancelButton =
        skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("取消"), {160, 200});
    setTabOrder(cancelButton, okButton);
    // No field here: Enter presses the focused button, 取消 as the window opens.
    for (QPushButton* b : {okButton, cancelButton})
        b->setAutoDefault(true);
    cancelButton->setFocus();
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}
