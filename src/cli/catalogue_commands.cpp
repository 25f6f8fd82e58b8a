// Catalogue look-ups: the three pattern lists, one record, the search key, the verse list.

#include "catalogue/core/catalogue.h"
#include "cli/command.h"
#include "cli/input.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

using namespace catalogue;

// Splits "--json" off the arguments; any other option is bad usage.
struct Parsed {
    QStringList positional;
    bool json = false;
    QString badOption;
};

Parsed parse(const QStringList& args) {
    Parsed p;
    for (const auto& a : args) {
        if (a == QLatin1String("--json"))
            p.json = true;
        else if (a.startsWith(QLatin1String("--")))
            p.badOption = a;
        else
            p.positional << a;
    }
    return p;
}

int badUsage(Io& io, const QString& message) {
    io.err << "lyrevane-cli: " << shown(message) << '\n';
    return BadUsage;
}

void printJson(Io& io, const QJsonValue& v) {
    const QJsonDocument doc =
        v.isArray() ? QJsonDocument(v.toArray()) : QJsonDocument(v.toObject());
    io.out << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

QJsonArray examplesJson(const std::array<QString, 5>& examples) {
    QJsonArray a;
    for (const auto& e : examples)
        a.append(e);
    return a;
}

QJsonObject patternJson(const CiPattern& p, bool full) {
    QJsonObject o{{"list", listCaption(p.list)},
                  {"row", p.row + 1},
                  {"label", p.label},
                  {"name", p.name},
                  {"count", p.charCount},
                  {"file", templateFilePath(p)}};
    if (full) {
        o.insert("template", p.templateText);
        o.insert("explanation", p.explanation);
        o.insert("examples", examplesJson(p.examples));
    }
    return o;
}

QJsonObject verseJson(const VersePattern& v, bool full) {
    QJsonObject o{{"list", QString::fromUtf8(kVerseDirectory)},
                  {"row", v.row + 1},
                  {"label", v.label},
                  {"name", v.name},
                  {"template", v.templateText},
                  {"file", templateFilePath(v)}};
    if (full) {
        o.insert("explanation", v.explanation);
        o.insert("examples", examplesJson(v.examples));
    }
    return o;
}

void printFields(Io& io, const QString& label, const QString& name, const QString& templ,
                 const QString& explanation, const std::array<QString, 5>& examples,
                 const QString& file) {
    io.out << "label: " << label << '\n'
           << "name: " << name << '\n'
           << "template: " << templ << '\n'
           << "explanation: " << explanation << '\n';
    for (int i = 0; i < 5; ++i)
        io.out << "example " << i + 1 << ": " << examples[i] << '\n';
    io.out << "template file: " << file << '\n';
}

int runPatterns(const QStringList& args, Io& io) {
    const Parsed p = parse(args);
    if (!p.badOption.isEmpty())
        return badUsage(io, QStringLiteral("patterns: unknown option '%1'").arg(p.badOption));
    if (!p.positional.isEmpty())
        return badUsage(io, QStringLiteral("patterns takes no arguments"));
    if (p.json) {
        QJsonObject all;
        for (PatternList list : kPatternLists) {
            QJsonArray rows;
            for (const auto& pat : patterns(list))
                rows.append(patternJson(pat, false));
            all.insert(listCaption(list), rows);
        }
        printJson(io, all);
        return Ok;
    }
    for (PatternList list : kPatternLists) {
        io.out << listCaption(list) << '\n';
        for (const auto& label : labels(list))
            io.out << "  " << label << '\n';
    }
    return Ok;
}

int runShow(const QStringList& args, Io& io) {
    const Parsed p = parse(args);
    if (!p.badOption.isEmpty())
        return badUsage(io, QStringLiteral("show: unknown option '%1'").arg(p.badOption));
    if (p.positional.size() != 1)
        return badUsage(io, QStringLiteral("show needs exactly one NAME"));
    const QString& name = p.positional.first();
    if (const CiPattern* pat = patternByNameOrLabel(name)) {
        if (p.json) {
            printJson(io, patternJson(*pat, true));
            return Ok;
        }
        io.out << "list: " << listCaption(pat->list) << ", row " << pat->row + 1 << '\n';
        printFields(io, pat->label, pat->name, pat->templateText, pat->explanation, pat->examples,
                    templateFilePath(*pat));
        return Ok;
    }
    for (const auto& v : versePatterns()) {
        if (v.name == name || v.label == name) {
            if (p.json) {
                printJson(io, verseJson(v, true));
                return Ok;
            }
            io.out << "list: " << kVerseDirectory << ", row " << v.row + 1 << '\n';
            printFields(io, v.label, v.name, v.templateText, v.explanation, v.examples,
                        templateFilePath(v));
            return Ok;
        }
    }
    io.err << "lyrevane-cli: no pattern is named '" << shown(name) << "'\n";
    return NotFound;
}

int runFind(const QStringList& args, Io& io) {
    const Parsed p = parse(args);
    if (!p.badOption.isEmpty())
        return badUsage(io, QStringLiteral("find: unknown option '%1'").arg(p.badOption));
    if (p.positional.size() != 1)
        return badUsage(io, QStringLiteral("find needs exactly one KEY"));
    const CiPattern* pat = findPattern(p.positional.first());
    if (!pat) {
        io.err << "lyrevane-cli: no pattern has the search key '" << shown(p.positional.first())
               << "'\n";
        return NotFound;
    }
    if (p.json)
        printJson(io, patternJson(*pat, false));
    else
        io.out << pat->name << '\t' << listCaption(pat->list) << '\t' << pat->row + 1 << '\t'
               << pat->label << '\n';
    return Ok;
}

int runVerse(const QStringList& args, Io& io) {
    const Parsed p = parse(args);
    if (!p.badOption.isEmpty())
        return badUsage(io, QStringLiteral("verse: unknown option '%1'").arg(p.badOption));
    if (!p.positional.isEmpty())
        return badUsage(io, QStringLiteral("verse takes no arguments"));
    if (p.json) {
        QJsonArray rows;
        for (const auto& v : versePatterns())
            rows.append(verseJson(v, false));
        printJson(io, rows);
        return Ok;
    }
    for (const auto& v : versePatterns())
        io.out << v.label << '\t' << v.templateText << '\n';
    return Ok;
}

} // namespace

std::vector<Command> catalogueCommands() {
    return {
        {QStringLiteral("patterns"), QStringLiteral("patterns [--json]"), runPatterns},
        {QStringLiteral("show"), QStringLiteral("show NAME [--json]"), runShow},
        {QStringLiteral("find"), QStringLiteral("find KEY [--json]"), runFind},
        {QStringLiteral("verse"), QStringLiteral("verse [--json]"), runVerse},
    };
}

} // namespace cli
