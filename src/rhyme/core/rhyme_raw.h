#pragma once
// The rhyme book tables as rhyme_gen writes them: UTF-8 literals in list order.

namespace rhyme::raw {

struct Entry {
    const char* name;
    int tone; // 0 平声, 1 仄声, 2 入声
    const char* finals;
    const char* split; // split-view name on the 平声 entry of a pair, else empty
    const char* text;
};

extern const Entry ciyun[33];
extern const Entry xinyun[24];
extern const Entry xiandai[36];

} // namespace rhyme::raw
