#pragma once
// The rhyme book tables as rhyme_gen writes them, in list order: names as UTF-8
// literals, each group's characters as a compiled-in UTF-16 text.

#include "base/core/compiled_text.h"

namespace rhyme::raw {

struct Entry {
    const char* name;
    int tone; // 0 平声, 1 仄声, 2 入声
    const char* finals;
    const char* split; // split-view name on the 平声 entry of a pair, else empty
    CompiledText text;
};

extern const Entry ciyun[33];
extern const Entry xinyun[24];
extern const Entry xiandai[36];

} // namespace rhyme::raw
