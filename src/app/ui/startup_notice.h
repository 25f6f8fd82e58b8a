#pragma once
// The start-up notice: the news of the program's last edition, and the check box that
// decides whether it opens at start-up ([guide] visible). Both ways of closing it store
// the check box.

#include <QDialog>

class ModalRunner;
class QCheckBox;
class QPlainTextEdit;

class StartupNotice : public QDialog {
    Q_OBJECT
  public:
    // Opens its own handle on the settings file at `settingsPath`.
    StartupNotice(QString settingsPath, ModalRunner& modals, QWidget* parent = nullptr);

    // The notice's text: twelve lines, three paragraphs broken to fit the memo.
    static QStringList noticeLines();

    QCheckBox* showAtStartBox = nullptr;  // skCheckBox1
    QPlainTextEdit* noticeText = nullptr; // skMemo1

    void done(int result) override;

  private:
    QString m_settingsPath;
    ModalRunner& m_modals;
};
