#include "catalogue/ui/pattern_panels.h"

#include "catalogue/core/catalogue.h"
#include "skin/ui/skinned.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TskPanel* listPanel(const QString& name, const QString& caption, QWidget* parent,
                    QListWidget*& list, const QString& listName, const QStringList& rows) {
    auto* panel = new TskPanel(name, parent, caption);
    panel->setStatusTip(caption);
    list = skin::makeListBox(listName, panel, caption);
    // 宋体 at 12 pixels: its Chinese characters are twice as wide as its ASCII ones, so
    // the counts of the labels line up flush right.
    list->setFont(skin::songFont(12));
    list->addItems(rows);
    panel->body()->addWidget(list);
    return panel;
}

QStringList verseLabels() {
    QStringList out;
    for (const catalogue::VersePattern& v : catalogue::versePatterns())
        out << v.label;
    return out;
}

} // namespace

PatternPanels::PatternPanels(QWidget* leftPatterns, QWidget* leftVerse, QBoxLayout* centreLayout,
                             QBoxLayout* lowerRow)
    : QObject(leftPatterns) {
    QWidget* centre = centreLayout->parentWidget();
    setObjectName(QStringLiteral("patternPanels"));
    auto* left = leftPatterns->layout();
    commonPanel =
        listPanel(QStringLiteral("skPanel1"), QStringLiteral("常用词谱"), leftPatterns, commonList,
                  QStringLiteral("skListBox1"), catalogue::labels(catalogue::PatternList::Common));
    commonPanel->setFixedHeight(161);
    generalPanel =
        listPanel(QStringLiteral("skPanel3"), QStringLiteral("通用词谱"), leftPatterns, generalList,
                  QStringLiteral("skListBox2"), catalogue::labels(catalogue::PatternList::General));
    rarePanel =
        listPanel(QStringLiteral("skPanel10"), QStringLiteral("冷僻词谱"), leftPatterns, rareList,
                  QStringLiteral("skListBox33"), catalogue::labels(catalogue::PatternList::Rare));
    rarePanel->setFixedHeight(163);
    left->addWidget(commonPanel);
    left->addWidget(generalPanel);
    left->addWidget(rarePanel);

    versePanel = listPanel(QStringLiteral("skPanel2"), QStringLiteral("律诗绝句"), leftVerse,
                           verseList, QStringLiteral("skListBox3"), verseLabels());
    versePanel->setFixedHeight(225);
    leftVerse->layout()->addWidget(versePanel);

    exampleFlag =
        new TskCheckBox(QStringLiteral("skCheckBox1"), QString(), leftPatterns->parentWidget());
    exampleFlag->setStatusTip(QStringLiteral("显示/隐藏词牌解释"));
    exampleFlag->hide(); // takes part in the modes, never shown

    patternPanel = new TskPanel(QStringLiteral("skPanel6"), centre);
    patternPanel->setFixedHeight(96);
    auto* strip = static_cast<QHBoxLayout*>(patternPanel->captionStrip()->layout());
    const char* captions[] = {"释义", "例一", "例二", "例三", "例四", "例五"};
    QToolButton** buttons[] = {&explanationButton, &exampleButton1, &exampleButton2,
                               &exampleButton3,    &exampleButton4, &exampleButton5};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QToolButton(patternPanel->captionStrip());
        b->setObjectName(QStringLiteral("s%1").arg(10 + i));
        b->setText(QString::fromUtf8(captions[i]));
        b->setAutoRaise(true); // flat
        b->setStatusTip(b->text());
        b->setCursor(Qt::PointingHandCursor);
        b->setFont(skin::songFont(12));
        b->setFixedSize(43, 17);
        strip->addWidget(b);
        *buttons[i] = b;
    }
    explanationButton->setEnabled(false); // the explanation shows at design
    const QString poems = QStringLiteral("诗词例句");
    explanationPane =
        skin::makeMemo(QStringLiteral("skMemo1"), patternPanel, true, QStringLiteral("词牌解释"));
    examplePane1 = skin::makeMemo(QStringLiteral("skMemo2"), patternPanel, true, poems);
    examplePane2 = skin::makeMemo(QStringLiteral("Memo2"), patternPanel, true, poems);
    examplePane3 = skin::makeMemo(QStringLiteral("Memo3"), patternPanel, true, poems);
    examplePane4 = skin::makeMemo(QStringLiteral("Memo4"), patternPanel, true, poems);
    examplePane5 = skin::makeMemo(QStringLiteral("Memo5"), patternPanel, true, poems);
    for (QPlainTextEdit* pane :
         {explanationPane, examplePane1, examplePane2, examplePane3, examplePane4, examplePane5}) {
        patternPanel->body()->addWidget(pane);
        pane->setVisible(pane == explanationPane);
    }

    templateStrip = new TskPanel(QStringLiteral("skPanel7"), centre,
                                 QStringLiteral("填词规格  ○平声 ●仄声 ◎可平可仄 △压平韵 ▲压仄韵"));
    templateStrip->setFixedHeight(89);
    templatePane =
        skin::makeMemo(QStringLiteral("skMemo3"), templateStrip, true, QStringLiteral("词牌规格"));
    templateStrip->body()->addWidget(templatePane);

    centreLayout->addWidget(patternPanel);
    centreLayout->addWidget(templateStrip);

    QWidget* lower = lowerRow->parentWidget();
    templateFilePanel = new TskPanel(QStringLiteral("skPanel11"), lower,
                                     QStringLiteral("○平 ●仄 ◎可平可仄 △平韵 ▲仄韵"));
    templateFilePanel->setFixedWidth(277);
    templateFileView = skin::makeMemo(QStringLiteral("Memo6"), templateFilePanel, true,
                                      QStringLiteral("词牌规格"));
    templateFilePanel->body()->addWidget(templateFileView);
    templateFilePanel->hide(); // shown while 词谱换行 is checked
    lowerRow->addWidget(templateFilePanel);
}
