#pragma once
// What the kit's modal dialogs share: the caption, the place the window appears, the
// cursor over its buttons, the style of its frame and the fonts of its text and caption.

#include "skin/core/ui_style.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

class ModalRunner;
class QDialog;
class TskFileTheme;
class TskForm;

class TskDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(int uiStyle READ uiStyleNumber WRITE setUIStyleNumber)
    Q_PROPERTY(QObject* fileTheme READ fileThemeObject WRITE setFileThemeObject)
  public:
    enum Position { ScreenCenter, OwnerCenter };

    TskDialog(const QString& name, QObject* owner);

    QString Caption = QStringLiteral("skDialog");
    Position position = ScreenCenter;
    Qt::CursorShape ButtonCursor = Qt::PointingHandCursor;
    // The text's font and colour; an invalid colour leaves the style's.
    QFont Font;
    QColor FontColour;
    // The frame caption's font and colour.
    QFont CaptionFont = defaultCaptionFont();
    QColor CaptionFontColour = Qt::white;

    // The style of the window; the kit's dialogs are designed in MacOS.
    UIStyle uiStyle = UIStyle::MacOS;
    QPointer<TskFileTheme> fileTheme;
    int uiStyleNumber() const { return int(uiStyle); }
    void setUIStyleNumber(int n) { uiStyle = UIStyle(n); }
    QObject* fileThemeObject() const;
    void setFileThemeObject(QObject* o);

    // The program's own dialogs: text and caption in 12-pixel Song in dark blue, the
    // caption bold.
    void useProgramFonts();

    static QFont defaultCaptionFont();

  protected:
    // Gives `w` the dialog's name, its text font and its skinned frame: the dialog's
    // caption, style, theme and caption font, with a title bar over the empty top of the
    // design.
    TskForm* frame(QDialog& w) const;
    // Places `w` by `position`, once its size is final, and runs it through `runner`;
    // closing it otherwise than by a button counts as Cancel.
    int run(QDialog& w, ModalRunner& runner, QWidget* parent) const;
};
