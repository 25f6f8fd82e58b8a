#pragma once
// The version history: version.txt of the data tree in a read-only memo.

#include <QDialog>

class DataRoot;
class QPlainTextEdit;

class VersionHistoryWindow : public QDialog {
    Q_OBJECT
  public:
    explicit VersionHistoryWindow(QWidget* parent = nullptr);
    // Loads version.txt; a file that cannot be read throws AppError and leaves the memo
    // empty.
    void FormShow(const DataRoot& root);

    QPlainTextEdit* historyText = nullptr; // skMemo1
};
