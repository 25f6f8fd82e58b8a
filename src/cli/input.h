#pragma once
// Reading a command's input file, and echoing what the user typed in one-line messages.

#include "cli/command.h"

#include <QFile>

namespace cli {

// The most a command reads from its input file: a document for the converters, a poem
// for the others. A larger file (or an endless device) is refused with one line instead
// of being held in memory.
constexpr qint64 kMaxDocumentBytes = qint64(256) << 20;
constexpr qint64 kMaxPoemBytes = qint64(16) << 20;

// Reads FILE, or standard input for "-"; on failure says so on standard error. The file
// is opened by the name's bytes as passed (`rawName`), which need not be UTF-8. Input of
// more than `maxBytes` is refused.
bool readInput(const QString& name, const QByteArray& rawName, QByteArray* bytes, Io& io,
               qint64 maxBytes = kMaxPoemBytes);

// A converter's input. A regular file stays open, to be read a piece at a time (and more
// than once, where the encoding is guessed first), so that a large file is never held
// whole; anything else (standard input, a pipe, a device, a file of no stated size) is
// read whole into `bytes`, as readInput() reads it.
struct Input {
    QFile file;       // open when the input is read from the file
    QByteArray bytes; // the input, when it was read whole
    bool fromFile() const { return file.isOpen(); }
};
// Opens or reads the input as readInput() does, with the same messages and limit.
bool openInput(const QString& name, const QByteArray& rawName, Input* input, Io& io,
               qint64 maxBytes);
// Says on standard error that the file could not be read to its end; returns true when
// that is so.
bool readFailed(const QString& name, const QFile& file, Io& io);

// Where a file of the shipped data tree is (`relative`, "data/checker/lexicon.dat"): under
// the current folder (the app folder), beside the program, in the installed tree
// (…/share/lyrevane), else `built`, the build's own.
QString shippedFile(const QString& relative, const QString& built);

// The bytes the system passed for the argument `value`, found among the arguments
// as given; `value` itself (UTF-8) when it is not there.
QByteArray rawArgument(const QString& value, const Io& io);

// `argument` as a message may echo it: line breaks, tabs and other control characters
// written as escapes (\n, \t, \x1b), so that every message stays one line.
QString shown(const QString& argument);

} // namespace cli
