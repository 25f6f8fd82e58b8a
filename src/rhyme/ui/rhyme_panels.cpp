#include "rhyme/ui/rhyme_panels.h"

#include "skin/ui/skinned.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtMath>

namespace {

// The desktop style opens a list's drop-down as a menu of every row, which for a
// rhyme book is taller than the screen and covers the menu bar. Asked for a scrolling
// list instead, the drop-down keeps to the combo box's row count.
class ScrollingListStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

// A rhyme list of fixed width. Its size hint is the height of one row in its frame, as
// the combo box gives it, without measuring every row for a width the list does not
// take: that would load the outline of every character in the book at start-up, which
// costs megabytes of font pages for a list nobody has opened yet.
class FixedWidthList : public QComboBox {
  public:
    using QComboBox::QComboBox;
    QSize sizeHint() const override { return rowInFrame(); }
    QSize minimumSizeHint() const override { return rowInFrame(); }

  private:
    QSize rowInFrame() const {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QSize row(0, qMax(qCeil(QFontMetricsF(fontMetrics()).height()), 14) + 2);
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, row, this);
    }
};

QComboBox* combo(const QString& name, const QString& hint, QWidget* parent, bool visible) {
    auto* c = new FixedWidthList(parent);
    c->setObjectName(name);
    c->setStatusTip(hint);
    c->setFixedWidth(545);
    c->setMaxVisibleItems(20);
    auto* style = new ScrollingListStyle;
    style->setParent(c);
    c->setStyle(style);
    c->setEditable(false);
    c->setFont(skin::songFont(12));
    c->setVisible(visible);
    return c;
}

} // namespace

RhymePanels::RhymePanels(QToolBar* toolBar, QWidget* channel) : QObject(channel) {
    setObjectName(QStringLiteral("rhymePanels"));
    skin::DesignScope design;

    Panel5 = new TskPanel(QStringLiteral("Panel5"), toolBar, QStringLiteral("词韵简编"));
    Panel5->setFixedWidth(81);
    toolBar->addWidget(Panel5);

    Panel2 = new QWidget(toolBar);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* row = new QHBoxLayout(Panel2);
    row->setContentsMargins(2, 0, 2, 0);
    // The five lists share one place; the front-most visible one is seen.
    auto* stack = new QGridLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    skdbComboBox1 =
        combo(QStringLiteral("skdbComboBox1"), QStringLiteral("词韵简编"), Panel2, true);
    skdbComboBox2 =
        combo(QStringLiteral("skdbComboBox2"), QStringLiteral("新韵简观"), Panel2, false);
    skdbComboBox3 =
        combo(QStringLiteral("skdbComboBox3"), QStringLiteral("现代诗韵"), Panel2, false);
    ComboBox2 = combo(QStringLiteral("ComboBox2"), QStringLiteral("新韵简观"), Panel2, false);
    ComboBox3 = combo(QStringLiteral("ComboBox3"), QStringLiteral("现代诗韵"), Panel2, false);
    // Back to front: the split lists lie in front of the entry lists.
    for (QComboBox* c : {skdbComboBox1, skdbComboBox2, skdbComboBox3, ComboBox3, ComboBox2}) {
        stack->addWidget(c, 0, 0);
        c->raise();
    }
    row->addLayout(stack);

    auto* books = new QWidget(Panel2);
    books->setObjectName(QStringLiteral("rhymeBookButtons"));
    auto* bookGrid = new QGridLayout(books);
    bookGrid->setContentsMargins(0, 0, 0, 0);
    auto* bookRow = new QWidget(books);
    auto* bookLayout = new QHBoxLayout(bookRow);
    bookLayout->setContentsMargins(0, 0, 0, 0);
    const char* bookNames[] = {"词韵简编", "新韵简观", "现代诗韵"};
    TskRadioButton** bookButtons[] = {&skR1, &skR2, &skR3};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TskRadioButton(QStringLiteral("skR%1").arg(i + 1), QString(), bookRow);
        b->setToolTip(QString::fromUtf8(bookNames[i]));
        b->setStatusTip(QString::fromUtf8(bookNames[i]));
        bookLayout->addWidget(b);
        *bookButtons[i] = b;
    }
    // No book button is checked in the design: the one restored at start-up acts as
    // the choice of its book.
    Panel4 = new QWidget(books);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setAutoFillBackground(true);
    auto* splitLayout = new QHBoxLayout(Panel4);
    splitLayout->setContentsMargins(0, 0, 0, 0);
    skrr2 = new TskRadioButton(QStringLiteral("skrr2"), QString(), Panel4);
    skrr2->setStatusTip(QStringLiteral("新韵简观"));
    skrr2->setToolTip(QStringLiteral("新韵简观"));
    skrr3 = new TskRadioButton(QStringLiteral("skrr3"), QString(), Panel4);
    skrr3->setStatusTip(QStringLiteral("现代诗韵"));
    skrr3->setToolTip(QStringLiteral("现代诗韵"));
    skrr2->setSkChecked(true);
    splitLayout->addWidget(skrr2);
    splitLayout->addWidget(skrr3);
    Panel4->hide();
    bookGrid->addWidget(bookRow, 0, 0);
    bookGrid->addWidget(Panel4, 0, 0); // over the three book buttons when shown
    row->addWidget(books);

    skCheckBox2 = new TskCheckBox(QStringLiteral("skCheckBox2"), QString(), Panel2);
    row->addWidget(skCheckBox2);
    toolBar->addWidget(Panel2);

    auto* channelLayout = new QVBoxLayout(channel);
    channelLayout->setContentsMargins(0, 0, 0, 0);
    channelLayout->setSpacing(0);
    skPanel9 = new TskPanel(QStringLiteral("skPanel9"), channel, QStringLiteral("押韵大师"));
    skPanel9->setStatusTip(QStringLiteral("押韵大师"));
    SpinEdit1 = new TskSpinEdit(QStringLiteral("SpinEdit1"), 9, 36, skPanel9->captionStrip());
    SpinEdit1->setFont(skin::songFont(10));
    SpinEdit1->setFixedWidth(40);
    skPanel9->captionStrip()->layout()->addWidget(SpinEdit1);

    auto* paneStack = new QGridLayout;
    skMemo5 = skin::makeMemo(QStringLiteral("skMemo5"), skPanel9, true, QStringLiteral("押韵大师"));
    skPanel12 = new TskPanel(QStringLiteral("skPanel12"), skPanel9, QStringLiteral("平声"));
    Memo7 = skin::makeMemo(QStringLiteral("Memo7"), skPanel12, true, QStringLiteral("押韵大师"));
    skPanel12->body()->addWidget(Memo7);
    skPanel12->hide();
    paneStack->addWidget(skMemo5, 0, 0);
    paneStack->addWidget(skPanel12, 0, 0); // covers the rhyme pane in the split view
    skPanel9->body()->addLayout(paneStack, 1);
    skPanel13 = new TskPanel(QStringLiteral("skPanel13"), skPanel9, QStringLiteral("仄声"));
    Memo8 = skin::makeMemo(QStringLiteral("Memo8"), skPanel13, true, QStringLiteral("押韵大师"));
    skPanel13->body()->addWidget(Memo8);
    skPanel13->setFixedHeight(244);
    skPanel13->hide();
    skPanel9->body()->addWidget(skPanel13);
    p4 = new TskPanel(QStringLiteral("p4"), skPanel9);
    p4->setFixedHeight(25);
    p4->setFrameShape(QFrame::Panel);
    p4->setFrameShadow(QFrame::Sunken);
    // The finals label: bold 宋体 on white.
    skin::setRole(p4->captionStrip(), skin::Role::PlainStrip);
    p4->captionStrip()->setFixedHeight(21);
    QFont bold = skin::songFont(12);
    bold.setBold(true);
    p4->captionStrip()->setFont(bold);
    // The panes' design: 宋体 at 12 pixels in dark blue (colour number 0x804000).
    for (QPlainTextEdit* pane : {skMemo5, Memo7, Memo8}) {
        pane->setFont(skin::songFont(12));
        skin::setFontColour(pane, 0x804000);
    }
    skPanel9->body()->addWidget(p4);
    channelLayout->addWidget(skPanel9, 1);

    auto* sizes = new QWidget(channel);
    sizes->setObjectName(QStringLiteral("rhymeSizeStrip"));
    // At least the design's 30 pixels, and never less than the buttons need: with the
    // style's default child margins (9 pixels above and below) a fixed 30 would leave
    // the indicators 12 pixels and cut them.
    sizes->setMinimumHeight(30);
    sizes->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* sizeLayout = new QHBoxLayout(sizes);
    sizeLayout->setContentsMargins(6, 2, 6, 2);
    const char* hints[] = {"选择后调韵侠中文本框字体最小", "选择后调韵侠中文本框字体较小",
                           "选择后调韵侠中文本框字体中等", "选择后调韵侠中文本框字体较大",
                           "选择后调韵侠中文本框字体最大"};
    TskRadioButton** sizeButtons[] = {&skRadioButton1, &skRadioButton2, &skRadioButton3,
                                      &skRadioButton4, &skRadioButton5};
    for (int i = 0; i < 5; ++i) {
        auto* b =
            new TskRadioButton(QStringLiteral("skRadioButton%1").arg(i + 1), QString(), sizes);
        b->setStatusTip(QString::fromUtf8(hints[i]));
        sizeLayout->addWidget(b);
        *sizeButtons[i] = b;
    }
    skRadioButton1->setSkChecked(true);
    channelLayout->addWidget(sizes);
}
