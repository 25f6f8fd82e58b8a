#pragma once
// What the favourites' three windows share: a fixed client area centred on the screen
// with the caption "Lyrevane", a heading, labels and 80 × 27 buttons at fixed places.

#include <QPoint>
#include <QSize>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace favourites {

void frameDialog(QDialog* d, const QString& name, QSize client);
QLabel* dialogLabel(QWidget* parent, const QString& text, QPoint at, bool heading = false);
QPushButton* dialogButton(QWidget* parent, const QString& name, const QString& caption, QPoint at);

} // namespace favourites
