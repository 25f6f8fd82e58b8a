#pragma once
// The kit's message dialog: a caption, an optional icon, a word-wrapped text and one to
// three buttons, shown modally. Ctrl+C copies its content as text.

#include "skin/ui/kit_dialog.h"

#include <QDialog>
#include <QString>

class ModalRunner;

class TskMessageDialog : public TskDialog {
    Q_OBJECT
  public:
    enum IconType { skNone, skWarning, skStop, skInformation, skHelp };

    TskMessageDialog(const QString& name, QObject* owner);

    QString Text = QStringLiteral("Hello world!");
    IconType iconType = skNone;
    int ButtonCount = 1;
    QString ButtonCaption[3] = {QStringLiteral("确定"), QStringLiteral("取消"),
                                QStringLiteral("取消")};
    int ButtonModalResult[3] = {QDialog::Accepted, QDialog::Rejected, QDialog::Rejected};

    // Builds the window, runs it through `runner` and returns the pressed button's
    // result (Cancel when closed otherwise).
    int Execute(ModalRunner& runner, QWidget* parent = nullptr);

    // Makes the program's error and message boxes skinned message dialogs: the
    // application title as caption, an error icon for errors, one button 确定.
    static void presentProgramBoxes();

    // The dialogs of the program: caption "Quillmere2004", the program's fonts, 确定
    // and 退出, the given icon and text.
    static TskMessageDialog* programDialog(const QString& name, IconType icon, const QString& text,
                                           QObject* owner);
};

// The window a message dialog builds.
class TskMessageWindow : public QDialog {
    Q_OBJECT
  public:
    explicit TskMessageWindow(QWidget* parent = nullptr) : QDialog(parent) {}
    // What Ctrl+C puts on the clipboard.
    QString copyText() const;
    QString captionText, messageText;
    QStringList buttonCaptionsInCreationOrder;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
