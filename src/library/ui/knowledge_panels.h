#pragma once
// The reference library's controls in the main window: the knowledge and terminology
// lists in the left side channel and the knowledge pane over the centre.

#include <QObject>

class DataRoot;
class QListWidget;
class QPlainTextEdit;
class TskSpinEdit;
class QWidget;
class TskPanel;

class KnowledgePanels : public QObject {
    Q_OBJECT
  public:
    KnowledgePanels(QWidget* panel6, TskPanel* skPanel14);

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
};
