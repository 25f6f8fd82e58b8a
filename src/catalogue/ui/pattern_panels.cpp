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
    skPanel1 =
        listPanel(QStringLiteral("skPanel1"), QStringLiteral("常用词谱"), leftPatterns, skListBox1,
                  QStringLiteral("skListBox1"), catalogue::labels(catalogue::PatternList::Common));
    skPanel1->setFixedHeight(161);
    skPanel3 =
        listPanel(QStringLiteral("skPanel3"), QStringLiteral("通用词谱"), leftPatterns, skListBox2,
                  QStringLiteral("skListBox2"), catalogue::labels(catalogue::PatternList::General));
    skPanel10 = listPanel(QStringLiteral("skPanel10"), QStringLiteral("冷僻词谱"), leftPatterns,
                          skListBox33, QStringLiteral("skListBox33"),
                          catalogue::labels(catalogue::PatternList::Rare));
    skPanel10->setFixedHeight(163);
    left->addWidget(skPanel1);
    left->addWidget(skPanel3);
    left->addWidget(skPanel10);

    skPanel2 = listPanel(QStringLiteral("skPanel2"), QStringLiteral("律诗绝句"), leftVerse,
                         skListBox3, QStringLiteral("skListBox3"), verseLabels());
    skPanel2->setFixedHeight(225);
    leftVerse->layout()->addWidget(skPanel2);

    skCheckBox1 =
        new TskCheckBox(QStringLiteral("skCheckBox1"), QString(), leftPatterns->parentWidget());
    skCheckBox1->setStatusTip(QStringLiteral("显示/隐藏词牌解释"));
    skCheckBox1->hide(); // takes part in the modes, never shown

    skPanel6 = new TskPanel(QStringLiteral("skPanel6"), centre);
    skPanel6->setFixedHeight(96);
    auto* strip = static_cast<QHBoxLayout*>(skPanel6->captionStrip()->layout());
    const char* captions[] = {"释义", "例一", "例二", "例三", "例四", "例五"};
    QToolButton** buttons[] = {&s10, &s11, &s12, &s13, &s14, &s15};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QToolButton(skPanel6->captionStrip());
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
    s10->setEnabled(false); // the explanation shows at design
    const QString poems = QStringLiteral("诗词例句");
    skMemo1 = skin::makeMemo(QStringLiteral("skMemo1"), skPanel6, true, QStringLiteral("词牌解释"));
    skMemo2 = skin::makeMemo(QStringLiteral("skMemo2"), skPanel6, true, poems);
    Memo2 = skin::makeMemo(QStringLiteral("Memo2"), skPanel6, true, poems);
    Memo3 = skin::makeMemo(QStringLiteral("Memo3"), skPanel6, true, poems);
    Memo4 = skin::makeMemo(QStringLiteral("Memo4"), skPanel6, true, poems);
    Memo5 = skin::makeMemo(QStringLiteral("Memo5"), skPanel6, true, poems);
    for (QPlainTextEdit* pane : {skMemo1, skMemo2, Memo2, Memo3, Memo4, Memo5}) {
        skPanel6->body()->addWidget(pane);
        pane->setVisible(pane == skMemo1);
    }

    skPanel7 = new TskPanel(QStringLiteral("skPanel7"), centre,
                            QStringLiteral("填词规格  ○平声 ●仄声 ◎可平可仄 △压平韵 ▲压仄韵"));
    skPanel7->setFixedHeight(89);
    skMemo3 = skin::makeMemo(QStringLiteral("skMemo3"), skPanel7, true, QStringLiteral("词牌规格"));
    skPanel7->body()->addWidget(skMemo3);

    centreLayout->addWidget(skPanel6);
    centreLayout->addWidget(skPanel7);

    QWidget* lower = lowerRow->parentWidget();
    skPanel11 = new TskPanel(QStringLiteral("skPanel11"), lower,
                             QStringLiteral("○平 ●仄 ◎可平可仄 △平韵 ▲仄韵"));
    skPanel11->setFixedWidth(277);
    Memo6 = skin::makeMemo(QStringLiteral("Memo6"), skPanel11, true, QStringLiteral("词牌规格"));
    skPanel11->body()->addWidget(Memo6);
    skPanel11->hide(); // shown while 词谱换行 is checked
    lowerRow->addWidget(skPanel11);
}
