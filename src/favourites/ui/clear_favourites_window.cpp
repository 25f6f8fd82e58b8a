#include "favourites/ui/clear_favourites_window.h"

#include "skin/ui/dialog_parts.h"

#include <QPushButton>

TForm10::TForm10(QWidget* parent) : QDialog(parent) {
    skin::frameDialog(this, QStringLiteral("Form10"), QSize(270, 257), true);
    skin::dialogLabel(this, QStringLiteral("您的个人收藏将全部被删"), {64, 72});
    skin::dialogLabel(this, QStringLiteral("除，请考虑清楚方可执行！"), {32, 96});
    skButton1 =
        skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("确定"), {160, 160});
    skButton2 =
        skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("取消"), {160, 200});
    setTabOrder(skButton2, skButton1);
    // No field here: Enter presses the focused button, 取消 as the window opens.
    for (QPushButton* b : {skButton1, skButton2})
        b->setAutoDefault(true);
    skButton2->setFocus();
    connect(skButton1, &QPushButton::clicked, this, &QDialog::accept);
    connect(skButton2, &QPushButton::clicked, this, &QDialog::reject);
}
