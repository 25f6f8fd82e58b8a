#pragma once
// The list editor: the names as text, one a line. 确定 hands the text over and the
// window closes only once it is stored.

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QPushButton;

class TForm11 : public QDialog {
    Q_OBJECT
  public:
    // `commit` stores the text and says whether it could; when it could not, it has
    // shown why and the window keeps the text.
    using Commit = std::function<bool(const QString& text)>;
    TForm11(const QString& text, Commit commit, QWidget* parent);

    QPlainTextEdit* Memo1;
    QPushButton* skButton1; // 确定
    QPushButton* skButton2; // 取消

  private:
    Commit m_commit;
};
