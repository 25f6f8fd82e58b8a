#pragma once
// The rhyme subsystem's controls: the rhyme tool bar and the rhyme master panel in the
// right side channel.

#include <QObject>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class TskSpinEdit;
class QToolBar;
class QWidget;
class TskCheckBox;
class TskPanel;
class TskRadioButton;

class RhymePanels : public QObject {
    Q_OBJECT
  public:
    // Builds the rhyme tool bar's content into `toolBar` and the rhyme master panel
    // into the side channel `channel`.
    RhymePanels(QToolBar* toolBar, QWidget* channel);

    // Rhyme tool bar: the rhyme-book label (Panel5), then a row (Panel2) with the entry
    // lists of the three books (skdbComboBox1 … 3), the split view's lists of 新韵简观 and
    // 现代诗韵 (ComboBox2, ComboBox3), the book buttons (skR1 … skR3), over them while
    // split the split view's book buttons (Panel4: skrr2, skrr3), and the split switch
    // (skCheckBox2).
    TskPanel* bookLabel{};
    QWidget* toolBarRow{};
    QComboBox *ciYunList{}, *xinYunList{}, *xianDaiList{};
    QComboBox *xinYunSplitList{}, *xianDaiSplitList{};
    TskRadioButton *ciYunButton{}, *xinYunButton{}, *xianDaiButton{};
    QWidget* splitBookButtons{};
    TskRadioButton *xinYunSplitButton{}, *xianDaiSplitButton{};
    TskCheckBox* splitSwitch{};
    // Right side channel: 押韵大师 (skPanel9) with its size spinner (SpinEdit1), the rhyme
    // pane (skMemo5) or in the split view the 平声 and 仄声 panels (skPanel12, skPanel13)
    // with their panes (Memo7, Memo8), and the finals label (p4); under it the five size
    // buttons, smallest to largest (skRadioButton1 … 5).
    TskPanel* masterPanel{};
    TskSpinEdit* sizeSpinner{};
    QPlainTextEdit *rhymePane{}, *levelPane{}, *obliquePane{};
    TskPanel *levelPanel{}, *obliquePanel{};
    TskPanel* finalsLabel{};
    TskRadioButton *sizeSmallest{}, *sizeSmaller{}, *sizeMedium{}, *sizeLarger{}, *sizeLargest{};
};
