#pragma once
// A lyrevane-cli sub-command: its name, a one-line usage and the function that runs it.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

namespace cli {

// Exit codes shared by every command.
enum Exit { Ok = 0, NotFound = 1, BadUsage = 2 };

struct Io {
    QTextStream& out; // UTF-8 standard output
    QTextStream& err; // UTF-8 standard error: one line per failure
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
std::vector<Command> checkerCommands();

} // namespace cli
