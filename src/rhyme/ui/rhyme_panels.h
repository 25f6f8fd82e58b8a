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

    // Rhyme tool bar
    TskPanel* Panel5{}; // the rhyme-book label
    QWidget* Panel2{};
    QComboBox *skdbComboBox1{}, *skdbComboBox2{}, *skdbComboBox3{}, *ComboBox2{}, *ComboBox3{};
    TskRadioButton *skR1{}, *skR2{}, *skR3{};
    TskCheckBox* skCheckBox2{};
    QWidget* Panel4{};
    TskRadioButton *skrr2{}, *skrr3{};
    // Right side channel
    TskPanel* skPanel9{};
    TskSpinEdit* SpinEdit1{};
    QPlainTextEdit *skMemo5{}, *Memo7{}, *Memo8{};
    TskPanel *skPanel12{}, *skPanel13{};
    TskPanel* p4{};
    TskRadioButton *skRadioButton1{}, *skRadioButton2{}, *skRadioButton3{}, *skRadioButton4{},
        *skRadioButton5{};
};
