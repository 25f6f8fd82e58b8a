#pragma once
// What the reading windows of the library share: side channels and captioned panels
// laid edge to edge in one row, a list at the left and read-only text in Song.

#include <QSize>
#include <QString>

#include <utility>

class QHBoxLayout;
class QListWidget;
class QPlainTextEdit;
class QWidget;
class TskPanel;
class TskSideChannel;

namespace reading {

// Frames, titles and sizes the window and gives it its row. The frame takes the style
// of the window's owner and follows it.
QHBoxLayout* windowRow(QWidget* window, const QString& title, QSize size);

// A side channel of the given width; pinned: shown open with the window and kept open,
// otherwise it slides out on demand.
TskSideChannel* sideChannel(const QString& name, QWidget* parent, bool pinned, int width);

// The list panel (skPanel1 holding ListBox1) filling a side channel.
std::pair<TskPanel*, QListWidget*> listPanel(TskSideChannel* channel, const QString& caption);

// A captioned panel holding one read-only text.
std::pair<TskPanel*, QPlainTextEdit*> textPanel(const QString& panelName, QWidget* parent,
                                                const QString& caption, const QString& memoName);

} // namespace reading
