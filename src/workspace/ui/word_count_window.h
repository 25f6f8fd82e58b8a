#pragma once
// The word count window: five buttons count one document each; two lines show the
// number of Chinese characters and of other printable characters.

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTextEdit;

class WordCountWindow : public QDialog {
    Q_OBJECT
  public:
    WordCountWindow(const QList<QTextEdit*>& documents, QWidget* parent = nullptr);

    QLabel *characterLine, *otherLine; // the two result lines, Label1 and Label2
    QList<QPushButton*> countButtons;  // 婉约词 … 其它篇
    QPushButton* quitButton;           // 退出

    void count(int document);

  private:
    QList<QTextEdit*> m_documents;
};
