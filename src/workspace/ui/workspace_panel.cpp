#include "workspace/ui/workspace_panel.h"

#include "skin/ui/skinned.h"
#include "workspace/ui/document_edit.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

WorkspacePanel::WorkspacePanel(QBoxLayout* lowerRow, QMenu* popup)
    : QObject(lowerRow->parentWidget()) {
    setObjectName(QStringLiteral("workspacePanel"));
    QWidget* lower = lowerRow->parentWidget();
    auto* area = new QWidget(lower);
    area->setObjectName(QStringLiteral("documentArea"));
    auto* areaStack = new QGridLayout(area);
    areaStack->setContentsMargins(0, 0, 0, 0);

    // The lock notice, seen exactly while the documents are hidden by the lock.
    Memo1 = skin::makeMemo(QStringLiteral("Memo1"), area, true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setFrameShape(QFrame::Panel);
    Memo1->setFrameShadow(QFrame::Sunken);
    skin::setRole(Memo1, skin::Role::Notice);
    QFont noticeFont(QStringLiteral("宋体"));
    noticeFont.setPixelSize(14);
    Memo1->setFont(noticeFont);
    Memo1->setPlainText(QStringLiteral("\n\n\n诗词已被密码保护\n，您无权查看此项\n目请关闭！"));
    QTextOption centred = Memo1->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(centred);
    areaStack->addWidget(Memo1, 0, 0);

    skTabControl1 = new TskTabControl(QStringLiteral("skTabControl1"), area);
    skTabControl1->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        skTabControl1, &QWidget::customContextMenuRequested, skTabControl1,
        [this, popup](const QPoint& at) { popup->popup(skTabControl1->mapToGlobal(at)); });
    auto* column = new QVBoxLayout(skTabControl1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const char* caption : {"婉约词", "豪放词", "绝句篇", "律诗篇", "其它篇"})
        skTabControl1->tabBar()->addTab(QString::fromUtf8(caption));
    column->addWidget(skTabControl1->tabBar());
    auto* docStack = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        auto* doc = new DocumentEdit(skTabControl1);
        doc->setObjectName(QStringLiteral("skm%1").arg(i + 1));
        doc->setFrameShape(QFrame::NoFrame);
        doc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        doc->setLineWrapMode(QTextEdit::WidgetWidth);
        doc->setStatusTip(QStringLiteral("写诗填词区"));
        doc->setFont(skin::songFont(12)); // 宋体 at 9 points, the documents' base font
        doc->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(doc, &QWidget::customContextMenuRequested, doc,
                         [doc, popup](const QPoint& at) { popup->popup(doc->mapToGlobal(at)); });
        doc->setVisible(i == 0);
        docStack->addWidget(doc, 0, 0);
        documents.append(doc);
    }
    column->addLayout(docStack, 1);
    areaStack->addWidget(skTabControl1, 0, 0); // in front of the lock notice
    lowerRow->addWidget(area, 1);

    connect(skTabControl1, &TskTabControl::tabChanged, this, &WorkspacePanel::showDocument);
}

QTextEdit* WorkspacePanel::visibleDocument() const {
    for (QTextEdit* doc : documents) {
        if (!doc->isHidden())
            return doc;
    }
    return documents.first();
}

void WorkspacePanel::showDocument(int index) {
    for (int i = 0; i < documents.size(); ++i)
        documents[i]->setVisible(i == index);
}
