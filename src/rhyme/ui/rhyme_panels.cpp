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

    bookLabel = new TskPanel(QStringLiteral("Panel5"), toolBar, QStringLiteral("词韵简编"));
    bookLabel->setFixedWidth(81);
    toolBar->addWidget(bookLabel);

    toolBarRow = new QWidget(toolBar);
    toolBarRow->setObjectName(QStringLiteral("Panel2"));
    auto* row = new QHBoxLayout(toolBarRow);
    row->setContentsMargins(2, 0, 2, 0);
    // The five lists share one place; the front-most visible one is seen.
    auto* stack = new QGridLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    ciYunList =
        combo(QStringLiteral("skdbComboBox1"), QStringLiteral("词韵简编"), toolBarRow, true);
    xinYunList =
        combo(QStringLiteral("skdbComboBox2"), QStringLiteral("新韵简观"), toolBarRow, false);
    xianDaiList =
        combo(QStringLiteral("skdbComboBox3"), QStringLiteral("现代诗韵"), toolBarRow, false);
    xinYunSplitList =
        combo(QStringLiteral("ComboBox2"), QStringLiteral("新韵简观"), toolBarRow, false);
    xianDaiSplitList =
        combo(QStringLiteral("ComboBox3"), QStringLiteral("现代诗韵"), toolBarRow, false);
    // Back to front: the split lists lie in front of the entry lists.
    for (QComboBox* c : {ciYunList, xinYunList, xianDaiList, xianDaiSplitList, xinYunSplitList}) {
        stack->addWidget(c, 0, 0);
        c->raise();
    }
    row->addLayout(stack);

    auto* books = new QWidget(toolBarRow);
    books->setObjectName(QStringLiteral("rhymeBookButtons"));
    auto* bookGrid = new QGridLayout(books);
    bookGrid->setContentsMargins(0, 0, 0, 0);
    auto* bookRow = new QWidget(books);
    auto* bookLayout = new QHBoxLayout(bookRow);
    bookLayout->setContentsMargins(0, 0, 0, 0);
    const char* bookNames[] = {"词韵简编", "新韵简观", "现代诗韵"};
    TskRadioButton** bookButtons[] = {&ciYunButton, &xinYunButton, &xianDaiButton};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TskRadioButton(QStringLiteral("skR%1").arg(i + 1), QString(), bookRow);
        b->setToolTip(QString::fromUtf8(bookNames[i]));
        b->setStatusTip(QString::fromUtf8(bookNames[i]));
        bookLayout->addWidget(b);
        *bookButtons[i] = b;
    }
    // No book button is checked in the design: the one restored at start-up acts as
    // the choice of its book.
    splitBookButtons = new QWidget(books);
    splitBookButtons->setObjectName(QStringLiteral("Panel4"));
    splitBookButtons->setAutoFillBackground(true);
    auto* splitLayout = new QHBoxLayout(splitBookButtons);
    splitLayout->setContentsMargins(0, 0, 0, 0);
    xinYunSplitButton = new TskRadioButton(QStringLiteral("skrr2"), QString(), splitBookButtons);
    xinYunSplitButton->setStatusTip(QStringLiteral("新韵简观"));
    xinYunSplitButton->setToolTip(QStringLiteral("新韵简观"));
    xianDaiSplitButton = new TskRadioButton(QStringLiteral("skrr3"), QString(), splitBookButtons);
    xianDaiSplitButton->setStatusTip(QStringLiteral("现代诗韵"));
    xianDaiSplitButton->setToolTip(QStringLiteral("现代诗韵"));
    xinYunSplitButton->setSkChecked(true);
    splitLayout->addWidget(xinYunSplitButton);
    splitLayout->addWidget(xianDaiSplitButton);
    splitBookButtons->hide();
    bookGrid->addWidget(bookRow, 0, 0);
    bookGrid->addWidget(splitBookButtons, 0, 0); // over the three book buttons when shown
    row->addWidget(books);

    splitSwitch = new TskCheckBox(QStringLiteral("skCheckBox2"), QString(), toolBarRow);
    row->addWidget(splitSwitch);
    toolBar->addWidget(toolBarRow);

    auto* channelLayout = new QVBoxLayout(channel);
    channelLayout->setContentsMargins(0, 0, 0, 0);
    channelLayout->setSpacing(0);
    masterPanel = new TskPanel(QStringLiteral("skPanel9"), channel, QStringLiteral("押韵大师"));
    masterPanel->setStatusTip(QStringLiteral("押韵大师"));
    sizeSpinner = new TskSpinEdit(QStringLiteral("SpinEdit1"), 9, 36, masterPanel->captionStrip());
    sizeSpinner->setFont(skin::songFont(10));
    sizeSpinner->setFixedWidth(40);
    masterPanel->captionStrip()->layout()->addWidget(sizeSpinner);

    auto* paneStack = new QGridLayout;
    rhymePane =
        skin::makeMemo(QStringLiteral("skMemo5"), masterPanel, true, QStringLiteral("押韵大师"));
    levelPanel = new TskPanel(QStringLiteral("skPanel12"), masterPanel, QStringLiteral("平声"));
    levelPane =
        skin::makeMemo(QStringLiteral("Memo7"), levelPanel, true, QStringLiteral("押韵大师"));
    levelPanel->body()->addWidget(levelPane);
    levelPanel->hide();
    paneStack->addWidget(rhymePane, 0, 0);
    paneStack->addWidget(levelPanel, 0, 0); // covers the rhyme pane in the split view
    masterPanel->body()->addLayout(paneStack, 1);
    obliquePanel = new TskPanel(QStringLiteral("skPanel13"), masterPanel, QStringLiteral("仄声"));
    obliquePane =
        skin::makeMemo(QStringLiteral("Memo8"), obliquePanel, true, QStringLiteral("押韵大师"));
    obliquePanel->body()->addWidget(obliquePane);
    obliquePanel->setFixedHeight(244);
    obliquePanel->hide();
    masterPanel->body()->addWidget(obliquePanel);
    finalsLabel = new TskPanel(QStringLiteral("p4"), masterPanel);
    finalsLabel->setFixedHeight(25);
    finalsLabel->setFrameShape(QFrame::Panel);
    finalsLabel->setFrameShadow(QFrame::Sunken);
    // The finals label: bold 宋体 on white.
    skin::setRole(finalsLabel->captionStrip(), skin::Role::PlainStrip);
    finalsLabel->captionStrip()->setFixedHeight(21);
    QFont bold = skin::songFont(12);
    bold.setBold(true);
    finalsLabel->captionStrip()->setFont(bold);
    // The panes' design: 宋体 at 12 pixels in dark blue (colour number 0x804000).
    for (QPlainTextEdit* pane : {rhymePane, levelPane, obliquePane}) {
        pane->setFont(skin::songFont(12));
        skin::setFontColour(pane, 0x804000);
    }
    masterPanel->body()->addWidget(finalsLabel);
    channelLayout->addWidget(masterPanel, 1);

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
    TskRadioButton** sizeButtons[] = {&sizeSmallest, &sizeSmaller, &sizeMedium, &sizeLarger,
                                      &sizeLargest};
    for (int i = 0; i < 5; ++i) {
        auto* b =
            new TskRadioButton(QStringLiteral("skRadioButton%1").arg(i + 1), QString(), sizes);
        b->setStatusTip(QString::fromUtf8(hints[i]));
        sizeLayout->addWidget(b);
        *sizeButtons[i] = b;
    }
    sizeSmallest->setSkChecked(true);
    channelLayout->addWidget(sizes);
}
