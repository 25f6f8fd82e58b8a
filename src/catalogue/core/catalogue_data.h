#pragma once
// The raw catalogue tables, defined in a source file that the catalogue generator writes
// at build time from data/catalogue/. Names are UTF-8; the long texts are UTF-16 arrays
// with their sizes, so that strings can wrap them without a copy. Only catalogue.cpp reads
// these.

#include "base/core/compiled_text.h"

namespace catalogue::data {

struct RawPattern {
    int list;              // 0 常用词谱, 1 通用词谱, 2 冷僻词谱
    const char* labelName; // the name shown in the list label
    const char* name;
    int charCount;
    CompiledText templateText;
    CompiledText explanation;
    CompiledText examples[5];
    int fileNumber;
};

struct RawVerse {
    const char* label;
    const char* name;
    CompiledText templateText;
    CompiledText explanation;
    CompiledText examples[5];
};

struct RawSearchRow {
    const char* target;
    const char* keys; // separated by "、"
};

extern const RawPattern kPatterns[];
extern const int kPatternCount;
extern const RawVerse kVerses[];
extern const int kVerseCount;
extern const RawSearchRow kSearchRows[];
extern const int kSearchRowCount;

} // namespace catalogue::data
