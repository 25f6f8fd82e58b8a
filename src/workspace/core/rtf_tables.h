#pragma once
// The RTF reader's data: which destinations hold no text, which words are underlines
// or name a character, and which code page a font's character set or a document's
// \ansicpg means.

#include <span>
#include <string_view>

namespace workspace::rtf {

// Destinations whose content is not document text (pictures, info, styles, ...).
std::span<const std::string_view> skippedDestinations();

// The underline words; \ulnone ends any of them.
std::span<const std::string_view> underlineWords();

// Words that stand for one character, such as \emdash.
struct NamedCharacter {
    std::string_view word;
    char16_t character;
};
std::span<const NamedCharacter> namedCharacters();

// The code page of a font's \fcharset; unknown sets and 1 (the system's ANSI) take
// the document's.
int codePageOfCharset(int charset, int documentCodePage);

// The decoder name of a Windows code page; unknown ones decode as windows-1252.
const char* encodingName(int codePage);

} // namespace workspace::rtf
