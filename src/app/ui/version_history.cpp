#include "app/ui/version_history.h"

#include "base/core/data_root.h"
#include "skin/ui/skinned.h"
#include "skin/ui/title_bar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

VersionHistoryWindow::VersionHistoryWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form5"));
    // A client area of 449 × 381 inside the kit's title bar and border.
    setFixedSize(449 + 2 * TskForm::kEdge, 381 + TskTitleBar::kHeight + 2 * TskForm::kEdge);
    auto* frame = new TskForm(QStringLiteral("skForm1"), this);
    frame->setFramed(true, true);
    frame->setCaption(QStringLiteral("Lyrevane"));
    frame->followOwner(parent);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    auto* heading = new QLabel(QStringLiteral("版本历史"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont(QStringLiteral("宋体"));
    headingFont.setPixelSize(19);
    heading->setFont(headingFont);
    column->addWidget(heading);

    historyText = new QPlainTextEdit(this);
    historyText->setObjectName(QStringLiteral("skMemo1"));
    historyText->setReadOnly(true);
    historyText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    column->addWidget(historyText, 1);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("skButton1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(ok, 0, Qt::AlignRight);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void VersionHistoryWindow::FormShow(const DataRoot& root) {
    historyText->clear();
    historyText->setPlainText(
        root.readLines(QStringLiteral("version.txt")).join(QLatin1Char('\n')));
}
