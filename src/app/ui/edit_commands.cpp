#include "app/ui/edit_commands.h"

#include "workspace/ui/document_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>

namespace {

// What the edit commands can do with one control.
struct Editable {
    QWidget* widget = nullptr;
    bool readOnly = true, selection = false, undo = false;

    static Editable of(QWidget* w) {
        Editable e;
        if (auto* t = qobject_cast<QTextEdit*>(w))
            e = {w, t->isReadOnly(), t->textCursor().hasSelection(),
                 t->document()->isUndoAvailable()};
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            e = {w, p->isReadOnly(), p->textCursor().hasSelection(),
                 p->document()->isUndoAvailable()};
        else if (auto* l = qobject_cast<QLineEdit*>(w))
            e = {w, l->isReadOnly(), l->hasSelectedText(), l->isUndoAvailable()};
        return e;
    }

    void undoIt() const {
        if (readOnly) // a read-only document is never changed, not even by undo
            return;
        if (auto* t = qobject_cast<QTextEdit*>(widget))
            t->undo();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(widget))
            p->undo();
        else if (auto* l = qobject_cast<QLineEdit*>(widget))
            l->undo();
    }
};

// Asked before any paste: a text control pasting from an empty clipboard, or one
// whose owner has gone, can bring the program down.
bool clipboardHasText() {
    return DocumentEdit::clipboardHasText();
}

void act(QWidget* w, const char* what) {
    // cut, copy, paste and selectAll share their names on the three kinds of control
    QMetaObject::invokeMethod(w, what);
}

} // namespace

EditCommands::EditCommands(const EditTargets& targets, QObject* parent)
    : QObject(parent), t(targets) {
    auto onFocus = [](const char* what, bool changes) {
        return [what, changes] {
            Editable e = Editable::of(QApplication::focusWidget());
            if (e.widget && !(changes && e.readOnly))
                act(e.widget, what);
        };
    };
    for (QAction* a : t.undo)
        connect(a, &QAction::triggered, this,
                [] { Editable::of(QApplication::focusWidget()).undoIt(); });
    for (QAction* a : t.cut)
        connect(a, &QAction::triggered, this, onFocus("cut", true));
    for (QAction* a : t.copy)
        connect(a, &QAction::triggered, this, onFocus("copy", false));
    for (QAction* a : t.paste)
        connect(a, &QAction::triggered, this, [paste = onFocus("paste", true)] {
            if (clipboardHasText())
                paste();
        });
    for (QAction* a : t.selectAll)
        connect(a, &QAction::triggered, this, onFocus("selectAll", false));

    auto onShown = [this](const char* what, bool changes) {
        return [this, what, changes] {
            QTextEdit* doc = t.shownDocument();
            if (doc && !(changes && doc->isReadOnly()))
                act(doc, what);
        };
    };
    connect(t.undoButton, &QToolButton::clicked, this,
            [this] { Editable::of(t.shownDocument()).undoIt(); });
    connect(t.cutButton, &QToolButton::clicked, this, onShown("cut", true));
    connect(t.copyButton, &QToolButton::clicked, this, onShown("copy", false));
    connect(t.pasteButton, &QToolButton::clicked, this, [paste = onShown("paste", true)] {
        if (clipboardHasText())
            paste();
    });

    for (QMenu* m : t.menus)
        connect(m, &QMenu::aboutToShow, this, &EditCommands::refresh);
    connect(qApp, &QApplication::focusChanged, this, &EditCommands::refresh);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::refresh);
    // The paste key of every other text control (panes, edit boxes), likewise.
    qApp->installEventFilter(this);
}

bool EditCommands::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste) &&
        Editable::of(qobject_cast<QWidget*>(watched)).widget && !clipboardHasText())
        return true;
    return QObject::eventFilter(watched, e);
}

void EditCommands::refresh() {
    const Editable e = Editable::of(QApplication::focusWidget());
    const bool editable = e.widget && !e.readOnly;
    for (QAction* a : t.undo)
        a->setEnabled(editable && e.undo);
    for (QAction* a : t.cut)
        a->setEnabled(editable && e.selection);
    for (QAction* a : t.copy)
        a->setEnabled(e.widget && e.selection);
    for (QAction* a : t.paste)
        a->setEnabled(editable && clipboardHasText());
    for (QAction* a : t.selectAll)
        a->setEnabled(e.widget != nullptr);
}
