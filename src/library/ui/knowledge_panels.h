#pragma once
// The reference library's controls in the main window: the knowledge and terminology
// lists in the left side channel and the knowledge pane over the centre.

#include <QObject>

class QListWidget;
class QPlainTextEdit;
class TskSpinEdit;
class QWidget;
class TskPanel;

class KnowledgePanels : public QObject {
    Q_OBJECT
  public:
    KnowledgePanels(QWidget* panel6, TskPanel* skPanel14);

    TskPanel *skPanel18{}, *skPanel16{};
    QListWidget *ListBox3{}, *ListBox1{};
    TskPanel* skPanel15{};
    TskSpinEdit* SpinEdit2{};
    QPlainTextEdit* Memo9{};
};
