#include "checker/core/pattern.h"

namespace checker {

using catalogue::ToneMark;

Pattern Pattern::parse(QStringView text, QStringView plan) {
    Pattern p;
    int line = 0;
    int sentence = 0;
    QString lineNote; // the note on the line being read
    int current = -1; // the rhyme run in force
    p.lineStarts.append(0);
    p.sentenceStarts.append(0);

    // Closes the line that ends at `end`: gives its rhyme cells their run.
    auto closeLine = [&] {
        const int first = p.lineStarts.last();
        int run = current;
        bool hasRhyme = false;
        bool level = true;
        for (int i = first; i < p.cells.size(); ++i) {
            const ToneMark m = p.cells[i].mark;
            if (m == ToneMark::LevelRhyme || m == ToneMark::ObliqueRhyme) {
                hasRhyme = true;
                level = m == ToneMark::LevelRhyme;
            }
        }
        if (hasRhyme) {
            const bool toneChange = current >= 0 && p.runs[current].level != level;
            if (lineNote.startsWith(u'换') || current < 0 || (lineNote.isEmpty() && toneChange)) {
                p.runs.append(RhymeRun{.level = level});
                current = run = int(p.runs.size()) - 1;
            } else if (lineNote.startsWith(u'叶')) {
                p.runs.append(RhymeRun{.level = level, .parent = current});
                run = int(p.runs.size()) - 1;
            }
            for (int i = first; i < p.cells.size(); ++i) {
                const ToneMark m = p.cells[i].mark;
                if (m == ToneMark::LevelRhyme || m == ToneMark::ObliqueRhyme)
                    p.cells[i].segment = run;
            }
        }
        lineNote.clear();
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (auto mark = catalogue::toneMarkOf(c)) {
            p.cells.append(Slot{.mark = *mark, .line = line, .sentence = sentence, .segment = -1});
        } else if (c == u'（') {
            const qsizetype close = text.indexOf(u'）', i);
            if (close < 0)
                break;
            lineNote = text.mid(i + 1, close - i - 1).toString();
            i = close;
        } else if ((c == u'，' || c == u'。') && p.cells.size() > p.lineStarts.last()) {
            closeLine();
            ++line;
            p.lineStarts.append(int(p.cells.size()));
            if (c == u'。') {
                ++sentence;
                p.sentenceStarts.append(int(p.cells.size()));
            }
        }
    }
    if (p.cells.size() > p.lineStarts.last()) {
        closeLine();
        p.lineStarts.append(int(p.cells.size()));
    }
    if (p.cells.size() > p.sentenceStarts.last())
        p.sentenceStarts.append(int(p.cells.size()));

    // A plan given for every rhyme replaces the groups the notes and tones gave.
    QList<int> rhymeCells;
    for (int i = 0; i < p.cells.size(); ++i) {
        if (p.cells[i].segment >= 0)
            rhymeCells.append(i);
    }
    if (!plan.isEmpty() && plan.size() == rhymeCells.size()) {
        p.runs.clear();
        QList<QChar> signs;
        for (qsizetype k = 0; k < plan.size(); ++k) {
            Slot& cell = p.cells[rhymeCells[k]];
            const bool level = cell.mark == ToneMark::LevelRhyme;
            qsizetype g = signs.indexOf(plan[k]);
            if (g < 0) {
                signs.append(plan[k]);
                p.runs.append(RhymeRun{.level = level});
                g = signs.size() - 1;
            }
            cell.segment = int(g);
        }
    }
    return p;
}

QString Pattern::plan() const {
    QString out;
    for (const Slot& s : cells) {
        if (s.segment >= 0)
            out += s.segment < 9 ? QChar(u'1' + s.segment) : QChar(u'a' + s.segment - 9);
    }
    return out;
}

bool Pattern::verseShape() const {
    const int n = lineCount();
    if (n != 4 && n != 8)
        return false;
    const int len = lineLength(0);
    if (len != 5 && len != 7)
        return false;
    for (int l = 1; l < n; ++l) {
        if (lineLength(l) != len)
            return false;
    }
    for (const RhymeRun& r : runs) {
        if (r.parent >= 0)
            return false;
    }
    return runs.size() <= 1;
}

} // namespace checker
