// lyrevane-cli: look-ups, conversions and checks over the same core as the window.

#include "cli/command.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::Io io{out, err};

    std::vector<cli::Command> commands;
    for (auto&& group : {cli::catalogueCommands(), cli::rhymeCommands(), cli::workspaceCommands(),
                        cli::checkerCommands()})
        commands.insert(commands.end(), group.begin(), group.end());

    QStringList args = app.arguments().mid(1);
    auto usage = [&](QTextStream& to) {
        to << "usage: lyrevane-cli COMMAND [ARGS]\n";
        for (const auto& c : commands)
            to << "  lyrevane-cli " << c.usage << '\n';
    };
    if (args.isEmpty()) {
        usage(err);
        return cli::BadUsage;
    }
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("help")) {
        usage(out);
        return cli::Ok;
    }
    for (const auto& c : commands) {
        if (c.name == args.first())
            return c.run(args.mid(1), io);
    }
    err << "lyrevane-cli: unknown command '" << args.first() << "'\n";
    return cli::BadUsage;
}
