#pragma once
// The check pane beside the documents: the poem at the cursor in the shown document
// checked against the pattern on show, line by line with a mark under each character, the
// rhymes and the findings with the poets' practice; it follows the text and the cursor as
// the user types and moves, and never changes the text.

#include "checker/core/checker_data.h"

#include <QPointer>

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class CheckThread;
class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class MarkedPoemView;
class QMenu;
class QPushButton;
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
    ~CheckPane() override;

    // The check command: shows the pane and starts a check at once. The check runs on a
    // thread of its own; the pane shows it when it is back (see checked()).
    void checkNow();
    // The command itself (格律检查, Ctrl+G), for the 编辑 menu and the tool bar.
    QAction* action() const { return m_action; }

    QListWidget* findingsList() const { return m_findings; }
    // The reading window of the tune on show: its poems in the dataset, famous poets first.
    void openTunePoems();

  signals:
    // A check is back and on show.
    void checked();

  protected:
    // A pane shown again (at start-up, say) checks what is on show.
    void showEvent(QShowEvent* e) override;

  private:
    // What the last check asked for reads: a check that would read the same is not asked
    // for again.
    struct Checked {
        QPointer<QTextEdit> doc;
        int base = -1;
        QString poem;
        QString heading;
        qsizetype poemCount = 0;
        QString templateText;
        QString patternKey;
        checker::Standard standard{};
        bool operator==(const Checked&) const = default;
    };

    QWidget* buildFormRow();
    void check(bool always);
    void follow(QTextEdit* doc);
    // The forms the pattern has, the one checked against chosen; the chooser shows only
    // when there is a choice.
    void showForms(const QStringList& forms, const QString& chosen);
    // A check back from its thread: shown unless a later one was asked for, or the text,
    // the cursor or the pattern changed since it was asked for.
    void showResult(quint64 asked, const QString& summary, const checker::Result& r);
    void showFindings(const checker::Result& r, int base);
    void openFinding(QListWidgetItem* item);
    void select(int offset, int length);
    std::optional<checker::NamedPattern> tuneOnShow() const;

    CheckSources m_sources;
    QString m_dataDir;
    QAction* m_action{};
    QComboBox* m_standard{};
    QLabel* m_summary{};
    QWidget* m_formRow{};
    QLabel* m_formLabel{};
    QComboBox* m_form{};
    std::unique_ptr<CheckThread> m_checks; // started at the first check
    quint64 m_asked = 0;                   // the number of the last check asked for
    int m_formChoice = -1;   // the form the user picked; -1: the one the poem fits best
    QString m_formChoiceFor; // the template it was picked for
    QLabel* m_rhymes{};
    MarkedPoemView* m_view{};
    QListWidget* m_findings{};
    QPushButton* m_poems{};
    QTimer* m_debounce{};
    QTextEdit* m_followed{};
    Checked m_checked;
};

// Builds the pane into `row` (hidden until first used), puts its command in the 编辑 menu
// and on the tool bar, and 同调作品 in the pattern panel's caption strip.
CheckPane* installCheckPane(CheckSources sources, const QString& dataDir, QLayout* row,
                            QMenu* editMenu, QToolBar* toolBar, QWidget* patternStrip);
