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
    FavouritesPanels(QWidget* panel3, QBoxLayout* centre);
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

    TskPanel* skPanel4{};
    QListWidget* skListBox4{};
    QToolButton* SpeedButton13{};
    QLabel *Image1{}, *Image2{};
    TskPanel* skPanel8{};
    QPlainTextEdit* skMmemo1{};
    QPlainTextEdit* skMmemo3{};

  Q_SIGNALS:
    void addRequested(); // a click on the highlighted add icon

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
