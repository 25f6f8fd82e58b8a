#include "library/ui/TReferenceForm.h"

#include "base/ui/modals.h"
#include "skin/ui/skinned.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

TReferenceForm::TReferenceForm(const QString& title, TopicSource source, const QStringList& items,
                               DataRoot root, ModalRunner& modals, QWidget* parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source)), m_root(std::move(root)),
      m_modals(modals) {
    setWindowTitle(title);
    resize(700, 470);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    skSideChannel1 = new TskSideChannel(QStringLiteral("skSideChannel1"), this);
    skSideChannel1->open(true); // shown open with the window, not sliding in
    skSideChannel1->setStayOn(true);
    skSideChannel1->setFixedWidth(190);
    auto* channelLayout = new QVBoxLayout(skSideChannel1);
    channelLayout->setContentsMargins(0, 0, 0, 0);
    skPanel1 = new TskPanel(QStringLiteral("skPanel1"), skSideChannel1, QStringLiteral("列表"));
    ListBox1 = skin::makeListBox(QStringLiteral("ListBox1"), skPanel1);
    ListBox1->setFont(skin::songFont(14));
    skPanel1->body()->addWidget(ListBox1);
    channelLayout->addWidget(skPanel1);
    row->addWidget(skSideChannel1);

    skPanel2 = new TskPanel(QStringLiteral("skPanel2"), this, QStringLiteral("内容"));
    Memo1 = skin::makeMemo(QStringLiteral("Memo1"), skPanel2, true);
    Memo1->setFont(skin::songFont(14));
    skPanel2->body()->addWidget(Memo1);
    row->addWidget(skPanel2, 1);

    if (!items.isEmpty())
        ListBox1->addItems(items);
    else
        runGuarded(m_modals, this,
                   [this] { ListBox1->addItems(m_root.readLines(m_source.listFile())); });
    ListBox1->setCurrentRow(-1);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TReferenceForm::ListBox1Click);
}

TReferenceForm* TReferenceForm::shilv(DataRoot root, ModalRunner& modals, QWidget* parent) {
    auto* form = new TReferenceForm(QStringLiteral("诗律浅说"), topics::shilv(),
                                    topics::shilvItems(), std::move(root), modals, parent);
    form->setObjectName(QStringLiteral("TReferenceForm_shilv"));
    return form;
}

TReferenceForm* TReferenceForm::tools(DataRoot root, ModalRunner& modals, QWidget* parent) {
    auto* form = new TReferenceForm(QStringLiteral("常用信息"), topics::tools(), {},
                                    std::move(root), modals, parent);
    form->setObjectName(QStringLiteral("TReferenceForm_tools"));
    return form;
}

void TReferenceForm::ListBox1Click(int row) {
    const QString file = m_source.topicFile(row);
    if (file.isEmpty())
        return;
    runGuarded(m_modals, this, [this, &file] { Memo1->setPlainText(m_root.readText(file)); });
}

void TReferenceForm::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}
