#include "catalogue/ui/pattern_panels.h"

#include "skin/ui/skinned.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TskPanel* listPanel(const QString& name, const QString& caption, QWidget* parent,
                    QListWidget*& list, const QString& listName) {
    auto* panel = new TskPanel(name, parent, caption);
    panel->setStatusTip(caption);
    list = skin::makeListBox(listName, panel, caption);
    panel->body()->addWidget(list);
    return panel;
}

} // namespace

PatternPanels::PatternPanels(QWidget* leftPatterns, QWidget* leftVerse, QBoxLayout* centreLayout,
                             QBoxLayout* lowerRow)
    : QObject(leftPatterns) {
    QWidget* centre = centreLayout->parentWidget();
    setObjectName(QStringLiteral("patternPanels"));
    auto* left = leftPatterns->layout();
    skPanel1 = listPanel(QStringLiteral("skPanel1"), QStringLiteral("常用词谱"), leftPatterns,
                         skListBox1, QStringLiteral("skListBox1"));
    skPanel1->setFixedHeight(161);
    skPanel3 = listPanel(QStringLiteral("skPanel3"), QStringLiteral("通用词谱"), leftPatterns,
                         skListBox2, QStringLiteral("skListBox2"));
    skPanel10 = listPanel(QStringLiteral("skPanel10"), QStringLiteral("冷僻词谱"), leftPatterns,
                          skListBox33, QStringLiteral("skListBox33"));
    skPanel10->setFixedHeight(163);
    left->addWidget(skPanel1);
    left->addWidget(skPanel3);
    left->addWidget(skPanel10);

    skPanel2 = listPanel(QStringLiteral("skPanel2"), QStringLiteral("律诗绝句"), leftVerse,
                         skListBox3, QStringLiteral("skListBox3"));
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
        strip->addWidget(b);
        *buttons[i] = b;
    }
    s10->setEnabled(false); // the explanation shows at design
    skMemo1 = skin::makeMemo(QStringLiteral("skMemo1"), skPanel6, true);
    skMemo2 = skin::makeMemo(QStringLiteral("skMemo2"), skPanel6, true);
    Memo2 = skin::makeMemo(QStringLiteral("Memo2"), skPanel6, true);
    Memo3 = skin::makeMemo(QStringLiteral("Memo3"), skPanel6, true);
    Memo4 = skin::makeMemo(QStringLiteral("Memo4"), skPanel6, true);
    Memo5 = skin::makeMemo(QStringLiteral("Memo5"), skPanel6, true);
    for (QPlainTextEdit* pane : {skMemo1, skMemo2, Memo2, Memo3, Memo4, Memo5}) {
        skPanel6->body()->addWidget(pane);
        pane->setVisible(pane == skMemo1);
    }

    skPanel7 = new TskPanel(QStringLiteral("skPanel7"), centre,
                            QStringLiteral("填词规格  ○平声 ●仄声 ◎可平可仄 △压平韵 ▲压仄韵"));
    skPanel7->setFixedHeight(89);
    skMemo3 = skin::makeMemo(QStringLiteral("skMemo3"), skPanel7, true);
    skPanel7->body()->addWidget(skMemo3);

    centreLayout->addWidget(skPanel6);
    centreLayout->addWidget(skPanel7);

    QWidget* lower = lowerRow->parentWidget();
    skPanel11 = new TskPanel(QStringLiteral("skPanel11"), lower,
                             QStringLiteral("○平 ●仄 ◎可平可仄 △平韵 ▲仄韵"));
    skPanel11->setFixedWidth(277);
    Memo6 = skin::makeMemo(QStringLiteral("Memo6"), skPanel11, true);
    skPanel11->body()->addWidget(Memo6);
    skPanel11->hide(); // shown while 词谱换行 is checked
    lowerRow->addWidget(skPanel11);
}
