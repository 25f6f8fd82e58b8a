#pragma once
// Moves a RichDocument into and out of the editor's QTextDocument.

#include "workspace/core/richtext.h"

#include <QByteArrayView>

#include <atomic>
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
// Setting `stop` from another thread ends the build early, with no document.
std::unique_ptr<QTextDocument> buildRichDocument(QByteArrayView rtf, bool* whole = nullptr,
                                                 const std::atomic<bool>* stop = nullptr);
// How much of a large store file is built first, to show before the rest is ready:
// whole paragraphs, up to either limit, which between them fill a tall screen.
struct HeadSize {
    qsizetype paragraphs = 300;
    qsizetype characters = 30000;
};
// The head of a store file built as buildRichDocument builds the whole of it; the
// whole file is read, so `whole` tells, as there, whether it is damaged, and `all`
// whether the head holds every paragraph (a short file).
std::unique_ptr<QTextDocument> buildRichDocumentHead(QByteArrayView rtf, const HeadSize& size,
                                                     bool* whole, bool* all);
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
