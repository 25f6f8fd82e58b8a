#pragma once
// Printing a document as plain text: its lines as the screen wraps them, in the
// document's base font, a new page when the next line does not fit.

#include <QStringList>

class QPrinter;
class QTextEdit;

namespace workspace {

// The lines of `doc` in the order and with the breaks the editor shows them; a last
// empty line is left out.
QStringList screenLines(const QTextEdit& doc);

// Prints `lines` to `printer` in the base font of `doc`. A line wider than the page
// continues on the next printed line.
void printLines(const QStringList& lines, const QTextEdit& doc, QPrinter& printer);

} // namespace workspace
