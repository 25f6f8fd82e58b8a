#pragma once
// The favourites' controls: the list under 我的收藏, the favourite's poem panel above
// the pattern panel and its template pane in the template strip.

#include <QObject>

class DataRoot;
class QBoxLayout;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QToolButton;
class QWidget;
class TskPanel;

class FavouritesPanels : public QObject {
    Q_OBJECT
  public:
    // The list goes below the verse list in Panel3, the poem panel to the centre.
    FavouritesPanels(QWidget* verseColumn, QBoxLayout* centre);
    // The template pane lies in the template strip in place of the pattern template.
    void addTemplatePane(TskPanel* templateStrip);
    // The mouse has left the icon for the centre: the plain icon again.
    void showPlainAddIcon();

    // Start-up: the names of the list, one a line of the names file. (Shutdown stores
    // them with the slots, FavouriteCommands::store.)
    static QString namesFile();
    QString loadNames(const DataRoot& root);
    // 锁定收藏内容: the favourite's panes read-only or editable.
    void lockContents(bool locked);

    // 我的收藏 (skPanel4) and its list (skListBox4); over the title, a flat button
    // (SpeedButton13) and the add icon, plain (Image1) or under the pointer (Image2).
    TskPanel* listPanel{};
    QListWidget* favouritesList{};
    QToolButton* titleAddButton{};
    QLabel *plainAddIcon{}, *hoverAddIcon{};
    // The favourite's poem panel (skPanel8) with its pane (skMmemo1), and its template
    // pane (skMmemo3) in the template strip.
    TskPanel* poemPanel{};
    QPlainTextEdit* poemPane{};
    QPlainTextEdit* templatePane{};

  Q_SIGNALS:
    void addRequested(); // a click on the highlighted add icon

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
