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
    // Fills the patterns column (Panel1) and the top of the verse column (Panel3) in the
    // left side channel, adds the pattern panel and the template strip to the centre and
    // the template-file column to the lower row.
    PatternPanels(QWidget* leftPatterns, QWidget* leftVerse, QBoxLayout* centre,
                  QBoxLayout* lowerRow);

    // Left side channel, the patterns column: 常用词谱 (skPanel1, skListBox1), 通用词谱
    // (skPanel3, skListBox2) and 冷僻词谱 (skPanel10, skListBox33)
    TskPanel *commonPanel{}, *generalPanel{}, *rarePanel{};
    QListWidget *commonList{}, *generalList{}, *rareList{};
    // Left side channel, the top of the verse column: 律诗绝句 (skPanel2, skListBox3)
    TskPanel* versePanel{};
    QListWidget* verseList{};
    TskCheckBox* exampleFlag{}; // skCheckBox1, hidden: 显示/隐藏词牌解释
    // Centre: the pattern panel (skPanel6) with its six views, each a pane and a
    // caption-strip button: 释义 (skMemo1, s10), then 例一 … 例五 (skMemo2, Memo2 … Memo5;
    // s11 … s15)
    TskPanel* patternPanel{};
    QToolButton *explanationButton{}, *exampleButton1{}, *exampleButton2{}, *exampleButton3{},
        *exampleButton4{}, *exampleButton5{};
    QPlainTextEdit *explanationPane{}, *examplePane1{}, *examplePane2{}, *examplePane3{},
        *examplePane4{}, *examplePane5{};
    // The template strip (skPanel7) and its pane (skMemo3)
    TskPanel* templateStrip{};
    QPlainTextEdit* templatePane{};
    // Lower row: the template-file column (skPanel11) and its view (Memo6)
    TskPanel* templateFilePanel{};
    QPlainTextEdit* templateFileView{};

    QList<QToolButton*> viewButtons() const {
        return {explanationButton, exampleButton1, exampleButton2,
                exampleButton3,    exampleButton4, exampleButton5};
    }
};
