#pragma once
// A tonal template read for checking: one slot per mark, with the line, sentence and
// rhyme run each belongs to.

#include "catalogue/core/catalogue.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace checker {

struct Slot {
    catalogue::ToneMark mark;
    int line;     // clause ended by "，" or "。"
    int sentence; // ended by "。"
    int segment;  // rhyme run (rhyme cells only; -1 elsewhere)
};

// A run of rhymes on one tone; a rhyme change starts a new run. A line noted 叶 rhymes on
// the other tone of the run it stands in, which is its `parent`.
struct RhymeRun {
    bool level;
    int parent = -1;
};

struct Pattern {
    QList<Slot> cells;
    QList<int> lineStarts;     // first slot of each line, then cells.size()
    QList<int> sentenceStarts; // first slot of each sentence, then cells.size()
    QList<RhymeRun> runs;

    // Reads a template in the catalogue's notation. Characters that are not marks,
    // punctuation or notes are ignored.
    static Pattern parse(QStringView templateText);

    int lineCount() const { return int(lineStarts.size()) - 1; }
    int lineLength(int line) const { return lineStarts[line + 1] - lineStarts[line]; }
    // Four or eight lines of five or seven marks, no notes: a regulated-verse shape.
    bool verseShape() const;
};

} // namespace checker
