#pragma once
// The reference library's controls in the main window: the knowledge and terminology
// lists in the left side channel and the knowledge pane over the centre.

#include "base/core/data_root.h"

#include <QObject>
#include <optional>

class ModalRunner;
class QListWidget;
class QPlainTextEdit;
class TskSpinEdit;
class QWidget;
class TskPanel;

class KnowledgePanels : public QObject {
    Q_OBJECT
  public:
    KnowledgePanels(QWidget* knowledgeColumn, TskPanel* knowledgeArea);
    // From now on choosing a topic loads its text from `root`; errors go to `modals`.
    void attach(const DataRoot& root, ModalRunner& modals);

    // Start-up and shutdown: the knowledge list's items and the knowledge pane's lines.
    static QString listFile();
    static QString paneFile();
    void loadList(const DataRoot& root);
    QString loadPane(const DataRoot& root);
    void storePane(const DataRoot& root) const;
    // Start-up: the size spinner follows the pane's restored font.
    void followPaneSize();

    // Left: 诗词常识 (skPanel18, ListBox3) and 词学名词释疑 (skPanel16, ListBox1)
    TskPanel *basicsPanel{}, *termsPanel{};
    QListWidget *basicsList{}, *termsList{};
    // Centre: the chosen topic (skPanel15) with its size spinner (SpinEdit2) and text (Memo9)
    TskPanel* topicPanel{};
    TskSpinEdit* sizeSpinner{};
    QPlainTextEdit* topicPane{};

  private:
    void chooseBasicsTopic(int row);
    void chooseTerm(int row);
    void applySize(int size);
    void showTopic(const QString& heading, const QString& file);

    std::optional<DataRoot> m_root;
    ModalRunner* m_modals = nullptr;
    bool m_changedByPress = false;
};
