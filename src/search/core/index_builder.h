#pragma once
// Builds the search corpus file from poems: their texts, the positions of every word
// character and what a search filters and ranks by.

#include "search/core/poem_kinds.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace search {

struct PoemInput {
    Collection collection = Collection::QuanTangShi;
    Dynasty dynasty = Dynasty::Tang;
    Form form = Form::Other;
    QString poet;       // simplified
    QString title;      // simplified; empty for a ci known by its tune only
    QString tune;       // a ci's or qu's tune, simplified; empty for a shi
    QString text;       // as the source spells it, lines separated by '\n'
    QString simplified; // the same converted to simplified characters
    quint64 poetFame = 0;
    quint8 anthologies = 0; // Anthology flags
    quint32 sourceIndex = 0;
};

class IndexBuilder {
  public:
    // Poems are ranked by fame, then by the order they were added in: add them oldest
    // first. A poem's id in the file is its rank.
    void add(PoemInput poem);
    // The file's bytes; `summary`, when given, gets a line of figures. Empty, with the
    // reason in `summary`, when the poems have more kinds of characters, poets or tunes
    // than the file can number.
    QByteArray build(QString* summary = nullptr) const;

  private:
    std::vector<PoemInput> m_poems;
};

// Writes the block checksums and the header's checksum of a file laid out as build()
// lays it out, over what it holds now (build() seals what it returns).
void sealIndex(QByteArray& file);

} // namespace search
