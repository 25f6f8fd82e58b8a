#pragma once
// The version history: version.txt of the data tree in a read-only memo.

#include <QDialog>

class DataRoot;
class QPlainTextEdit;

class TForm5 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm5(QWidget* parent = nullptr);
    // Loads version.txt; a file that cannot be read throws AppError and leaves the memo
    // empty.
    void FormShow(const DataRoot& root);

    QPlainTextEdit* skMemo1 = nullptr;
};
