#pragma once
// Checks a poem against a tonal template: each character's tone, the rhymes, the length of
// each line, and for regulated verse 孤平, 三平尾, 粘 and 对. It never guesses a tone: a
// character of two readings, or of none the sources settle, is reported as uncertain.

#include "checker/core/forms.h"
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
    bool lenient = false;  // its clash or rhyme is one the poets often made: 宽
};

struct Finding {
    enum Kind { Clash, Uncertain, OffRhyme, Length, Verse, Form, Note };
    Kind kind;
    int offset = -1; // the character it concerns, -1 for the whole poem or a line
    int length = 0;
    QString message;
    // "此处宋人N首中M首用平", and where the character's own use excuses the clash
    // "；宋词定声之处用「一」N次，M次作平（入声代平）"
    QString precedent;
    QStringList examples; // up to three "poet《first line》"
    // A clash the poets themselves made often (a tenth of them took the tone used here, or
    // used this character in it a sixth of the time), or a rhyme from a part they often
    // rhymed with this one: 宽, reported with its precedent, but the poem still keeps the
    // pattern. A kept tone broken is 错: a Clash without this flag.
    bool lenient = false;
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
    // The form checked against: the verse label, "七律-首句平起仄收"; for a tune of several
    // forms the form's label, "本谱" (the catalogue's template) or
    // "钦定词谱·又一体（吴文英体，93字）"; else empty.
    QString form;
    QStringList forms;  // the tune's forms, in order: what Request::form can pick
    int formIndex = -1; // the index in `forms` of the one checked against; -1 without forms
    bool keeps() const; // no failing finding (a lenient clash does not fail)
    int count(Status s) const;
};

struct Request {
    QString templateText;
    QString text;
    Standard standard = Standard::CiYun;
    QString patternKey; // for the precedent and the forms; empty for a favourite's own pattern
    // The tune's form to check against, an index into Result::forms; -1 (or out of range)
    // tries them all and takes the one the poem fits best: fewest missing or extra
    // characters, then fewest faults, then the catalogue's template.
    int form = -1;
};

class Checker {
  public:
    // Without `forms` a tune has its template only; without `simplifier` traditional
    // characters are looked up as they stand.
    Checker(const Lexicon& lexicon, const Precedent& precedent, const Forms* forms = nullptr,
            const Simplifier* simplifier = nullptr)
        : lexicon_(lexicon), precedent_(precedent), forms_(forms), simplifier_(simplifier) {}
    Result check(const Request& request) const;

  private:
    const Pattern& parsed(const QString& templateText, const QString& plan = {}) const;
    void excuseByOtherForms(Result& r, const QList<Form>& forms, int chosen) const;

    const Lexicon& lexicon_;
    const Precedent& precedent_;
    const Forms* forms_;
    const Simplifier* simplifier_;
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
