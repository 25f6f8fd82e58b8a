#include "checker/core/poem_split.h"

#include "catalogue/core/catalogue.h"

#include <algorithm>
#include <cstdlib>

namespace checker {

namespace {

// A line of the text without its line break.
struct Line {
    int start;
    int end;
};

bool isBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool isBlank(QStringView s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.isSpace(); });
}

// The marks that end a clause or a sentence: a heading has none of them.
bool isClauseMark(QChar c) {
    switch (c.unicode()) {
    case u'，':
    case u'。':
    case u'；':
    case u'：':
    case u'！':
    case u'？':
    case u'、':
    case u',':
    case u'.':
    case u';':
    case u':':
    case u'!':
    case u'?':
        return true;
    default:
        return false;
    }
}

bool hasClauseMark(QStringView s) {
    return std::any_of(s.begin(), s.end(), isClauseMark);
}

// The characters a check would count: letters and digits (the ideographs among them) and □.
int countedChars(QStringView s) {
    int n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(s[i], s[i + 1]), ++i;
        if (c == U'□' || QChar::isLetterOrNumber(c))
            ++n;
    }
    return n;
}

// Longest heading that stands as a title of its own beside punctuated lines.
constexpr int kTitleChars = 16;
// Longest line that names the tune and still reads as a heading: 蝶恋花・庭院深深深几许（欧阳修）.
constexpr int kTuneHeadingChars = 24;

// Whether a poem's leading line is its heading rather than a line of verse. A line of
// verse typed without punctuation is told from a title only when the lines after it
// are punctuated.
bool isHeading(QStringView line, const SplitOptions& o, bool restPunctuated) {
    const QStringView t = line.trimmed();
    if (t.startsWith(u'《'))
        return true;
    if (hasClauseMark(t))
        return false;
    const int n = countedChars(t);
    if (!o.tuneName.isEmpty() && t.contains(o.tuneName) && n <= kTuneHeadingChars)
        return true;
    return restPunctuated && n <= kTitleChars;
}

// A run of lines between blank lines.
struct Block {
    QList<Line> lines;
};

} // namespace

SplitOptions splitOptions(const QString& tuneName, QStringView templateText) {
    const auto marks = std::count_if(templateText.begin(), templateText.end(),
                                     [](QChar c) { return catalogue::toneMarkOf(c).has_value(); });
    return {.tuneName = tuneName, .patternChars = int(marks)};
}

QList<PoemSpan> splitPoems(QStringView text, const SplitOptions& options) {
    QList<Block> blocks;
    bool open = false;
    for (qsizetype i = 0; i <= text.size();) {
        qsizetype j = i;
        while (j < text.size() && !isBreak(text[j]))
            ++j;
        const QStringView line = text.sliced(i, j - i);
        if (isBlank(line)) {
            open = false;
        } else {
            if (!open)
                blocks.append(Block{});
            open = true;
            blocks.last().lines.append({int(i), int(j)});
        }
        if (j + 1 < text.size() && text[j] == u'\r' && text[j + 1] == u'\n')
            ++j;
        i = j + 1;
    }
    auto view = [&](const Line& l) { return text.sliced(l.start, l.end - l.start); };
    auto punctuatedFrom = [&](const Block& b, qsizetype from) {
        for (qsizetype k = from; k < b.lines.size(); ++k) {
            if (hasClauseMark(view(b.lines[k])))
                return true;
        }
        return false;
    };
    auto lastEnd = [&](const Block& b) {
        const Line& l = b.lines.last();
        int e = l.end;
        while (e > l.start && text[e - 1].isSpace())
            --e;
        return e;
    };

    QList<PoemSpan> poems;
    QStringList pendingHeading; // a block of headings only: the heading of the poem after it
    int pendingStart = -1;
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        const Block& block = blocks[b];
        QStringList heading = pendingHeading;
        qsizetype body = 0;
        while (body < block.lines.size()) {
            const bool rest = body + 1 < block.lines.size()
                                  ? punctuatedFrom(block, body + 1)
                                  : b + 1 < blocks.size() && punctuatedFrom(blocks[b + 1], 0);
            if (!isHeading(view(block.lines[body]), options, rest))
                break;
            heading.append(view(block.lines[body]).trimmed().toString());
            ++body;
        }
        const int start = pendingStart >= 0 ? pendingStart : block.lines.first().start;
        if (body == block.lines.size() && b + 1 < blocks.size()) {
            pendingHeading = heading;
            pendingStart = start;
            continue;
        }
        pendingHeading.clear();
        pendingStart = -1;
        PoemSpan p{.start = start,
                   .bodyStart =
                       body < block.lines.size() ? block.lines[body].start : lastEnd(block),
                   .end = lastEnd(block),
                   .heading = heading.join(QStringLiteral("  "))};
        if (options.patternChars > 0 && heading.isEmpty() && !poems.isEmpty()) {
            // A stanza set off by a blank line: join it when that brings the poem before
            // it nearer to the pattern's length.
            PoemSpan& before = poems.last();
            const int had = countedChars(text.sliced(before.bodyStart, before.bodyLength()));
            const int adds = countedChars(text.sliced(p.bodyStart, p.bodyLength()));
            if (had < options.patternChars &&
                std::abs(had + adds - options.patternChars) < options.patternChars - had) {
                before.end = p.end;
                continue;
            }
        }
        poems.append(p);
    }
    return poems;
}

int poemAt(const QList<PoemSpan>& poems, int offset) {
    if (poems.isEmpty())
        return -1;
    const auto after = std::upper_bound(poems.begin(), poems.end(), offset,
                                        [](int o, const PoemSpan& p) { return o < p.start; });
    return after == poems.begin() ? 0 : int(after - poems.begin()) - 1;
}

} // namespace checker
