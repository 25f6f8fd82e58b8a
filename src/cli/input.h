#pragma once
// Reading a command's input file.

#include "cli/command.h"

namespace cli {

// Reads FILE, or standard input for "-"; on failure says so on standard error. The file
// is opened by the name's bytes as passed (`rawName`), which need not be UTF-8.
bool readInput(const QString& name, const QByteArray& rawName, QByteArray* bytes, Io& io);

// The bytes the system passed for the argument `value`, found among the arguments
// as given; `value` itself (UTF-8) when it is not there.
QByteArray rawArgument(const QString& value, const Io& io);

} // namespace cli
