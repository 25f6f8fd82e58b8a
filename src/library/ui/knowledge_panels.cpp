#include "library/ui/knowledge_panels.h"

#include "base/core/data_root.h"
#include "base/ui/modals.h"
#include "library/core/reference_topics.h"
#include "skin/ui/skinned.h"

#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>

KnowledgePanels::KnowledgePanels(QWidget* knowledgeColumn, TskPanel* knowledgeArea)
    : QObject(knowledgeColumn) {
    setObjectName(QStringLiteral("knowledgePanels"));
    basicsPanel =
        new TskPanel(QStringLiteral("skPanel18"), knowledgeColumn, QStringLiteral("诗词常识"));
    basicsPanel->setToolTip(QStringLiteral("诗词常识"));
    basicsPanel->setFixedHeight(225);
    basicsList =
        skin::makeListBox(QStringLiteral("ListBox3"), basicsPanel, QStringLiteral("诗词常识"));
    basicsPanel->body()->addWidget(basicsList);
    termsPanel =
        new TskPanel(QStringLiteral("skPanel16"), knowledgeColumn, QStringLiteral("词学名词释疑"));
    termsPanel->setToolTip(QStringLiteral("词学名词释疑"));
    termsList =
        skin::makeListBox(QStringLiteral("ListBox1"), termsPanel, QStringLiteral("词学名词释疑"));
    termsList->addItems(topics::shiyiItems());
    termsPanel->body()->addWidget(termsList);
    knowledgeColumn->layout()->addWidget(basicsPanel);
    knowledgeColumn->layout()->addWidget(termsPanel);
    for (QListWidget* list : {basicsList, termsList})
        list->setFont(skin::songFont(12));

    topicPanel = new TskPanel(QStringLiteral("skPanel15"), knowledgeArea);
    sizeSpinner = new TskSpinEdit(QStringLiteral("SpinEdit2"), 9, 36, topicPanel->captionStrip());
    sizeSpinner->setFixedWidth(40);
    sizeSpinner->setValue(11);
    topicPanel->captionStrip()->layout()->addWidget(sizeSpinner);
    topicPane =
        skin::makeMemo(QStringLiteral("Memo9"), topicPanel, true, QStringLiteral("诗词知识"));
    // 宋体 at 12 pixels, held in points (9 at 96 dots per inch) as the size spinner counts.
    QFont memoFont = skin::songFont(12);
    memoFont.setPointSize(9);
    topicPane->setFont(memoFont);
    skin::setFontColour(topicPane, 0x00804000); // dark blue: red 0, green 64, blue 128
    topicPanel->body()->addWidget(topicPane);
    knowledgeArea->body()->addWidget(topicPanel);
}

QString KnowledgePanels::listFile() {
    return QStringLiteral("Excursus\\changshi\\list.dat");
}

QString KnowledgePanels::paneFile() {
    return QStringLiteral("temp.dat");
}

void KnowledgePanels::loadList(const DataRoot& root) {
    basicsList->clear();
    basicsList->addItems(root.readLines(listFile()));
}

QString KnowledgePanels::loadPane(const DataRoot& root) {
    QString damage;
    topicPane->setPlainText(root.readOwnLines(paneFile(), &damage).join(QLatin1Char('\n')));
    return damage;
}

void KnowledgePanels::storePane(const DataRoot& root) const {
    root.writeText(paneFile(), topicPane->toPlainText());
}

void KnowledgePanels::followPaneSize() {
    sizeSpinner->setValue(topicPane->font().pointSize());
}

void KnowledgePanels::attach(const DataRoot& root, ModalRunner& modals) {
    m_root = root;
    m_modals = &modals;
    // Each change of selection loads its topic, and so does a click on the row a restart
    // selected without loading it; a click that changed the row has loaded it already.
    auto react = [this](QListWidget* list, void (KnowledgePanels::*choose)(int)) {
        connect(list, &QListWidget::currentRowChanged, this, [this, choose](int row) {
            m_changedByPress = true;
            (this->*choose)(row);
        });
        connect(list, &QListWidget::pressed, this, [this, choose](const QModelIndex& index) {
            if (!m_changedByPress)
                (this->*choose)(index.row());
            m_changedByPress = false;
        });
    };
    react(basicsList, &KnowledgePanels::chooseBasicsTopic);
    react(termsList, &KnowledgePanels::chooseTerm);
    connect(sizeSpinner, &QSpinBox::valueChanged, this, &KnowledgePanels::applySize);
}

void KnowledgePanels::chooseBasicsTopic(int row) {
    if (row < 0)
        return;
    // The heading belongs to the topic's place, whatever list.dat calls it.
    showTopic(topics::changshiHeading(row), topics::changshi().topicFile(row));
}

void KnowledgePanels::chooseTerm(int row) {
    if (row < 0 || row >= termsList->count())
        return;
    showTopic(termsList->item(row)->text(), topics::shiyi().topicFile(row));
}

void KnowledgePanels::showTopic(const QString& heading, const QString& file) {
    if (file.isEmpty())
        return;
    topicPanel->setCaption(heading);
    runGuarded(*m_modals, topicPanel,
               [this, &file] { topicPane->setPlainText(m_root->readText(file)); });
}

void KnowledgePanels::applySize(int size) {
    QFont font = topicPane->font();
    font.setPointSize(size);
    topicPane->setFont(font);
}
