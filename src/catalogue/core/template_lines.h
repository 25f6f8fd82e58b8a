#pragma once
// Breaking a one-line tonal template into the lines of its template file.

#include <QStringList>
#include <QStringView>

namespace catalogue {

// A line ends after each "。"; a stanza separator (a run of spaces) becomes an empty
// line. Shared by the program and the generator that writes the template files.
QStringList templateLines(QStringView templateText);

} // namespace catalogue
