#pragma once
// Where tests find the source tree and the npm packages, and the classical tones that
// the dataset's strains give each character.

#include <QHash>
#include <QString>

namespace testdata {

// The source tree: LYREVANE_SOURCE_DIR, else the one the build was configured from.
QString sourceDir();
// The folder holding chinese-poetry and pinyin-pro: LYREVANE_NPM_DIR, else the folder
// the build was configured with.
QString npmDir();
// chinese-poetry's dist folder.
QString poetryDir();
// data/catalogue/examples in the source tree.
QString examplesDir();

struct ToneCount {
    int level = 0;
    int oblique = 0;
    int seen() const { return level + oblique; }
};

// How often the strains mark each character of the Tang poems level (平) or oblique
// (仄), counted on the traditional characters and folded onto their simplified forms
// with OpenCC. Unresolved marks and lines the strains do not align with are left out.
// Empty when the dataset is absent. Built once per test program.
const QHash<QString, ToneCount>& classicalToneCounts();

} // namespace testdata
