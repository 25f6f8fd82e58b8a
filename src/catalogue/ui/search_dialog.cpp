#include "catalogue/ui/search_dialog.h"

#include "skin/ui/message_dialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

SearchDialog::SearchDialog(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form14"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Lyrevane"));
    setFixedHeight(300);
    setMinimumWidth(130);
    setMaximumWidth(380);
    resize(372, 300);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    QFont song(QStringLiteral("宋体"));
    song.setPixelSize(14);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 20);
    auto* title = new QLabel(QStringLiteral("查找词谱"), this);
    QFont titleFont(QStringLiteral("宋体"));
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    column->addWidget(title);
    searchBox = new QLineEdit(this);
    searchBox->setObjectName(QStringLiteral("e1"));
    searchBox->setFont(song);
    searchBox->setFixedSize(265, 20 + 6);
    column->addWidget(searchBox);
    auto* hint = new QLabel(
        QStringLiteral(
            "提示：请直接输入词牌名，输入可用词牌某个字。\n如：输入“蝶”字后将查找到“蝶恋花”。"),
        this);
    hint->setWordWrap(true);
    column->addWidget(hint);
    column->addStretch(1);
    auto* buttons = new QHBoxLayout;
    findButton = new QPushButton(QStringLiteral("查找"), this);
    findButton->setObjectName(QStringLiteral("skButton1"));
    findButton->setAutoDefault(false);
    quitButton = new QPushButton(QStringLiteral("退出"), this);
    quitButton->setObjectName(QStringLiteral("skButton2"));
    quitButton->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(findButton);
    buttons->addWidget(quitButton);
    column->addLayout(buttons);

    emptyMessage = TskMessageDialog::programDialog(QStringLiteral("skMessageDialog1"),
                                                   TskMessageDialog::skWarning,
                                                   QStringLiteral("请输入查找内容！"), this);
    missMessage = TskMessageDialog::programDialog(
        QStringLiteral("skMessageDialog2"), TskMessageDialog::skWarning,
        QStringLiteral(
            "很抱歉，您所输入的词牌名暂时没有在“常用词谱”、“通用词谱”和“冷僻词谱”中收藏！"),
        this);

    connect(findButton, &QPushButton::clicked, this,
            [this] { Q_EMIT searchRequested(searchBox->text()); });
    connect(searchBox, &QLineEdit::returnPressed, this, [this] {
        findButton->setFocus();
        Q_EMIT searchRequested(searchBox->text());
    });
    connect(quitButton, &QPushButton::clicked, this, &QDialog::close);
}

bool SearchDialog::event(QEvent* e) {
    // Each time it becomes active it goes above every other window.
    if (e->type() == QEvent::WindowActivate && !(windowFlags() & Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        show();
    }
    return QDialog::event(e);
}
