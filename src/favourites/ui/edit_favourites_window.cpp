#include "favourites/ui/edit_favourites_window.h"

#include "skin/ui/dialog_parts.h"

#include <QPlainTextEdit>
#include <QPushButton>

TForm11::TForm11(const QString& text, Commit commit, QWidget* parent)
    : QDialog(parent), m_commit(std::move(commit)) {
    skin::frameDialog(this, QStringLiteral("Form11"), QSize(300, 425), true);
    skin::dialogLabel(this, QStringLiteral("修改我的收藏列表 >>"), {24, 56}, true);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setStatusTip(QStringLiteral("NO.1编辑区"));
    Memo1->setToolTip(Memo1->statusTip());
    Memo1->setGeometry(48, 88, 209, 257);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(text);
    skButton1 =
        skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("确定"), {112, 360});
    skButton2 =
        skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("取消"), {200, 360});
    connect(skButton1, &QPushButton::clicked, this, [this] {
        if (m_commit(Memo1->toPlainText()))
            accept();
    });
    connect(skButton2, &QPushButton::clicked, this, &QDialog::reject);
}
