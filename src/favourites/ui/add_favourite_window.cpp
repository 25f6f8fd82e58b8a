#include "favourites/ui/add_favourite_window.h"

#include "base/ui/modals.h"
#include "skin/ui/dialog_parts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

TForm4::TForm4(ModalRunner& modals, Commit commit, QWidget* parent)
    : QDialog(parent), m_modals(modals), m_commit(std::move(commit)) {
    // Laid out from the top, each field below its label's full height, so that no label
    // is cut at any font size; the window is as tall as its contents, which keeps it
    // within a 900-pixel screen at scale 2.
    skin::frameDialog(this, QStringLiteral("Form4"), QSize(317, 451));
    QLabel* heading = skin::dialogLabel(this, QStringLiteral("添加个人收藏 >>"), {24, 36}, true);
    int y = heading->geometry().bottom() + 1 + 4;
    auto labelled = [this, &y](const QString& caption, QWidget* field, int height) {
        QLabel* label = skin::dialogLabel(this, caption, {30, y});
        field->setGeometry(32, label->geometry().bottom() + 1 + 2, 249, height);
        y = field->geometry().bottom() + 1 + 6;
    };
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    labelled(QStringLiteral("词牌名"), Edit1, 22);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    labelled(QStringLiteral("诗词例句"), Memo1, 96);
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    labelled(QStringLiteral("词谱"), Memo2, 112);
    const int buttons = y + 4;
    skButton1 = skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("添加"),
                                   {128, buttons});
    skButton2 = skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("退出"),
                                   {216, buttons});
    setFixedSize(317, skButton1->geometry().bottom() + 1 + 16);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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
