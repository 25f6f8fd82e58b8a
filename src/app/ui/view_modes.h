#pragma once
// The three view modes: 词谱类, 诗类与收藏 and 诗词知识, chosen by the radio buttons at
// the foot of the left side channel or the 视图 menu.

#include <QObject>

class CentrePanes;
class QAction;
class QWidget;
class TskCheckBox;
class TskRadioButton;

struct ViewModeControls {
    TskRadioButton *skRadioButton6, *skRadioButton7, *skRadioButton8;
    QAction *N4, *N5, *D2, *H1;
    CentrePanes* centre;         // the pattern or a favourite
    QList<QWidget*> viewButtons; // s10 … s15
    TskCheckBox* skCheckBox1;
    QWidget *Panel1, *Panel3, *Panel6, *skPanel14;
};

class ViewModes : public QObject {
    Q_OBJECT
  public:
    ViewModes(const ViewModeControls& controls, QObject* parent);

    void showPatterns();  // 词谱类
    void showVerse();     // 诗类与收藏
    void showKnowledge(); // 诗词知识
    // Start-up, after the keys: in 诗/藏 the example flag cannot be set.
    void settleRestoredMode();

  private:
    ViewModeControls c;
};
