#include "skin/ui/input_dialogs.h"

#include "base/ui/modals.h"
#include "skin/ui/look.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kWidth = 336;

// What both windows hold: the text font, labels and fields at fixed places, and OK and
// Cancel at the right, 20 pixels below the last field, as in the message dialog.
struct Builder {
    const TskDialog& d;
    QDialog& w;

    QLabel* label(const QString& name, const QString& text, QPoint at) const {
        auto* l = new QLabel(text, &w);
        l->setObjectName(name);
        if (d.FontColour.isValid())
            skin::setFontColour(l, skin::numberFromColour(d.FontColour));
        l->move(at);
        l->adjustSize();
        return l;
    }
    QLineEdit* field(const QString& name, const QString& text, QRect at) const {
        auto* e = new QLineEdit(text, &w);
        e->setObjectName(name);
        e->setGeometry(at);
        return e;
    }
    // OK at the left and the default button (Enter), Cancel at the right.
    void buttons(int top, const QString& ok, const QString& cancel) const {
        const QString captions[2] = {ok, cancel};
        const int results[2] = {QDialog::Accepted, QDialog::Rejected};
        for (int i = 0; i < 2; ++i) {
            auto* b = new QPushButton(captions[1 - i], &w);
            b->setObjectName(QStringLiteral("Button%1").arg(2 - i));
            b->setGeometry(kWidth - 97 - 93 * i, top, 73, 25);
            b->setCursor(d.ButtonCursor);
            b->setAutoDefault(false);
            b->setDefault(i == 1);
            QDialog* window = &w;
            const int result = results[1 - i];
            QObject::connect(b, &QPushButton::clicked, window,
                             [window, result] { window->done(result); });
        }
        w.setFixedSize(kWidth, top + 25 + 20);
    }
};

template <class D> D* dressed(const QString& name, QObject* owner) {
    auto* d = new D(name, owner);
    d->Caption = QStringLiteral("Quillmere2004");
    d->useProgramFonts();
    d->OkCaption = QStringLiteral("确定");
    d->CancelCaption = QStringLiteral("退出");
    return d;
}

} // namespace

TskInputDialog::TskInputDialog(const QString& name, QObject* owner) : TskDialog(name, owner) {}

TskInputDialog* TskInputDialog::programDialog(const QString& name, QObject* owner) {
    return dressed<TskInputDialog>(name, owner);
}

TskPasswordDialog* TskPasswordDialog::programDialog(const QString& name, QObject* owner) {
    return dressed<TskPasswordDialog>(name, owner);
}

int TskInputDialog::Execute(ModalRunner& runner, QWidget* parent) {
    QDialog w(parent);
    frame(w);
    const Builder b{*this, w};
    b.label(QStringLiteral("Label1"), Prompt, QPoint(24, 44));
    QLineEdit* edit = b.field(QStringLiteral("Edit1"), Value, QRect(24, 64, 288, 22));
    b.buttons(edit->geometry().bottom() + 1 + 20, OkCaption, CancelCaption);
    edit->selectAll();
    edit->setFocus();
    const int result = run(w, runner, parent);
    if (result == QDialog::Accepted)
        Value = edit->text();
    return result;
}

TskPasswordDialog::TskPasswordDialog(const QString& name, QObject* owner)
    : TskDialog(name, owner) {}

int TskPasswordDialog::Execute(ModalRunner& runner, QWidget* parent) {
    QDialog w(parent);
    frame(w);
    const Builder b{*this, w};
    b.label(QStringLiteral("Label1"), UserNameLabel, QPoint(24, 47));
    QLineEdit* user = b.field(QStringLiteral("Edit1"), UserName, QRect(112, 44, 200, 22));
    b.label(QStringLiteral("Label2"), PasswordLabel, QPoint(24, 79));
    QLineEdit* password = b.field(QStringLiteral("Edit2"), Password, QRect(112, 76, 200, 22));
    password->setEchoMode(QLineEdit::Password);
    b.buttons(password->geometry().bottom() + 1 + 20, OkCaption, CancelCaption);
    // An empty user name is asked for first; a given one leaves the password to type.
    (UserName.isEmpty() ? user : password)->setFocus();
    const int result = run(w, runner, parent);
    if (result == QDialog::Accepted) {
        UserName = user->text();
        Password = password->text();
    }
    return result;
}
