#include "library/ui/knowledge_panels.h"

#include "base/core/data_root.h"
#include "skin/ui/skinned.h"

#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>

KnowledgePanels::KnowledgePanels(QWidget* panel6, TskPanel* skPanel14) : QObject(panel6) {
    setObjectName(QStringLiteral("knowledgePanels"));
    skPanel18 = new TskPanel(QStringLiteral("skPanel18"), panel6, QStringLiteral("诗词常识"));
    skPanel18->setFixedHeight(225);
    ListBox3 = skin::makeListBox(QStringLiteral("ListBox3"), skPanel18, QStringLiteral("诗词常识"));
    skPanel18->body()->addWidget(ListBox3);
    skPanel16 = new TskPanel(QStringLiteral("skPanel16"), panel6, QStringLiteral("词学名词释疑"));
    ListBox1 =
        skin::makeListBox(QStringLiteral("ListBox1"), skPanel16, QStringLiteral("词学名词释疑"));
    skPanel16->body()->addWidget(ListBox1);
    panel6->layout()->addWidget(skPanel18);
    panel6->layout()->addWidget(skPanel16);

    skPanel15 = new TskPanel(QStringLiteral("skPanel15"), skPanel14);
    SpinEdit2 = new TskSpinEdit(QStringLiteral("SpinEdit2"), 9, 36, skPanel15->captionStrip());
    SpinEdit2->setFixedWidth(40);
    skPanel15->captionStrip()->layout()->addWidget(SpinEdit2);
    Memo9 = skin::makeMemo(QStringLiteral("Memo9"), skPanel15, true);
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
