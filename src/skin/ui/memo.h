#pragma once
// The kit's text panes and lists, and the face the program's fixed texts are set in.

#include <QFont>
#include <QString>

class QListWidget;
class QPlainTextEdit;
class QWidget;

namespace skin {
// 宋体 at a pixel size; where 宋体 itself is not installed, the monospaced CJK face,
// whose Chinese characters are also exactly twice as wide as its ASCII ones.
QFont songFont(int pixelSize);
// A borderless, word-wrapped text pane with a vertical scroll bar.
QPlainTextEdit* makeMemo(const QString& name, QWidget* parent, bool readOnly,
                         const QString& hint = {});
// A list box of text rows.
QListWidget* makeListBox(const QString& name, QWidget* parent, const QString& hint = {});
} // namespace skin
