#pragma once
// Moves a RichDocument into and out of the editor's QTextDocument.

#include "workspace/core/richtext.h"

#include <QByteArrayView>

#include <memory>

class QTextDocument;
class QTextEdit;

namespace workspace {

// Replaces the content of `target` by `doc`. Unset font, size or colour leave the
// editor's default in force.
void setRichDocument(QTextDocument* target, const RichDocument& doc);

// A store file's RTF built into a document of its own, without a parent, undo records
// or a layout; `whole` tells whether it was read without damage. It may run on any
// thread: the caller moves the result to the editor's thread.
std::unique_ptr<QTextDocument> buildRichDocument(QByteArrayView rtf, bool* whole = nullptr);
// On the editor's thread: gives a built document the editor's settings and puts it on
// the editor as a file is opened: nothing to undo, not modified, and the cursor (and so
// the view) at the start. The editor's old document goes, so connect to the editor's
// signals, not to its document's.
void adoptRichDocument(QTextEdit* editor, std::unique_ptr<QTextDocument> built);

// The content of `source`, every run with its font, size and colour spelled out (the
// document's default font where a run sets none). An editor holding nothing gives an
// empty document.
RichDocument richDocument(const QTextDocument& source);

} // namespace workspace
