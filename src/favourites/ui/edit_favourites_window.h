#pragma once
// The list editor: the names as text, one a line. 确定 hands the text over and the
// window closes only once it is stored.

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QPushButton;

class EditFavouritesWindow : public QDialog {
    Q_OBJECT
  public:
    // `commit` stores the text and says whether it could; when it could not, it has
    // shown why and the window keeps the text.
    using Commit = std::function<bool(const QString& text)>;
    EditFavouritesWindow(const QString& text, Commit commit, QWidget* parent);

    QPlainTextEdit* namesField; // Memo1, the names one a line
    QPushButton* okButton;      // skButton1, 确定
    QPushButton* cancelButton;  // skButton2, 取消

  private:
    Commit m_commit;
};
