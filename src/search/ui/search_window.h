#pragma once
// 诗词检索: the phrase search's window. A query line with its filters, the hits as lines
// with the phrase marked, the hits per poet and per tune, and the whole poem of the hit
// chosen.

#include "search/core/search_index.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

class TSearchForm : public QWidget {
    Q_OBJECT
  public:
    // `index` opens the corpus when first needed: null, with the reason, when it cannot.
    using IndexSource = std::function<const search::Index*(QString* error)>;
    TSearchForm(IndexSource index, QWidget* parent);

    // Puts `phrase` in the query line and searches it (nothing when it is empty).
    void searchFor(const QString& phrase);
    // Runs the query as the controls give it.
    void runSearch();
    // Shows the whole poem of the hit in row `row` of the list.
    void showHit(int row);

    QLineEdit* queryEdit{};
    QComboBox *dynastyBox{}, *formBox{}, *placeBox{};
    QLineEdit *poetEdit{}, *tuneEdit{}, *titleEdit{};
    QPushButton* searchButton{};
    QLabel* statusLabel{};
    QTextBrowser* hitList{};
    QListWidget *poetCounts{}, *tuneCounts{};
    QPlainTextEdit* poemText{};

  private:
    void fillCounts(QListWidget* list, const QList<search::NameCount>& counts, qint64 total);
    // Shows `problem` in the status line instead of a result.
    void showProblem(const QString& problem);

    IndexSource m_index;
    std::vector<search::Hit> m_hits;
    QStringList m_phrases;
};
