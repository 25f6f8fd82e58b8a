// The user's favourites as stored in an app folder: read-only, for backups and scripts.

#include "base/core/app_error.h"
#include "base/core/data_root.h"
#include "base/core/settings_file.h"
#include "cli/command.h"
#include "cli/input.h"
#include "favourites/core/favourites_store.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

// A text of several lines under its label, each further line indented to match.
void printField(Io& io, const char* label, const QString& text) {
    const QString indent(QString::fromLatin1(label).size() + 4, QLatin1Char(' '));
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    shown.replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
    io.out << "  " << label << ": " << shown << '\n';
}

int runFavourites(const QStringList& args, Io& io) {
    bool json = false;
    QStringList positional;
    for (const QString& a : args) {
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            io.err << "lyrevane-cli: favourites: unknown option '" << shown(a) << "'\n";
            return BadUsage;
        } else {
            positional << a;
        }
    }
    if (positional.size() > 1) {
        io.err << "lyrevane-cli: favourites takes at most one APPFOLDER\n";
        return BadUsage;
    }
    const QString folder =
        QFileInfo(positional.isEmpty() ? QDir::currentPath() : positional.first())
            .absoluteFilePath();
    if (!QFileInfo(folder).isDir()) {
        io.err << "lyrevane-cli: favourites: no folder " << shown(folder) << '\n';
        return NotFound;
    }
    QList<favourites::Favourite> all;
    try {
        all = favourites::readFavourites(DataRoot(folder),
                                         SettingsFile(QDir(folder).filePath("Mqini.ini")));
    } catch (const AppError& e) {
        io.err << "lyrevane-cli: favourites: " << e.message() << '\n';
        return NotFound;
    }
    if (json) {
        QJsonArray rows;
        for (const auto& f : all)
            rows.append(QJsonObject{{"position", f.position},
                                    {"name", f.name},
                                    {"title", f.contents.title},
                                    {"examples", f.contents.examples},
                                    {"pattern", f.contents.pattern}});
        io.out << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
    } else {
        for (const auto& f : all) {
            io.out << f.position << ' ' << f.name << '\n';
            printField(io, "title", f.contents.title);
            printField(io, "examples", f.contents.examples);
            printField(io, "pattern", f.contents.pattern);
        }
    }
    return all.isEmpty() ? NotFound : Ok;
}

} // namespace

std::vector<Command> favouritesCommands() {
    return {
        {QStringLiteral("favourites"),
         QStringLiteral("favourites [APPFOLDER] [--json]    (the stored favourites, by position)"),
         runFavourites},
    };
}

} // namespace cli
