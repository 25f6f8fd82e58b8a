#pragma once
// A long text compiled into the program as a UTF-16 array with its size beside it, as the
// build-time generators write them (codegen::Utf16Arrays). Wrapped in a QString without
// a copy, its pages are read only when the text is used, so tables of model poems or
// rhyme groups cost nothing at start-up until one is shown.

#include <QString>

struct CompiledText {
    const char16_t* chars; // null-terminated
    int size;              // UTF-16 code units, without the terminator
};

// The text as a string over the compiled-in array. The array lives as long as the
// program, so the string and its copies may be kept anywhere.
inline QString wrap(const CompiledText& t) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(t.chars), t.size);
}
