#pragma once
// What the pattern panel shows and how it changes: a row of a ci list or of the verse
// list, the six views and their buttons, the example flag, 词谱换行, the hover colours
// and the search.

#include "catalogue/core/catalogue.h"

#include <QObject>

class DataRoot;
class ModalRunner;
class PatternPanels;
class QAction;
class QLineEdit;
class QPushButton;
class QWidget;
class TskMessageDialog;

namespace catalogue {

enum class PatternView { Explanation, Example1, Example2, Example3, Example4, Example5 };

// The texts a record puts into the panel.
struct PanelTexts {
    QString name, templateText, explanation;
    std::array<QString, 5> examples;
    QString templateFile;
};
PanelTexts textsOf(const CiPattern& p);
PanelTexts textsOf(const VersePattern& p);

} // namespace catalogue

class PatternDisplay : public QObject {
    Q_OBJECT
  public:
    PatternDisplay(PatternPanels& panels, QAction* lineBreak, const DataRoot& root,
                   ModalRunner& modals, QWidget* window);

    // A ci list row picked with the mouse or the keyboard; -1 when none.
    void showRow(catalogue::PatternList list, int row);
    // A verse list row: brings the pattern panel back over a favourite first.
    void showVerseRow(int row);
    void rowDoubleClicked();
    void selectView(catalogue::PatternView view);
    catalogue::PatternView currentView() const;
    void toggleLineBreak();
    // A favourite took the centre: its template pane sits in the template strip, which
    // shows whatever 词谱换行 says, and 词谱换行 is disabled until a pattern shows again.
    void makeRoomForFavourite();
    // The 词谱类 view chosen: 词谱换行 enabled and the view buttons shown again.
    void patternsViewChosen();
    // The view buttons' hover colours; only their enabled look changes, so the disabled
    // button of the view on show keeps its mark.
    void hoverButton(catalogue::PatternView view);
    void hoverElsewhere();

    // Start-up and shutdown: the template-file view's lines.
    static QString templateViewFile();
    QString loadTemplateView();
    void storeTemplateView() const;

    // The search: shows every pane of the hit in the panel, or one of the two messages.
    // `hideButtons` is the tool bar's first step; the dialog's search leaves them.
    void runSearch(const QString& text, bool hideButtons, TskMessageDialog* emptyMessage,
                   TskMessageDialog* missMessage, QWidget* messageParent);
    // The search box of the tool bar, and the search dialog (a new one each time).
    void attachToolBarSearch(QLineEdit* box, QPushButton* button);
    void openSearchDialog();

  Q_SIGNALS:
    // The pattern panel and the template view are wanted in place of a favourite's
    // panes: a verse row, a search hit or a click on the 律诗绝句 caption.
    void patternPanesWanted();

  private:
    void setExampleFlag(bool on);
    void noteRowChange();
    bool takeRowChange();
    void fill(const catalogue::PanelTexts& texts);
    void showViewButtons(bool shown);

    PatternPanels& p;
    QAction* m_lineBreak;
    const DataRoot& m_root;
    ModalRunner& m_modals;
    QWidget* m_window;
    TskMessageDialog* m_toolBarEmpty = nullptr; // skMessageDialog5
    TskMessageDialog* m_toolBarMiss = nullptr;  // skMessageDialog4
    bool m_rowJustChanged = false;
};
