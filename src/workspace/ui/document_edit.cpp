#include "workspace/ui/document_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace {

// Marks what the documents copy: formatted text that this program wrote and reads
// back whole. Another program's formats are never parsed.
const QString kOwnRichText = QStringLiteral("application/x-lyrevane-document");

// What a paste can take from `source`; nothing for an empty or foreign clipboard.
enum class Take { Nothing, OwnRichText, PlainText };

Take whatToTake(const QMimeData* source) {
    if (!source)
        return Take::Nothing;
    // The formats first: a clipboard whose owner has gone offers none, and reading
    // its data then is what brings the text control down.
    const QStringList formats = source->formats();
    if (formats.isEmpty())
        return Take::Nothing;
    if (formats.contains(kOwnRichText) && source->hasHtml())
        return Take::OwnRichText;
    if (source->hasText() && !source->text().isEmpty())
        return Take::PlainText;
    return Take::Nothing; // a picture, files, something only another program reads
}

} // namespace

QMimeData* DocumentEdit::createMimeDataFromSelection() const {
    const QTextDocumentFragment selection = textCursor().selection();
    auto* copied = new QMimeData;
    copied->setText(selection.toPlainText());
    copied->setHtml(selection.toHtml());
    copied->setData(kOwnRichText, QByteArray());
    return copied;
}

bool DocumentEdit::clipboardHasText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && whatToTake(clipboard->mimeData()) != Take::Nothing;
}

bool DocumentEdit::canInsertFromMimeData(const QMimeData* source) const {
    return !isReadOnly() && whatToTake(source) != Take::Nothing;
}

void DocumentEdit::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly())
        return;
    switch (whatToTake(source)) {
    case Take::Nothing:
        return;
    case Take::OwnRichText:
        QTextEdit::insertFromMimeData(source);
        return;
    case Take::PlainText: {
        // Another program's text goes in as plain text in the caret's format: its
        // markup, however large, is never parsed.
        QTextCursor cursor = textCursor();
        cursor.insertText(source->text());
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    }
}

void DocumentEdit::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) {
        // The clipboard is looked at before the text control asks it for data.
        if (!isReadOnly() && clipboardHasText())
            insertFromMimeData(QGuiApplication::clipboard()->mimeData());
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}
