#include "library/ui/knowledge_panels.h"

#include "base/core/data_root.h"
#include "base/ui/modals.h"
#include "library/core/reference_topics.h"
#include "skin/ui/skinned.h"

#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>

KnowledgePanels::KnowledgePanels(QWidget* panel6, TskPanel* skPanel14) : QObject(panel6) {
    setObjectName(QStringLiteral("knowledgePanels"));
    skPanel18 = new TskPanel(QStringLiteral("skPanel18"), panel6, QStringLiteral("诗词常识"));
    skPanel18->setToolTip(QStringLiteral("诗词常识"));
    skPanel18->setFixedHeight(225);
    ListBox3 = skin::makeListBox(QStringLiteral("ListBox3"), skPanel18, QStringLiteral("诗词常识"));
    skPanel18->body()->addWidget(ListBox3);
    skPanel16 = new TskPanel(QStringLiteral("skPanel16"), panel6, QStringLiteral("词学名词释疑"));
    skPanel16->setToolTip(QStringLiteral("词学名词释疑"));
    ListBox1 =
        skin::makeListBox(QStringLiteral("ListBox1"), skPanel16, QStringLiteral("词学名词释疑"));
    ListBox1->addItems(topics::shiyiItems());
    skPanel16->body()->addWidget(ListBox1);
    panel6->layout()->addWidget(skPanel18);
    panel6->layout()->addWidget(skPanel16);
    for (QListWidget* list : {ListBox3, ListBox1})
        list->setFont(skin::songFont(12));

    skPanel15 = new TskPanel(QStringLiteral("skPanel15"), skPanel14);
    SpinEdit2 = new TskSpinEdit(QStringLiteral("SpinEdit2"), 9, 36, skPanel15->captionStrip());
    SpinEdit2->setFixedWidth(40);
    SpinEdit2->setValue(11);
    skPanel15->captionStrip()->layout()->addWidget(SpinEdit2);
    Memo9 = skin::makeMemo(QStringLiteral("Memo9"), skPanel15, true, QStringLiteral("诗词知识"));
    // 宋体 at 12 pixels, held in points (9 at 96 dots per inch) as the size spinner counts.
    QFont memoFont = skin::songFont(12);
    memoFont.setPointSize(9);
    Memo9->setFont(memoFont);
    skin::setFontColour(Memo9, 0x00804000); // dark blue: red 0, green 64, blue 128
    skPanel15->body()->addWidget(Memo9);
    skPanel14->body()->addWidget(skPanel15);
}

QString KnowledgePanels::listFile() {
    return QStringLiteral("Excursus\\changshi\\list.dat");
}

QString KnowledgePanels::paneFile() {
    return QStringLiteral("temp.dat");
}

void KnowledgePanels::loadList(const DataRoot& root) {
    ListBox3->clear();
    ListBox3->addItems(root.readLines(listFile()));
}

QString KnowledgePanels::loadPane(const DataRoot& root) {
    QString damage;
    Memo9->setPlainText(root.readOwnLines(paneFile(), &damage).join(QLatin1Char('\n')));
    return damage;
}

void KnowledgePanels::storePane(const DataRoot& root) const {
    root.writeText(paneFile(), Memo9->toPlainText());
}

void KnowledgePanels::followPaneSize() {
    SpinEdit2->setValue(Memo9->font().pointSize());
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
    react(ListBox3, &KnowledgePanels::ListBox3Click);
    react(ListBox1, &KnowledgePanels::ListBox1Click);
    connect(SpinEdit2, &QSpinBox::valueChanged, this, &KnowledgePanels::SpinEdit2Change);
}

void KnowledgePanels::ListBox3Click(int row) {
    if (row < 0)
        return;
    // The heading belongs to the topic's place, whatever list.dat calls it.
    showTopic(topics::changshiHeading(row), topics::changshi().topicFile(row));
}

void KnowledgePanels::ListBox1Click(int row) {
    if (row < 0 || row >= ListBox1->count())
        return;
    showTopic(ListBox1->item(row)->text(), topics::shiyi().topicFile(row));
}

void KnowledgePanels::showTopic(const QString& heading, const QString& file) {
    if (file.isEmpty())
        return;
    skPanel15->setCaption(heading);
    runGuarded(*m_modals, skPanel15,
               [this, &file] { Memo9->setPlainText(m_root->readText(file)); });
}

void KnowledgePanels::SpinEdit2Change(int size) {
    QFont font = Memo9->font();
    font.setPointSize(size);
    Memo9->setFont(font);
}
