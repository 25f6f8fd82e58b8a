#include "workspace/ui/workspace_panel.h"

#include "skin/ui/skinned.h"
#include "workspace/ui/document_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QBoxLayout>
#include <QEvent>
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
    lockNotice = skin::makeMemo(QStringLiteral("Memo1"), area, true);
    lockNotice->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lockNotice->setFrameShape(QFrame::Panel);
    lockNotice->setFrameShadow(QFrame::Sunken);
    skin::setRole(lockNotice, skin::Role::Notice);
    QFont noticeFont(QStringLiteral("宋体"));
    noticeFont.setPixelSize(14);
    lockNotice->setFont(noticeFont);
    lockNotice->setPlainText(
        QStringLiteral("\n\n\n诗词已被密码保护\n，您无权查看此项\n目请关闭！"));
    QTextOption centred = lockNotice->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    lockNotice->document()->setDefaultTextOption(centred);
    areaStack->addWidget(lockNotice, 0, 0);

    documentTabs = new TskTabControl(QStringLiteral("skTabControl1"), area);
    documentTabs->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        documentTabs, &QWidget::customContextMenuRequested, documentTabs,
        [this, popup](const QPoint& at) { popup->popup(documentTabs->mapToGlobal(at)); });
    auto* column = new QVBoxLayout(documentTabs);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const char* caption : {"婉约词", "豪放词", "绝句篇", "律诗篇", "其它篇"})
        documentTabs->tabBar()->addTab(QString::fromUtf8(caption));
    column->addWidget(documentTabs->tabBar());
    auto* docStack = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        auto* doc = new DocumentEdit(documentTabs);
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
    areaStack->addWidget(documentTabs, 0, 0); // in front of the lock notice
    lowerRow->addWidget(area, 1);

    connect(documentTabs, &TskTabControl::tabChanged, this, &WorkspacePanel::showDocument);
}

QTextEdit* WorkspacePanel::visibleDocument() const {
    for (QTextEdit* doc : documents) {
        if (!doc->isHidden())
            return doc;
    }
    return documents.first();
}

void WorkspacePanel::dropPendingLayout() {
    // Qt lays a large document out in idle-time steps of up to 200,000 characters
    // after it is shown; a step still due when the window closes would hold up the end
    // of the program for nothing, since everything is stored and nothing is shown.
    struct DropTimers : QObject {
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Timer; }
    };
    for (QTextEdit* document : documents) {
        QObject* layout = document->document()->documentLayout();
        layout->installEventFilter(new DropTimers(layout));
    }
}

void WorkspacePanel::showDocument(int index) {
    for (int i = 0; i < documents.size(); ++i)
        documents[i]->setVisible(i == index);
}
