#pragma once
// The forms a tune is written in (the catalogue's template, then the 又一体 of the pattern
// books, each with its rhyme plan) and the traditional-to-simplified character table the
// checker looks characters up through: both generated into the data tree (data/checker).

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace checker {

// One form of a tune.
struct Form {
    QString label;        // "本谱", "钦定词谱·又一体（吴文英体，93字）"
    QString templateText; // in the catalogue's notation
    QString plan;         // the rhyme group of each rhyme position (Pattern::parse)
    QString precedentKey; // the key of its precedent block; empty when there is none
};

class Forms {
  public:
    static Forms fromText(const QByteArray& utf8);
    static Forms load(const QString& dir); // empty when the file is missing
    // The forms of a pattern key, the catalogue's template first; empty for an unknown key.
    QList<Form> forms(const QString& key) const { return byKey_.value(key); }
    bool isEmpty() const { return byKey_.isEmpty(); }
    // Whether the Song poets often rhyme 词韵 part `minor` among rhymes of part `major`.
    bool mixed(int major, int minor) const { return mixed_.value(major).contains(minor); }
    // How often the Song poets rhyme `c` among rhymes of part `part`, where no reading of
    // its is in that part; 0 below the generator's threshold.
    int rhymedIn(char32_t c, int part) const { return charMixed_.value(c).value(part); }
    QHash<QString, QList<Form>> byKey_;
    QHash<int, QList<int>> mixed_; // the "@mix" block: major part → parts found beside it
    QHash<char32_t, QHash<int, int>> charMixed_; // "@charmix": character → part → times
};

// Traditional characters and their simplified forms, one character to one.
class Simplifier {
  public:
    static Simplifier fromText(const QByteArray& utf8);
    static Simplifier load(const QString& dir);
    char32_t simplified(char32_t c) const { return map_.value(c, c); }
    bool isEmpty() const { return map_.isEmpty(); }
    QHash<char32_t, char32_t> map_;
};

} // namespace checker
