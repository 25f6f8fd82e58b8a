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

AddFavouriteWindow::AddFavouriteWindow(ModalRunner& modals, Commit commit, QWidget* parent)
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
    nameField = new QLineEdit(this);
    nameField->setObjectName(QStringLiteral("Edit1"));
    labelled(QStringLiteral("词牌名"), nameField, 22);
    examplesField = new QPlainTextEdit(this);
    examplesField->setObjectName(QStringLiteral("Memo1"));
    labelled(QStringLiteral("诗词例句"), examplesField, 96);
    patternField = new QPlainTextEdit(this);
    patternField->setObjectName(QStringLiteral("Memo2"));
    labelled(QStringLiteral("词谱"), patternField, 112);
    const int buttons = y + 4;
    addButton = skin::dialogButton(this, QStringLiteral("skButton1"), QStringLiteral("添加"),
                                   {128, buttons});
    quitButton = skin::dialogButton(this, QStringLiteral("skButton2"), QStringLiteral("退出"),
                                    {216, buttons});
    setFixedSize(317, addButton->geometry().bottom() + 1 + 16);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setTabOrder(nameField, examplesField);
    setTabOrder(examplesField, patternField);
    setTabOrder(patternField, addButton);
    setTabOrder(addButton, quitButton);
    for (QWidget* field : {static_cast<QWidget*>(nameField), static_cast<QWidget*>(examplesField),
                           static_cast<QWidget*>(patternField)})
        field->installEventFilter(this);
    connect(addButton, &QPushButton::clicked, this, &AddFavouriteWindow::add);
    connect(quitButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool AddFavouriteWindow::eventFilter(QObject* watched, QEvent* event) {
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

void AddFavouriteWindow::add() {
    if (nameField->text().isEmpty()) {
        m_modals.showMessage(this, QStringLiteral("请填写词牌名！"));
        return;
    }
    if (patternField->toPlainText().isEmpty()) {
        m_modals.showMessage(this, QStringLiteral("请填写词谱！"));
        return;
    }
    if (m_commit(nameField->text(), examplesField->toPlainText(), patternField->toPlainText()))
        accept();
}
