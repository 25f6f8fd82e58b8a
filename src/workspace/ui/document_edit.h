#pragma once
// The editor of one workspace document: a QTextEdit whose paste takes only what it
// can safely read from the clipboard.

#include <QTextEdit>

class DocumentEdit : public QTextEdit {
    Q_OBJECT
  public:
    using QTextEdit::QTextEdit;

    // True when the clipboard holds something a document can take: text, or the
    // formatted text copied from one of the documents.
    static bool clipboardHasText();

  protected:
    QMimeData* createMimeDataFromSelection() const override;
    // Every paste (the key, the menus, the tool bar, dropping) ends here.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* e) override;
};
