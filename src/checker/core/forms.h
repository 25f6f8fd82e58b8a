#pragma once
// The forms a tune is written in (the catalogue's template, then the 又一体 of the pattern
// books, each with its rhyme plan) and the traditional-to-simplified character table the
// checker looks characters up through: both generated into the data tree (data/checker).

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <mutex>
#include <optional>

namespace checker {

// One form of a tune.
struct Form {
    QString label;        // "本谱", "钦定词谱·又一体（吴文英体，93字）"
    QString templateText; // in the catalogue's notation
    QString plan;         // the rhyme group of each rhyme position (Pattern::parse)
    QString precedentKey; // the key of its precedent block; empty when there is none
};

// forms.dat holds every tune's block; a check needs one tune's, and the rhyme mixing only
// where a rhyme strays. The file is mapped, its headings found at load, and each block read
// when first asked for, under a lock: several threads may ask at once.
class Forms {
  public:
    static Forms fromText(const QByteArray& utf8);
    static Forms load(const QString& dir); // empty when the file is missing
    // The forms of a pattern key, the catalogue's template first; empty for an unknown key.
    QList<Form> forms(const QString& key) const;
    bool isEmpty() const { return blocks_.isEmpty(); }
    // Whether the Song poets often rhyme 词韵 part `minor` among rhymes of part `major`.
    bool mixed(int major, int minor) const { return mixing().mixed.value(major).contains(minor); }
    // How often the Song poets rhyme `c` among rhymes of part `part`, where no reading of
    // its is in that part; 0 below the generator's threshold.
    int rhymedIn(char32_t c, int part) const { return mixing().charMixed.value(c).value(part); }

  private:
    struct Mixing {
        QHash<int, QList<int>> mixed;               // "@mix": major part → parts beside it
        QHash<char32_t, QHash<int, int>> charMixed; // "@charmix": character → part → times
    };
    QByteArrayView block(const QString& key) const;
    const Mixing& mixing() const;

    QByteArray text_; // the file's text: its own pages when mapped
    std::shared_ptr<QFile> mapped_;
    QHash<QString, std::pair<qsizetype, qsizetype>> blocks_; // heading → its lines' span
    mutable QHash<QString, QList<Form>> read_;               // the tunes' blocks read so far
    mutable std::optional<Mixing> mixing_;                   // set once, under the lock
    std::unique_ptr<std::mutex> reading_ = std::make_unique<std::mutex>();
};

// Traditional characters and their simplified forms, one character to one. The table is
// read the first time a character is asked for (a text in simplified characters never needs
// it), under a lock: several threads may ask at once.
class Simplifier {
  public:
    static Simplifier fromText(const QByteArray& utf8);
    static Simplifier load(const QString& dir);
    char32_t simplified(char32_t c) const;
    bool isEmpty() const { return text_.isEmpty(); }

  private:
    QByteArray text_;
    std::shared_ptr<QFile> mapped_;
    mutable std::optional<QHash<char32_t, char32_t>> map_;
    std::unique_ptr<std::mutex> reading_ = std::make_unique<std::mutex>();
};

} // namespace checker
