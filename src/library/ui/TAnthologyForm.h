#pragma once
// One reading window over an anthology: the list of pieces at the left, the piece in
// the middle and the author note at the right, laid out by the anthology's variant.

#include "base/core/data_root.h"
#include "library/core/anthology.h"

#include <QWidget>

class ModalRunner;
class QListWidget;
class QPlainTextEdit;
class TskPanel;
class TskSideChannel;

class TAnthologyForm : public QWidget {
    Q_OBJECT
  public:
    // Builds the window and loads its files; a file that cannot be read is reported and
    // ends the loading, but the window is still made.
    TAnthologyForm(const Anthology& anthology, DataRoot root, ModalRunner& modals, QWidget* parent);

    const Anthology& anthology() const { return m_anthology; }

    TskSideChannel *skSideChannel1{}, *skSideChannel2{}; // list, author note
    TskPanel *skPanel1{}, *skPanel2{}, *skPanel3{};      // list, content, note
    QListWidget* ListBox1{};                             // none in variants A and B
    QPlainTextEdit* Memo1{};                             // the piece
    QPlainTextEdit* Memo2{};                             // the note; none in variants B and D

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void loadFiles();
    void ListBox1Click(int row);

    Anthology m_anthology;
    DataRoot m_root;
    ModalRunner& m_modals;
};
