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

// A rhyme group of the form: the rhymes that must share one group of the rhyme book. A
// rhyme change starts a new group; a return to an earlier rhyme reuses its group. A line
// noted 叶 rhymes on the other tone of the group it stands in, which is its `parent`.
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
    // punctuation or notes are ignored. `plan` gives the rhyme group of each rhyme
    // position in order, one sign each ("1112211": the fourth and fifth rhymes change,
    // the sixth returns); without it (or when it has another number of signs) the notes
    // decide, and a rhyme on the other tone than the group in force starts a new group.
    static Pattern parse(QStringView templateText, QStringView plan = {});
    // The plan as parse() reads it: the group of each rhyme position, "" without rhymes.
    QString plan() const;

    int lineCount() const { return int(lineStarts.size()) - 1; }
    int lineLength(int line) const { return lineStarts[line + 1] - lineStarts[line]; }
    // Four or eight lines of five or seven marks, no notes: a regulated-verse shape.
    bool verseShape() const;
};

} // namespace checker
