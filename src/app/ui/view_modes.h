#pragma once
// The three view modes: 词谱类, 诗类与收藏 and 诗词知识, chosen by the radio buttons at
// the foot of the left side channel or the 视图 menu.

#include <QObject>

class CentrePanes;
class PatternDisplay;
class QAction;
class QWidget;
class TskCheckBox;
class TskRadioButton;

// The left channel's parts: a column for each mode (Panel1, Panel3, Panel6), stacked in
// one place, and the modes' radio buttons (skRadioButton6 … 8) in a strip at its foot.
struct ViewModeColumns {
    QWidget *patternsColumn, *verseColumn, *knowledgeColumn;
    TskRadioButton *patternsButton, *verseButton, *knowledgeButton;
};
// Builds them into `channel`, as designed: 词牌 chosen, its column on show.
ViewModeColumns buildViewModeColumns(QWidget* channel);

struct ViewModeControls {
    ViewModeColumns columns;
    QAction *patternsItem, *verseItem, *knowledgeItem; // 视图's items
    CentrePanes* centre;                               // the pattern or a favourite
    PatternDisplay* display;                           // 词谱换行 and the view buttons
    TskCheckBox* exampleFlag;
    QWidget* knowledgeArea; // over the centre in 诗词知识
};

class ViewModes : public QObject {
    Q_OBJECT
  public:
    ViewModes(const ViewModeControls& controls, QObject* parent);

    void showPatterns();  // 词谱类
    void showVerse();     // 诗类与收藏
    void showKnowledge(); // 诗词知识
    // 诗类与收藏 chosen as a click on its radio button chooses it.
    void chooseVerse();
    // Start-up, after the keys: in 诗/藏 the example flag cannot be set.
    void settleRestoredMode();

  private:
    ViewModeControls c;
};
