#pragma once
// A document of several poems cut into its poems: blank lines part them, and a poem's
// heading (its tune name or title) is set apart from the lines that are checked.

#include <QList>
#include <QString>
#include <QStringView>

namespace checker {

// One poem of a text, as offsets in UTF-16 code units.
struct PoemSpan {
    int start = 0;     // its first line, heading included
    int bodyStart = 0; // the first line after the heading: what the check reads
    int end = 0;       // just after its last character that is not a blank
    QString heading;   // the heading line as written, trimmed; empty when there is none

    int bodyLength() const { return end - bodyStart; }
};

struct SplitOptions {
    QString tuneName; // a line holding it is a heading
    // The number of characters the pattern asks for, 0 when unknown. A part without a
    // heading that only makes the poem before it whole (its second stanza, set off by a
    // blank line) is joined to that poem.
    int patternChars = 0;
};

// The options for a pattern: its tune name (empty for a verse form) and the number of
// tone marks in its template.
SplitOptions splitOptions(const QString& tuneName, QStringView templateText);

// The poems of a text in order; none for a text of blanks only.
QList<PoemSpan> splitPoems(QStringView text, const SplitOptions& options = {});

// The index of the poem that holds the offset; between two poems, the one before it (the
// first when before them all); -1 when there are none.
int poemAt(const QList<PoemSpan>& poems, int offset);

} // namespace checker
