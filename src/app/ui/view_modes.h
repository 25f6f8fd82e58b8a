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

struct ViewModeControls {
    // The modes' radio buttons and 视图 items
    TskRadioButton *patternsButton, *verseButton, *knowledgeButton;
    QAction *patternsItem, *verseItem, *knowledgeItem;
    CentrePanes* centre;     // the pattern or a favourite
    PatternDisplay* display; // 词谱换行 and the view buttons
    TskCheckBox* exampleFlag;
    // The left channel's column of each mode, and the knowledge area over the centre
    QWidget *patternsColumn, *verseColumn, *knowledgeColumn, *knowledgeArea;
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
