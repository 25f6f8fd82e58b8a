#pragma once
// The centre's two records and its hover watch. The pattern panel with its template
// view and a favourite's poem panel with its template pane take the same places; this
// is the one place that switches between them. It also watches the mouse over the
// centre and hands each move to whoever colours something on hover.

#include <QHash>
#include <QObject>
#include <functional>

class QPlainTextEdit;
class QWidget;

struct CentrePaneWidgets {
    QWidget* patternPanel;             // skPanel6
    QPlainTextEdit* patternTemplate;   // skMemo3, the pattern's template view
    QWidget* favouritePanel;           // skPanel8, the favourite's poem panel
    QPlainTextEdit* favouriteTemplate; // skMmemo3, the favourite's template pane
};

class CentrePanes : public QObject {
    Q_OBJECT
  public:
    // At design the pattern shows and the favourite's panes are hidden.
    CentrePanes(const CentrePaneWidgets& panes, QObject* parent);

    void showPattern();
    void showFavourite();
    // The saved visibility of one of the four panes, put back at start-up; false when
    // `pane` is not one of them.
    bool restoreShown(QObject* pane, bool shown);

    // Which record is on show: the favourite's while its template pane is not hidden
    // (the window itself may not be shown yet), the pattern's otherwise.
    bool favouriteOnShow() const;
    // The template of the record on show.
    QPlainTextEdit* templateOnShow() const;

    // Runs `over` whenever the mouse enters one of `areas` and, with TrackMoves, each
    // time it moves over it.
    enum Watch { TrackMoves, EnterOnly };
    void onHover(const QList<QWidget*>& areas, const std::function<void()>& over,
                 Watch watch = TrackMoves);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CentrePaneWidgets m;
    QHash<QObject*, QList<std::function<void()>>> m_hover;
};
