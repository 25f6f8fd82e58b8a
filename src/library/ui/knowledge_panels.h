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
    KnowledgePanels(QWidget* panel6, TskPanel* skPanel14);
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

    TskPanel *skPanel18{}, *skPanel16{};
    QListWidget *ListBox3{}, *ListBox1{};
    TskPanel* skPanel15{};
    TskSpinEdit* SpinEdit2{};
    QPlainTextEdit* Memo9{};

  private:
    void ListBox3Click(int row);
    void ListBox1Click(int row);
    void SpinEdit2Change(int size);
    void showTopic(const QString& heading, const QString& file);

    std::optional<DataRoot> m_root;
    ModalRunner* m_modals = nullptr;
    bool m_changedByPress = false;
};
