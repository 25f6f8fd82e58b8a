#pragma once
// The add-favourite window: a name, example lines and a pattern. 添加 checks the two
// required fields and hands the entry over; the window closes only once it is stored.

#include <QDialog>
#include <functional>

class ModalRunner;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class AddFavouriteWindow : public QDialog {
    Q_OBJECT
  public:
    // `commit` stores the entry and says whether it could; when it could not, it has
    // shown why and the window keeps what was typed.
    using Commit =
        std::function<bool(const QString& name, const QString& examples, const QString& pattern)>;
    AddFavouriteWindow(ModalRunner& modals, Commit commit, QWidget* parent);

    QLineEdit* nameField;          // Edit1, 词牌名
    QPlainTextEdit* examplesField; // Memo1, 诗词例句
    QPlainTextEdit* patternField;  // Memo2, 词谱
    QPushButton* addButton;        // skButton1, 添加
    QPushButton* quitButton;       // skButton2, 退出

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void add();

    ModalRunner& m_modals;
    Commit m_commit;
};
