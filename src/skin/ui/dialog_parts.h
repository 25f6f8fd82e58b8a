#pragma once
// What the small fixed-layout dialogs share: a fixed client area in the kit's frame with
// the caption "Lyrevane", a heading, labels and 80 × 27 buttons at fixed places.

#include <QPoint>
#include <QSize>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;
class TskForm;

namespace skin {

// Names the dialog, fixes its size and gives it the kit's frame, returned; centred:
// placed in the middle of the primary screen rather than where Qt puts it.
TskForm* frameDialog(QDialog* d, const QString& name, QSize client, bool centred = false);
QLabel* dialogLabel(QWidget* parent, const QString& text, QPoint at, bool heading = false);
// Not an auto-default button: Enter belongs to the dialog's fields.
QPushButton* dialogButton(QWidget* parent, const QString& name, const QString& caption, QPoint at);

} // namespace skin
