#pragma once
// The compiled-in ci pattern catalogue: 107 records in three fixed lists, their tone
// marks, labels and template-file paths, and the 16 regulated-verse templates.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <span>

namespace catalogue {

// The five template symbols; each stands for one character of the poem.
enum class ToneMark { Level, Oblique, Either, LevelRhyme, ObliqueRhyme };

struct ToneMarkInfo {
    ToneMark value;
    QChar mark;
    unsigned short gbkCode;
    QString meaning;
    QString stripLegend;  // caption word in the template strip: 平声, 仄声, …
    QString columnLegend; // caption word above the line-broken template: 平, 仄, …
};

// The five marks in table order.
std::span<const ToneMarkInfo> toneMarks();
// The mark a character stands for, or nothing for punctuation, notes and spaces.
std::optional<ToneMark> toneMarkOf(QChar c);
// "填词规格  ○平声 ●仄声 ◎可平可仄 △压平韵 ▲压仄韵"
QString stripLegend();
// "○平 ●仄 ◎可平可仄 △平韵 ▲仄韵"
QString columnLegend();

// The three fixed lists of the side channel.
enum class PatternList { Common, General, Rare };

inline constexpr std::array<PatternList, 3> kPatternLists{PatternList::Common, PatternList::General,
                                                          PatternList::Rare};

QString listCaption(PatternList list);   // 常用词谱, 通用词谱, 冷僻词谱
QString listDirectory(PatternList list); // 常用词谱, 普通词谱, 冷僻词谱
int rowCount(PatternList list);          // 28, 38, 41

// One ci pattern. `templateText` is the tonal template (`template` is a reserved word).
struct CiPattern {
    PatternList list;
    int row; // 0-based, list order
    QString label;
    QString name;
    int charCount; // as stored; not recounted from the template
    QString templateText;
    QString explanation;
    std::array<QString, 5> examples;
    int fileNumber;
};

// The rows of one list in order.
std::span<const CiPattern> patterns(PatternList list);
// The record at a 0-based row, or nullptr when the row is outside the list (-1 for a
// list with no selection).
const CiPattern* pattern(PatternList list, int row);
// Row texts of one list, in order, for filling its list control.
QStringList labels(PatternList list);
// The name as the list label shows it (何满子 for the record named 河满子).
QString labelName(const CiPattern& p);
// "data\常用词谱\05.txt": the record's line-broken template file, relative to the data root.
QString templateFilePath(const CiPattern& p);

// The list label: name, spaces, count and 字, with the name two columns per Chinese
// character so that every label is 16 columns wide.
QString makeLabel(QStringView name, int count);
// Display width in columns: two per character outside ASCII, one per ASCII character.
int columnWidth(QStringView text);

// One of the 16 regulated-verse templates: a CiPattern without the character count.
struct VersePattern {
    int row;       // 0-based
    QString label; // "七律-首句平起仄收"
    QString name;  // "首句平起仄收-七律"
    QString templateText;
    QString explanation;
    std::array<QString, 5> examples;
    int fileNumber;
};

std::span<const VersePattern> versePatterns();
const VersePattern* versePattern(int row);
QString templateFilePath(const VersePattern& p); // "data\律诗绝句\16.txt"
inline constexpr char kVerseDirectory[] = "律诗绝句";

// One row of the search key table: its keys and the name of the record it finds.
struct SearchKeyRow {
    QStringList keys;
    QString target; // a CiPattern name
};

// The search key table: its rows in order (109 of them).
using SearchKeyTable = std::span<const SearchKeyRow>;
SearchKeyTable searchKeyTable();
// The target of the first row holding a key equal to `text`, compared whole, code unit
// for code unit; nullptr when no row holds it.
const CiPattern* findPattern(QStringView text);
// The record with that name (the panel caption), or nullptr.
const CiPattern* patternByName(QStringView name);
// The record whose name or label name is `name`, or nullptr.
const CiPattern* patternByNameOrLabel(QStringView name);

} // namespace catalogue
