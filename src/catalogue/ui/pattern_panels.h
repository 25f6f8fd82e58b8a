#pragma once
// The catalogue's controls in the main window: the three pattern lists, the pattern
// panel with its six views, the template strip, the template-file column and the
// regulated-verse list.

#include <QObject>

class QBoxLayout;
class QListWidget;
class QPlainTextEdit;
class QToolButton;
class TskCheckBox;
class TskPanel;
class QWidget;

class PatternPanels : public QObject {
    Q_OBJECT
  public:
    // Fills Panel1 and the top of Panel3 in the left side channel, adds the pattern
    // panel and the template strip to the centre and the template-file column to the
    // lower row.
    PatternPanels(QWidget* panel1, QWidget* panel3, QBoxLayout* centre, QBoxLayout* lowerRow);

    // Left side channel, Panel1
    TskPanel *skPanel1{}, *skPanel3{}, *skPanel10{};
    QListWidget *skListBox1{}, *skListBox2{}, *skListBox33{};
    // Left side channel, Panel3 (top)
    TskPanel* skPanel2{};
    QListWidget* skListBox3{};
    TskCheckBox* skCheckBox1{}; // hidden: 显示/隐藏词牌解释
    // Centre
    TskPanel* skPanel6{};
    QToolButton *s10{}, *s11{}, *s12{}, *s13{}, *s14{}, *s15{};
    QPlainTextEdit *skMemo1{}, *skMemo2{}, *Memo2{}, *Memo3{}, *Memo4{}, *Memo5{};
    TskPanel* skPanel7{};
    QPlainTextEdit* skMemo3{};
    TskPanel* skPanel11{};
    QPlainTextEdit* Memo6{};

    QList<QToolButton*> viewButtons() const { return {s10, s11, s12, s13, s14, s15}; }
};
