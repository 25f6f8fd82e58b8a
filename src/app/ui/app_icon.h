#pragma once
// The program's icon: a red seal bearing 词 in white. The window icon, the about box
// and the desktop's menu entry (drawn at build time in each size a desktop uses) all
// come from here.

#include <QImage>

class QPainter;
class QRect;

void paintAppIcon(QPainter& painter, const QRect& square);
QImage appIconImage(int size);

// The window icon's sizes, drawn at build time and compiled into the program as
// ":/lyrevane-<size>.png".
inline constexpr int kWindowIconSizes[] = {16, 22, 24, 32, 48, 64, 128};
