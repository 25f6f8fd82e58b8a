#pragma once
// Checks a poem against a tonal template: each character's tone, the rhymes, the length of
// each line, and for regulated verse 孤平, 三平尾, 粘 and 对. It never guesses a tone: a
// character of two readings, or of none the sources settle, is reported as uncertain.

#include "checker/core/lexicon.h"
#include "checker/core/pattern.h"
#include "checker/core/precedent.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace checker {

enum class Standard { CiYun, PingShui, XinYun, XianDai };

QString standardName(Standard s); // 词韵, 平水韵, 新韵, 现代诗韵
std::optional<Standard> standardNamed(QStringView name);

enum class Status {
    Ok,        // the tone the template asks for
    Clash,     // every reading has the other tone
    Uncertain, // readings of both tones, or none known
    Free,      // ◎
    Unchecked, // in a line too long or too short, or beyond the template
};

// A character of the text and what the check says of it.
struct CharMark {
    int offset; // in the text, in UTF-16 code units
    int length; // 1, or 2 for a character outside the BMP
    char32_t ch;
    int slot; // template position, -1 when unaligned
    Status status;
    bool rhyme = false;    // a rhyme position
    bool offRhyme = false; // a rhyme outside the group the other rhymes share
};

struct Finding {
    enum Kind { Clash, Uncertain, OffRhyme, Length, Verse, Form, Note };
    Kind kind;
    int offset = -1; // the character it concerns, -1 for the whole poem or a line
    int length = 0;
    QString message;
    QString precedent;    // "此处宋人N首中M首用平"
    QStringList examples; // up to three "poet《first line》"
};

struct RhymeReport {
    QString group;   // "第一部 平声", "一东", "春 en,in,un,vn"
    QString chars;   // the rhyme characters of the run, in order
    QString outside; // those outside the group
};

struct Result {
    QList<CharMark> marks;
    QList<Finding> findings;
    QList<RhymeReport> rhymes;
    QString form; // the verse form checked against, "七律-首句平起仄收"; else empty
    bool keeps() const;
    int count(Status s) const;
};

struct Request {
    QString templateText;
    QString text;
    Standard standard = Standard::CiYun;
    QString patternKey; // for the precedent; empty for a favourite's own pattern
};

class Checker {
  public:
    Checker(const Lexicon& lexicon, const Precedent& precedent)
        : lexicon_(lexicon), precedent_(precedent) {}
    Result check(const Request& request) const;

  private:
    const Pattern& parsed(const QString& templateText) const;

    const Lexicon& lexicon_;
    const Precedent& precedent_;
    mutable QHash<QString, Pattern> patterns_; // templates read so far
};

// The tone a character has under a standard.
enum class Tone { Level, Oblique, Both, Unknown };
Tone toneOf(const CharInfo* info, Standard standard);

// The characters of a text that the check aligns: everything but punctuation and blanks.
struct TextChar {
    int offset;
    int length;
    char32_t ch;
};
QList<TextChar> poemChars(QStringView text);

} // namespace checker
