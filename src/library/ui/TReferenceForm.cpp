#include "library/ui/TReferenceForm.h"

#include "base/ui/modals.h"
#include "library/ui/reading_window.h"
#include "skin/ui/skinned.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

#include <tuple>

TReferenceForm::TReferenceForm(const QString& title, TopicSource source, const QStringList& items,
                               DataRoot root, ModalRunner& modals, QWidget* parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source)), m_root(std::move(root)),
      m_modals(modals) {
    QHBoxLayout* row = reading::windowRow(this, title, QSize(700, 470));
    listChannel = reading::sideChannel(QStringLiteral("skSideChannel1"), this, true, 190);
    std::tie(listPanel, topicList) = reading::listPanel(listChannel, QStringLiteral("列表"));
    row->addWidget(listChannel);
    std::tie(textPanel, topicText) = reading::textPanel(
        QStringLiteral("skPanel2"), this, QStringLiteral("内容"), QStringLiteral("Memo1"));
    row->addWidget(textPanel, 1);

    if (!items.isEmpty())
        topicList->addItems(items);
    else
        runGuarded(m_modals, this,
                   [this] { topicList->addItems(m_root.readLines(m_source.listFile())); });
    topicList->setCurrentRow(-1);
    connect(topicList, &QListWidget::currentRowChanged, this, &TReferenceForm::showTopic);
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

void TReferenceForm::showTopic(int row) {
    const QString file = m_source.topicFile(row);
    if (file.isEmpty())
        return;
    runGuarded(m_modals, this, [this, &file] { topicText->setPlainText(m_root.readText(file)); });
}

void TReferenceForm::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}
