#include "favourites/ui/edit_favourites_window.h"

#include "skin/ui/dialog_parts.h"

#include <QPlainTextEdit>
#include <QPushButton>

EditFavouritesWindow::EditFavouritesWindow(const QString& text, Commit commit, QWidget* parent)
    : QDialog(parent), m_commit(std::move(commit)) {
    skin::frameDialog(this, QStringLiteral("Form11"), QSize(300, 425), true);
    skin::dialogLabel(this, QStringLiteral("修改我的收藏列表 >>"), {24, 56}, true);
    namesField = new QPlainTextEdit(this);
    namesField->setObjectName(QStringLiteral("Memo1"));
    namesField->setStatusTip(QStringLiteral("NO.1编辑区"));
    namesField->setToolTip(namesField->statusTip());
    namesField->setGeometry(48, 88, 209, 257);
    namesField->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    namesField->setLineWrapMode(QPlainTextEdit::NoWrap);
    namesField->setPlainText(text);
    okButton =
        skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("确定"), {112, 360});
    cancelButton =
        skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("取消"), {200, 360});
    connect(okButton, &QPushButton::clicked, this, [this] {
        if (m_commit(namesField->toPlainText()))
            accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}
