// lyrevane-cli: look-ups, conversions and checks over the same core as the window.

#include "cli/command.h"
#include "cli/input.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// Output that did not reach its destination (a full disk, /dev/full, a file-size
// limit) makes the run a failure, whatever the command found.
int finished(int code, QTextStream& out, QTextStream& err) {
    out.flush();
    const bool written =
        out.status() == QTextStream::Ok && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (written)
        return code;
    const int error = errno;
    err << "lyrevane-cli: cannot write standard output: "
        << QString::fromLocal8Bit(std::strerror(error ? error : EIO)) << '\n';
    err.flush();
    return cli::CannotWrite;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit fails the write instead of ending the program unannounced.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::Io io{out, err, {}};
    for (int i = 2; i < argc; ++i)
        io.raw << QByteArray(argv[i]);

    std::vector<cli::Command> commands;
    for (auto&& group : {cli::catalogueCommands(), cli::rhymeCommands(), cli::workspaceCommands(),
                         cli::favouritesCommands(), cli::checkerCommands(), cli::searchCommands()})
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
        return finished(cli::Ok, out, err);
    }
    for (const auto& c : commands) {
        if (c.name == args.first())
            return finished(c.run(args.mid(1), io), out, err);
    }
    err << "lyrevane-cli: unknown command '" << cli::shown(args.first()) << "'\n";
    return cli::BadUsage;
}
