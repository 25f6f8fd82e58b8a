#pragma once
// The kit's pictures, drawn by code from the look's colours so that they are crisp at
// any device pixel ratio. A theme file's picture, when it carries one, is drawn instead:
// its frames lie side by side (the state each frame stands for is given where it is
// drawn), and a picture whose header gives 192 dots per inch is one for scale 2.

#include <QColor>
#include <QRectF>

class QPainter;

namespace skin {

struct Look;

namespace pictures {

struct State {
    bool enabled = true, hover = false, down = false, checked = false, focus = false;
};

enum class TitleButton { Minimise, Maximise, Restore, Close };

void button(QPainter& p, const QRectF& r, const Look& look, State s);
void toolButton(QPainter& p, const QRectF& r, const Look& look, State s);
void checkBox(QPainter& p, const QRectF& r, const Look& look, State s);
void radioButton(QPainter& p, const QRectF& r, const Look& look, State s);
// The menu bar across `r`; only `part` of it when given (a menu item's share).
void menuBar(QPainter& p, const QRectF& r, const Look& look, const QRect& part = {});
void menuSelection(QPainter& p, const QRectF& r, const Look& look);
void titleBar(QPainter& p, const QRectF& r, const Look& look, bool active);
QColor titleText(const Look& look, bool active);
void titleButton(QPainter& p, const QRectF& r, const Look& look, TitleButton which, State s);
void scrollGroove(QPainter& p, const QRectF& r, const Look& look, bool horizontal);
// The slider and the arrows carry the groove under them.
void scrollSlider(QPainter& p, const QRectF& r, const Look& look, bool horizontal, State s);
void scrollArrow(QPainter& p, const QRectF& r, const Look& look, int direction, State s);
void tab(QPainter& p, const QRectF& r, const Look& look, State s); // checked: the current tab
void frame(QPainter& p, const QRectF& r, const Look& look, bool focus);
// The frame round a tab control's pages.
void tabFrame(QPainter& p, const QRectF& r, const Look& look);
// A checkable list item's box: the theme's check-list picture, or the check box.
void checkListBox(QPainter& p, const QRectF& r, const Look& look, State s);
// Controls the kit draws only from a theme's pictures; false when the theme carries
// none, and the base style draws them in the window's colours. The progress bar's
// groove or filled part; a track bar's groove and its handle.
bool progressBar(QPainter& p, const QRectF& r, const Look& look, bool filled);
bool trackBarGroove(QPainter& p, const QRectF& r, const Look& look, bool horizontal);
bool trackBarHandle(QPainter& p, const QRectF& r, const Look& look, bool horizontal, State s);
void captionStrip(QPainter& p, const QRectF& r, const Look& look);
void sideChannelBar(QPainter& p, const QRectF& r, const Look& look);
void sideChannelHandle(QPainter& p, const QRectF& r, const Look& look, bool pointsRight);
void pin(QPainter& p, const QRectF& r, const Look& look, bool pinned);
// The pop-up notice's background, with its close mark at the top right.
void noticeBackground(QPainter& p, const QRectF& r, const Look& look);
// The message dialog's icons: 1 warning, 2 stop, 3 information, 4 help.
void messageIcon(QPainter& p, const QRectF& r, int kind);

} // namespace pictures
} // namespace skin
