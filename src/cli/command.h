#pragma once
// A lyrevane-cli sub-command: its name, a one-line usage and the function that runs it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

namespace cli {

// Exit codes shared by every command (the README lists them).
enum Exit {
    Ok = 0,
    NotFound = 1,    // nothing found, or no such file
    CannotWrite = 1, // standard output could not be written
    BadUsage = 2,
    Damaged = 3, // the input was read in part: what could be read was written
};

struct Io {
    QTextStream& out; // UTF-8 standard output
    QTextStream& err; // UTF-8 standard error: one line per failure
    // The command's arguments as the system passed them, for file names that are not
    // UTF-8 and so cannot be spelled as text.
    QList<QByteArray> raw;
};

struct Command {
    QString name;
    QString usage; // e.g. "show NAME [--json]"
    int (*run)(const QStringList& args, Io& io);
};

// Each subsystem lists its commands in its own file.
std::vector<Command> catalogueCommands();
std::vector<Command> rhymeCommands();
std::vector<Command> workspaceCommands();
std::vector<Command> favouritesCommands();
std::vector<Command> checkerCommands();
std::vector<Command> searchCommands();

} // namespace cli
