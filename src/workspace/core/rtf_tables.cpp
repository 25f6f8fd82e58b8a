#include "workspace/core/rtf_tables.h"

#include <array>

namespace workspace::rtf {

namespace {

using namespace std::string_view_literals;

constexpr std::array skipped = {
    "stylesheet"sv,
    "info"sv,
    "pict"sv,
    "object"sv,
    "header"sv,
    "headerl"sv,
    "headerr"sv,
    "headerf"sv,
    "footer"sv,
    "footerl"sv,
    "footerr"sv,
    "footerf"sv,
    "footnote"sv,
    "annotation"sv,
    "atnid"sv,
    "atnauthor"sv,
    "fldinst"sv,
    "themedata"sv,
    "colorschememapping"sv,
    "latentstyles"sv,
    "datastore"sv,
    "xmlnstbl"sv,
    "listtable"sv,
    "listoverridetable"sv,
    "rsidtbl"sv,
    "generator"sv,
    "filetbl"sv,
    "revtbl"sv,
    "pgdsctbl"sv,
    "mmathPr"sv,
    "nonshppict"sv,
    "bkmkstart"sv,
    "bkmkend"sv,
    "xe"sv,
    "tc"sv,
    "template"sv,
    "userprops"sv,
    "docvar"sv,
    "wgrffmtfilter"sv,
    "pnseclvl"sv,
    "fontemb"sv,
    "fontfile"sv,
    "objdata"sv,
    "shpinst"sv,
    "sp"sv,
    "sn"sv,
    "sv"sv,
    "blipuid"sv,
    "passwordhash"sv,
    "protusertbl"sv,
};

constexpr std::array underlines = {
    "ul"sv,       "uld"sv,       "uldb"sv,       "ulw"sv,       "ulwave"sv,     "ulth"sv,
    "uldash"sv,   "uldashd"sv,   "uldashdd"sv,   "ulhwave"sv,   "ulldash"sv,    "ulthd"sv,
    "ulthdash"sv, "ulthdashd"sv, "ulthdashdd"sv, "ulthldash"sv, "ululdbwave"sv,
};

constexpr std::array<NamedCharacter, 10> characters = {{
    {"emdash", u'\u2014'},
    {"endash", u'\u2013'},
    {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},
    {"rquote", u'\u2019'},
    {"ldblquote", u'\u201C'},
    {"rdblquote", u'\u201D'},
    {"emspace", u'\u2003'},
    {"enspace", u'\u2002'},
    {"qmspace", u'\u2005'},
}};

struct CharsetCodePage {
    int charset;
    int codePage;
};

constexpr CharsetCodePage charsetCodePages[] = {
    {0, 1252},   {2, 1252}, // symbol fonts: their bytes are glyph numbers
    {77, 10000}, {128, 932},  {129, 949},  {134, 936},  {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
    {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
};

struct CodePageEncoding {
    int codePage;
    const char* name;
};

constexpr CodePageEncoding encodings[] = {
    {437, "IBM437"},        {850, "IBM850"},        {874, "windows-874"},   {932, "windows-932"},
    {949, "windows-949"},   {950, "windows-950"},   {10000, "macintosh"},   {1250, "windows-1250"},
    {1251, "windows-1251"}, {1253, "windows-1253"}, {1254, "windows-1254"}, {1255, "windows-1255"},
    {1256, "windows-1256"}, {1257, "windows-1257"}, {1258, "windows-1258"},
};

} // namespace

std::span<const std::string_view> skippedDestinations() {
    return skipped;
}

std::span<const std::string_view> underlineWords() {
    return underlines;
}

std::span<const NamedCharacter> namedCharacters() {
    return characters;
}

int codePageOfCharset(int charset, int documentCodePage) {
    for (const auto& entry : charsetCodePages)
        if (entry.charset == charset)
            return entry.codePage;
    return documentCodePage;
}

const char* encodingName(int codePage) {
    for (const auto& entry : encodings)
        if (entry.codePage == codePage)
            return entry.name;
    return "windows-1252";
}

} // namespace workspace::rtf
