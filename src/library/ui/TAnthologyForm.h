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

    // The list's and the author note's side channels (skSideChannel1, skSideChannel2);
    // the panels of the list, the piece and the note (skPanel1, skPanel2, skPanel3).
    TskSideChannel *listChannel{}, *noteChannel{};
    TskPanel *listPanel{}, *textPanel{}, *notePanel{};
    QListWidget* pieceList{};    // ListBox1; none in variants A and B
    QPlainTextEdit* pieceText{}; // Memo1, the piece
    QPlainTextEdit* noteText{};  // Memo2, the note; none in variants B and D

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void loadFiles();
    void showPiece(int row);

    Anthology m_anthology;
    DataRoot m_root;
    ModalRunner& m_modals;
};
