#include "skin/ui/message_dialog.h"

#include "base/ui/modals.h"
#include "skin/ui/look.h"
#include "skin/ui/pictures.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

TskMessageDialog::TskMessageDialog(const QString& name, QObject* owner) : TskDialog(name, owner) {}

TskMessageDialog* TskMessageDialog::programDialog(const QString& name, IconType icon,
                                                  const QString& text, QObject* owner) {
    auto* d = new TskMessageDialog(name, owner);
    d->Caption = QStringLiteral("Quillmere2004");
    d->useProgramFonts();
    d->iconType = icon;
    d->Text = text;
    d->ButtonCount = 2;
    d->ButtonCaption[0] = QStringLiteral("确定");
    d->ButtonCaption[1] = QStringLiteral("退出");
    return d;
}

namespace {

// One picture of the strip warning, stop, information, help, at the screen's scale.
QPixmap iconPicture(TskMessageDialog::IconType type, qreal scale) {
    QPixmap pm(QSize(42, 42) * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    skin::pictures::messageIcon(p, QRectF(0, 0, 42, 42), int(type));
    return pm;
}

} // namespace

int TskMessageDialog::Execute(ModalRunner& runner, QWidget* parent) {
    TskMessageWindow w(parent);
    // The frame: the dialog's style, and its own title bar over the empty top of the
    // design, which leaves every position below it as it is.
    frame(w);
    w.captionText = Caption;
    w.messageText = Text;
    int width = 336;

    // 1. The text, wrapped at a fixed width, growing downwards.
    auto* label = new QLabel(Text, &w);
    label->setObjectName(QStringLiteral("Label"));
    label->setWordWrap(true);
    label->setFixedWidth(225);
    if (FontColour.isValid())
        skin::setFontColour(label, skin::numberFromColour(FontColour));
    label->adjustSize();
    label->setFixedHeight(label->heightForWidth(225));
    auto* picture = new QLabel(&w);
    picture->setObjectName(QStringLiteral("Image"));
    picture->setGeometry(24, 64, 42, 42);
    // 2. The icon, or the text moved left and the window narrower.
    if (iconType != skNone) {
        label->move(88, 64);
        picture->setPixmap(iconPicture(iconType, w.devicePixelRatioF()));
    } else {
        label->move(24, 64);
        picture->hide();
        if (ButtonCount < 3)
            width -= 64;
    }
    const int bottom = std::max(label->geometry().bottom(),
                                picture->isHidden() ? 0 : picture->geometry().bottom()) +
                       1;
    // 3. The buttons, right to left: the highest number at the right, button 1 focused.
    const int count = std::clamp(ButtonCount, 1, 3);
    for (int i = 0; i < count; ++i) {
        const int number = count - i;
        auto* b = new QPushButton(ButtonCaption[number - 1], &w);
        b->setObjectName(QStringLiteral("Button%1").arg(number));
        b->setGeometry(width - 97 - 93 * i, bottom + 20, 73, 25);
        b->setCursor(ButtonCursor);
        const int result = ButtonModalResult[number - 1];
        connect(b, &QPushButton::clicked, &w, [&w, result] { w.done(result); });
        w.buttonCaptionsInCreationOrder << b->text();
        b->setFocus();
    }
    // 4. Height.
    w.setFixedSize(width, bottom + 65);
    // 5. Modal, placed by `position`; closing otherwise counts as Cancel.
    return run(w, runner, parent);
}

void TskMessageDialog::presentProgramBoxes() {
    InteractiveModals::setBoxPresenter([](QWidget* parent, const QString& text, bool error) {
        TskMessageDialog box(QStringLiteral("skErrorBox"), nullptr);
        box.Caption = QString::fromUtf8(kApplicationTitle);
        box.useProgramFonts();
        box.Text = text;
        box.iconType = error ? skStop : skNone;
        box.ButtonCaption[0] = QStringLiteral("确定");
        // The boxes are run as they are; their presenter is the real runner itself.
        struct Direct : ModalRunner {
            int exec(QDialog& d) override { return d.exec(); }
            void showError(QWidget*, const QString&) override {}
            void showMessage(QWidget*, const QString&) override {}
        } direct;
        box.Execute(direct, parent);
    });
}

QString TskMessageWindow::copyText() const {
    const QString rule(27, QLatin1Char('-'));
    return QStringList{rule, captionText,
                       rule, messageText,
                       rule, buttonCaptionsInCreationOrder.join(QStringLiteral("   ")),
                       rule}
        .join(QStringLiteral("\r\n"));
}

void TskMessageWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(copyText());
        return;
    }
    QDialog::keyPressEvent(event);
}
