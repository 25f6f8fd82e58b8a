#pragma once
// What the poets did at each position of a pattern, and the tune's poems themselves:
// both generated from the poetry dataset into the data tree (data/checker).

#include "catalogue/core/catalogue.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

namespace checker {

// "common/14" for 常用词谱 row 14, "verse/3" for a verse row: the key of the data files.
QString patternKey(const catalogue::CiPattern& p);
QString patternKey(const catalogue::VersePattern& p);

// One position of a pattern over the dataset's poems that fit it.
struct PositionCount {
    int level = 0;
    int oblique = 0;
    int unknown = 0;
    int unrhymed = 0;     // at a rhyme position: poems whose character there does not rhyme
    QStringList minority; // up to three "poet《first line》" taking the rarer tone
};

struct PatternPrecedent {
    QString era; // "宋" for the ci tunes, "唐" for the verse forms
    int poems = 0;
    QList<PositionCount> positions; // one per template mark
};

// The file holds every pattern's block, some 3 MB of text; a check needs one or a few. The
// file is mapped, not read; an index at its end says where each block is, and each block is
// read when first asked for, under a lock, so a check costs (and touches) what it uses and
// several threads may ask at once.
class Precedent {
  public:
    // The blocks are found through the text's index, or, for a text without one, by its
    // headings.
    static Precedent fromText(const QByteArray& utf8);
    // The text with its index appended: "#index", a "key<TAB>start<TAB>end" line per block
    // (byte offsets into the text), then "#index-at<TAB>offset of the #index line".
    static QByteArray indexed(const QByteArray& utf8);
    static Precedent load(const QString& dir); // empty when the file is missing
    // The block of a pattern key, kept for the Precedent's life; nullptr for none.
    const PatternPrecedent* find(const QString& key) const;
    bool isEmpty() const { return blocks_.isEmpty(); }

  private:
    QByteArray text_; // the file's text, UTF-8: the file's own pages when mapped (see load)
    std::shared_ptr<QFile> mapped_;
    bool readIndex();

    QHash<QString, std::pair<qsizetype, qsizetype>> blocks_; // key → its lines' span in text_
    // The blocks read so far, each where it was first put: a later one read does not move it.
    mutable QHash<QString, std::shared_ptr<const PatternPrecedent>> read_;
    std::unique_ptr<std::mutex> reading_ = std::make_unique<std::mutex>(); // for read_
};

// One of a tune's poems in the dataset.
struct TunePoem {
    QString poet;
    QString title;          // the tune name as the dataset files it
    QStringList paragraphs; // as the dataset gives them
    QString firstLine() const;
};

// The poems of each tune, famous poets first.
class TunePoems {
  public:
    static TunePoems fromText(const QByteArray& utf8);
    static TunePoems load(const QString& dir);
    QList<TunePoem> poems(const QString& key) const { return byKey_.value(key); }
    bool isEmpty() const { return byKey_.isEmpty(); }
    QHash<QString, QList<TunePoem>> byKey_;
};

} // namespace checker
