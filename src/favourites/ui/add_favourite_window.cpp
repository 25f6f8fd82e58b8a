#include "favourites/ui/add_favourite_window.h"

#include "base/ui/modals.h"
#include "skin/ui/dialog_parts.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TForm4::TForm4(ModalRunner& modals, Commit commit, QWidget* parent)
    : QDialog(parent), m_modals(modals), m_commit(std::move(commit)) {
    skin::frameDialog(this, QStringLiteral("Form4"), QSize(317, 451), true);
    skin::dialogLabel(this, QStringLiteral("添加个人收藏 >>"), {24, 48}, true);
    skin::dialogLabel(this, QStringLiteral("词牌名"), {30, 73});
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(32, 86, 249, 22);
    skin::dialogLabel(this, QStringLiteral("诗词例句"), {30, 113});
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(32, 128, 249, 105);
    skin::dialogLabel(this, QStringLiteral("词谱"), {30, 241});
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(32, 256, 249, 121);
    skButton1 =
        skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("添加"), {128, 392});
    skButton2 =
        skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("退出"), {216, 392});
    setTabOrder(Edit1, Memo1);
    setTabOrder(Memo1, Memo2);
    setTabOrder(Memo2, skButton1);
    setTabOrder(skButton1, skButton2);
    for (QWidget* field :
         {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Memo1), static_cast<QWidget*>(Memo2)})
        field->installEventFilter(this);
    connect(skButton1, &QPushButton::clicked, this, &TForm4::add);
    connect(skButton2, &QPushButton::clicked, this, &QDialog::reject);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter writes nothing into a field; it goes on to the next control.
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm4::add() {
    if (Edit1->text().isEmpty()) {
        m_modals.showMessage(this, QStringLiteral("请填写词牌名！"));
        return;
    }
    if (Memo2->toPlainText().isEmpty()) {
        m_modals.showMessage(this, QStringLiteral("请填写词谱！"));
        return;
    }
    if (m_commit(Edit1->text(), Memo1->toPlainText(), Memo2->toPlainText()))
        accept();
}
