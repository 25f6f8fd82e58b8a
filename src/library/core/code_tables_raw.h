#pragma once
// The compiled-in code tables as the generator writes them.

namespace code_tables::raw {

struct Region {
    const char* name;
    const char* id;
    const char* text; // lines joined by '\n'
};

extern const Region areaCodes[];
extern const int areaCodeCount;
extern const Region postalCodes[];
extern const int postalCodeCount;

} // namespace code_tables::raw
