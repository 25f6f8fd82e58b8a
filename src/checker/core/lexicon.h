#pragma once
// The tone lexicon: each character's classical tones (with the sense of each reading where
// the rhyme book marks one), its modern tone classes, its 平水韵 rhymes and 词韵 parts, the
// sources that list it and how the Tang poets used it.

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace checker {

// Classical tone readings, as bits.
enum ClassicalTone : unsigned char {
    kLevel = 1,           // 平
    kRisingDeparting = 2, // 上 or 去
    kEntering = 4,        // 入
    kObliqueOnly = 8,     // 仄, the sources not saying which
};
inline constexpr unsigned char kObliqueMask = kRisingDeparting | kEntering | kObliqueOnly;

// Modern tone classes: 平 = tones 1 and 2, 仄 = tones 3 and 4.
enum ModernTone : unsigned char { kModernLevel = 1, kModernOblique = 2 };

// Where a character's classical tones come from, as bits.
enum ToneSource : unsigned char {
    kSourceBook = 1,     // our rhyme book, 词韵简编 (data/rhyme/ciyun.txt)
    kSourcePingshui = 2, // the public 平水韵 table (data/checker/pingshui-charlesix59.txt)
    kSourceCilin = 4,    // the public 词林正韵 table (data/checker/cilin-charlesix59.txt)
    kSourceExcerpt = 8,  // the rows taken from a second 平水韵 table (pingshui-couyun.txt)
    kSourceStrains = 16, // the Tang strains, counts of use only (never a tone on their own)
};

// One reading of a character: as the rhyme book lists it, or as two public tables agree.
struct Reading {
    unsigned char tone = 0; // one ClassicalTone bit
    QString sense;          // "射中"; empty where the book marks none
    QString pingshui;       // the traditional rhyme heading it stands under: "一东"
    int ciEntry = -1;       // its entry in 词韵简编 (0 to 32)
    int pingshuiId = -1;    // `pingshui` as an index of Lexicon::pingshuiNames()
};

struct CharInfo {
    unsigned char classical = 0; // ClassicalTone bits; 0 = unknown
    unsigned char modern = 0;    // ModernTone bits; 0 = unknown
    QList<Reading> readings;     // the rhyme book's, in book order, then those of the tables
    QList<int> xinyun;           // 新韵简观 groups (pair index k) listing it
    QList<int> xiandai;          // 现代诗韵 groups
    int strainsLevel = 0;        // how often the Tang strains mark it 平 …
    int strainsOblique = 0;      // … and 仄
    int ciLevel = 0;          // how often 全宋词 puts it where the tune's pattern asks 平 …
    int ciOblique = 0;        // … and 仄 (poems that fit their tune's pattern, fixed marks)
    bool fromStrains = false; // the strains changed or gave the tone
    // No two sources agree on a tone (one table alone, or the strains alone): `classical`
    // then holds both 平 and 仄, to be checked by the writer, and levelShare gives the lean.
    bool uncertain = false;
    unsigned char sources = 0; // ToneSource bits: which sources list the character at all
    // How often the poets used the character as 平 where the metre decides (0 to 1): the
    // share of its places in 全宋词 where the tune's pattern asks 平 (ciLevel, ciOblique),
    // else, below kShareMinSeen such places, the share of the Tang strains' marks that are
    // 平; -1 when neither has kShareMinSeen. 风 is near 1 (as 讽 rare), 看 听 忘 in between.
    // A checker can rank a polyphone's readings, or lean an uncertain character, with it.
    float levelShare = -1;
    QString senses; // "平：看守；仄：看见", from the readings
    bool polyphone() const { return (classical & kLevel) && (classical & kObliqueMask); }
};

// Observations below which a count does not give CharInfo::levelShare.
inline constexpr int kShareMinSeen = 5;

// The lexicon file: one line per character, tab-separated (see data/checker/README.md).
class Lexicon {
  public:
    // Parses the text of a lexicon file (UTF-8). Lines it cannot read are skipped.
    static Lexicon fromText(const QByteArray& utf8);
    // The lexicon of the data tree at `dir` (…/data/checker), empty when it is missing.
    static Lexicon load(const QString& dir);

    // nullptr for a character the lexicon does not hold. A file's line is read the first
    // time its character is asked for (a check needs a few hundred of ten thousand), under
    // a lock: several threads may look characters up at once.
    const CharInfo* find(char32_t c) const {
        int i = -1;
        if (c < 0x10000) {
            i = bmp_.empty() ? -1 : bmp_[c];
        } else if (auto it = astral_.constFind(c); it != astral_.cend()) {
            i = *it;
        }
        if (i < 0)
            return nullptr;
        const CharInfo* info = read_[size_t(i)].load(std::memory_order_acquire);
        if (!info)
            info = readLine(i);
        return info == unreadable() ? nullptr : info;
    }
    qsizetype size() const { return qsizetype(lines_.size()); }
    bool isEmpty() const { return lines_.empty(); }
    // The 平水韵 rhyme names the readings read so far use, by Reading::pingshuiId.
    QStringList pingshuiNames() const;

    // A lexicon file's line for one character (the generator writes these).
    static QString line(char32_t c, const CharInfo& info);

  private:
    void index(char32_t c, int i);
    // What a line of fewer than eight fields reads as: as if it were not there.
    static const CharInfo* unreadable();
    const CharInfo* readLine(int i) const; // once, under the lock
    void finish(CharInfo& info) const;     // the senses, the rhymes' ids

    QByteArray text_; // the file's text, when read from one: its own pages when mapped
    std::shared_ptr<QFile> mapped_;
    std::vector<std::pair<int, int>> lines_; // each character's line in text_
    // The lines read so far, in the order they were asked for (a deque: what find() gave
    // stays where it is), and each line's, set under the lock once it is whole: nullptr
    // while unread.
    mutable std::deque<CharInfo> infos_;
    std::unique_ptr<std::atomic<const CharInfo*>[]> read_;
    std::unique_ptr<std::mutex> reading_ = std::make_unique<std::mutex>(); // for the lines
    std::vector<int> bmp_; // index into lines_ of each BMP character, -1 for none
    QHash<char32_t, int> astral_;
    mutable QStringList pingshuiNames_;       // under the lock
    mutable QHash<QString, int> pingshuiIds_; // under the lock
};

// "平", "上去", "入", "仄" for one bit; readings of several bits are joined with "/".
QString toneNames(unsigned char classical);
// The sources of ToneSource bits, named for the user: "词韵简编、平水韵表、唐诗声律".
QString sourceNames(unsigned char sources);

} // namespace checker
