#pragma once
// The check pane beside the documents: the shown document checked against the pattern on
// show, line by line with a mark under each character, the rhymes and the findings with
// the poets' practice; it follows the text as the user types and never changes it.

#include "checker/core/checker_data.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTextBrowser;
class QTextEdit;
class QTimer;
class QToolBar;

// Where the pane finds what it checks.
struct CheckSources {
    std::function<QTextEdit*()> document;  // the document on show
    std::function<QString()> templateText; // the template on show
    std::function<QString()> patternName;  // its tune name or verse name; empty for a favourite
    QList<QObject*> watched; // views whose change (textChanged, tabChanged) asks for a new check
};

class CheckPane : public QWidget {
    Q_OBJECT
  public:
    CheckPane(CheckSources sources, QString dataDir, QWidget* parent = nullptr);

    // The check command: shows the pane and checks at once.
    void checkNow();
    // The command itself (格律检查, Ctrl+G), for the 编辑 menu and the tool bar.
    QAction* action() const { return m_action; }

    QListWidget* findingsList() const { return m_findings; }
    // The reading window of the tune on show: its poems in the dataset, famous poets first.
    void openTunePoems();

  protected:
    // A pane shown again (at start-up, say) checks what is on show.
    void showEvent(QShowEvent* e) override;

  private:
    void follow(QTextEdit* doc);
    void openFinding(QListWidgetItem* item);
    std::optional<checker::NamedPattern> tuneOnShow() const;

    CheckSources m_sources;
    QString m_dataDir;
    QAction* m_action{};
    QComboBox* m_standard{};
    QLabel* m_summary{};
    QTextBrowser* m_view{};
    QListWidget* m_findings{};
    QPushButton* m_poems{};
    QTimer* m_debounce{};
    QTextEdit* m_followed{};
};

// Builds the pane into `row` (hidden until first used), puts its command in the 编辑 menu
// and on the tool bar, and 同调作品 in the pattern panel's caption strip.
CheckPane* installCheckPane(CheckSources sources, const QString& dataDir, QLayout* row,
                            QMenu* editMenu, QToolBar* toolBar, QWidget* patternStrip);
