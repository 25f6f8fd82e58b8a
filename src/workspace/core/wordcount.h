#pragma once
// The word count of the 字数统计 window: a byte-wise count over the GBK form of a
// document's plain text.

#include <QString>

namespace workspace {

struct WordCount {
    qint64 wide = 0;  // bytes of 0x80 and above
    qint64 other = 0; // printable ASCII bytes other than the space (0x21 to 0x7E)

    // Chinese characters: each double-byte character adds two wide bytes.
    qint64 characters() const { return wide / 2; }
    friend bool operator==(const WordCount&, const WordCount&) = default;
};

// Counts `text` as its GBK bytes: 0x21 to 0x7E add one to other, 0x80 and above one to
// wide, anything below 0x21 nothing. So 你好，world! gives 6 wide (3 characters) and 6
// other, and 丂 (0x81 0x40) adds one to each. A character GBK lacks counts as one
// double-byte character unless it is a space or a control.
WordCount countWords(QStringView text);

// The two result lines after a count. A line is rewritten only when its counter is
// above zero, so a count of zero leaves it as it was; a lone wide byte does rewrite
// line 1, with 0 characters.
void updateResultLines(const WordCount& count, QString* line1, QString* line2);

} // namespace workspace
