#pragma once
// Moves a RichDocument into and out of the editor's QTextDocument.

#include "workspace/core/richtext.h"

#include <QTextCharFormat>
#include <QTextCursor>

#include <memory>

class QTextDocument;
class QTextEdit;

namespace workspace {

// Replaces the content of `target` by `doc`. Unset font, size or colour leave the
// editor's default in force.
void setRichDocument(QTextDocument* target, const RichDocument& doc);

// Appends paragraphs to an empty document as setRichDocument fills it, one at a time,
// so that a file can be built as it is read without being held whole in between. The
// additions are one edit, closed when the builder goes.
class RichDocumentBuilder {
  public:
    explicit RichDocumentBuilder(QTextDocument* target);
    ~RichDocumentBuilder();
    RichDocumentBuilder(const RichDocumentBuilder&) = delete;
    RichDocumentBuilder& operator=(const RichDocumentBuilder&) = delete;

    void add(const Paragraph& p);

  private:
    QTextCursor m_cursor;
    bool m_first = true;
    bool m_hasFormat = false;
    CharFormat m_lastFormat;
    QTextCharFormat m_charFormat;
};

// Loads `doc` into an editor as a file is opened: the content replaced, nothing to
// undo, not modified, and the cursor (and so the view) at the start. The editor gets a
// new QTextDocument with the old one's settings: connect to the editor's signals, not
// to its document's.
void loadRichDocument(QTextEdit* editor, const RichDocument& doc);

// The two halves of loadRichDocument. The first builds `doc` in a document of its own,
// without a parent, undo records or a layout; it may run on any thread, and the caller
// moves the result to the editor's thread. The second, on the editor's thread, gives
// it the editor's settings and puts it on the editor as loadRichDocument does.
std::unique_ptr<QTextDocument> buildRichDocument(const RichDocument& doc);
void adoptRichDocument(QTextEdit* editor, std::unique_ptr<QTextDocument> built);

// The content of `source`, every run with its font, size and colour spelled out (the
// document's default font where a run sets none). An editor holding nothing gives an
// empty document.
RichDocument richDocument(const QTextDocument& source);

} // namespace workspace
