#include "workspace/ui/word_count_window.h"

#include "skin/ui/skinned.h"
#include "workspace/core/wordcount.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

WordCountWindow::WordCountWindow(const QList<QTextEdit*>& documents, QWidget* parent)
    : QDialog(parent), m_documents(documents) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("字数统计"));
    setFixedSize(332, 326);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    characterLine = new QLabel(QStringLiteral("您的诗词字数为："), this);
    characterLine->setObjectName(QStringLiteral("Label1"));
    characterLine->setFont(skin::songFont(14));
    characterLine->setGeometry(32, 120, 180, 20);
    otherLine = new QLabel(this);
    otherLine->setObjectName(QStringLiteral("Label2"));
    otherLine->setFont(skin::songFont(12));
    skin::setRole(otherLine, skin::Role::Emphasis);
    otherLine->setGeometry(32, 144, 180, 20);

    const char* captions[] = {"婉约词", "豪放词", "绝句篇", "律诗篇", "其它篇"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("CountButton%1").arg(i + 1));
        b->setGeometry(224, 64 + 32 * i, 80, 27);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { count(i); });
        countButtons.append(b);
    }
    quitButton = new QPushButton(QStringLiteral("退出"), this);
    quitButton->setObjectName(QStringLiteral("QuitButton"));
    quitButton->setGeometry(224, 256, 80, 27);
    quitButton->setAutoDefault(false);
    connect(quitButton, &QPushButton::clicked, this, &QDialog::accept);
}

void WordCountWindow::count(int document) {
    QString line1 = characterLine->text(), line2 = otherLine->text();
    workspace::updateResultLines(workspace::countWords(m_documents.at(document)->toPlainText()),
                                 &line1, &line2);
    characterLine->setText(line1);
    otherLine->setText(line2);
}
