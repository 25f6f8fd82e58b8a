#pragma once
// The rhyme master: choosing a rhyme book and an entry, the level/oblique split view,
// the text size of its three panes and their font, colour and background.

#include "rhyme/core/rhyme_book.h"

#include <QObject>

class ModalRunner;
class QAction;
class QComboBox;
class RhymePanels;
class TskRadioButton;

struct RhymeActions {
    QAction *showCiRhymes, *showNewRhymes, *showModernRhymes; // the books in the 视图 menu
    QAction* splitByTone;                                     // 平仄分栏
    QAction *font, *fontColour, *background; // 押韵大师 ▸ 字体, 字体颜色, 背景颜色
};

class RhymeMaster : public QObject {
    Q_OBJECT
  public:
    RhymeMaster(RhymePanels& panels, const RhymeActions& actions, ModalRunner& modals,
                QWidget* window);

    // The size radio buttons' sizes, in points.
    static constexpr int kSizes[5] = {10, 13, 16, 18, 20};

    void chooseBook(RhymeSystem book); // the book buttons and menu items
    void chooseEntry(RhymeSystem book, int index);
    void setSplitView(bool on);             // the split switch changed
    void chooseSplitBook(RhymeSystem book); // 新韵简观 or 现代诗韵
    void chooseGroup(RhymeSystem book, int index);
    void applySize(int points); // the size spinner changed
    void chooseFont();
    void chooseFontColour();
    void chooseBackground();

    RhymeSystem checkedBook() const;

    // Start-up, after the keys: the label names 词韵简编 when its button came back
    // checked, and the size spinner follows the pane's restored font.
    void labelRestoredBook();
    void followPaneSize();

  private:
    // What stands for one book: its entry list, its book button, its 视图 menu item.
    struct BookControls {
        QComboBox* list;
        TskRadioButton* button;
        QAction* item;
    };
    const BookControls& controls(RhymeSystem book) const { return m_books[int(book)]; }
    QList<QWidget*> panes() const;

    RhymePanels& p;
    RhymeActions a;
    ModalRunner& m_modals;
    QWidget* m_window;
    BookControls m_books[3];
};
