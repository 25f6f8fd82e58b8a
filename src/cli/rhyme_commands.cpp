// lyrevane-cli rhyme, rhyme-of: the rhyme books from the terminal.

#include "cli/command.h"
#include "cli/input.h"
#include "rhyme/core/rhyme_book.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

// Splits off the --json flag; anything else starting with "--" is a usage error.
bool takeJson(QStringList& args, bool& json, Io& io) {
    json = args.removeAll(QStringLiteral("--json")) > 0;
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--"))) {
            io.err << "lyrevane-cli: unknown option '" << shown(a) << "'\n";
            return false;
        }
    }
    return true;
}

// A book by its name or its number 1 to 3 (the order of the book buttons).
std::optional<RhymeSystem> findBook(const QString& arg) {
    if (auto s = rhyme::systemNamed(arg))
        return s;
    bool ok = false;
    const int n = arg.toInt(&ok);
    if (ok && n >= 1 && n <= 3)
        return rhyme::systems[n - 1];
    return std::nullopt;
}

// Entries an argument names: an index of the list, an exact list name, or a split-view
// group name (both entries of the group).
QList<int> findEntries(RhymeSystem book, const QString& arg) {
    bool ok = false;
    const int n = arg.toInt(&ok);
    if (ok)
        return n >= 0 && n < rhyme::groups(book).size() ? QList<int>{n} : QList<int>{};
    if (auto e = rhyme::entryNamed(book, arg))
        return {*e};
    for (const RhymePair& p : rhyme::pairs(book)) {
        if (p.name == arg)
            return {p.level, p.oblique};
    }
    return {};
}

QJsonObject entryJson(RhymeSystem book, int index) {
    const RhymeGroup& g = rhyme::groups(book)[index];
    return QJsonObject{{QStringLiteral("book"), rhyme::systemName(book)},
                       {QStringLiteral("index"), index},
                       {QStringLiteral("name"), g.name},
                       {QStringLiteral("tone"), rhyme::toneName(g.tone)},
                       {QStringLiteral("finals"), g.finals}};
}

int listBooks(const QList<RhymeSystem>& books, bool json, Io& io) {
    if (json) {
        QJsonArray out;
        for (RhymeSystem b : books) {
            QJsonArray entries;
            for (int i = 0; i < rhyme::groups(b).size(); ++i) {
                QJsonObject e = entryJson(b, i);
                e.remove(QStringLiteral("book"));
                if (auto p = rhyme::pairOf(b, i))
                    e.insert(QStringLiteral("group"), rhyme::pairs(b)[*p].name);
                entries.append(e);
            }
            out.append(QJsonObject{{QStringLiteral("book"), rhyme::systemName(b)},
                                   {QStringLiteral("entries"), entries}});
        }
        io.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
        return Ok;
    }
    for (RhymeSystem b : books) {
        const QList<RhymeGroup>& list = rhyme::groups(b);
        io.out << rhyme::systemName(b) << " (" << list.size() << ")\n";
        for (int i = 0; i < list.size(); ++i)
            io.out << "  " << i << '\t' << list[i].name << '\n';
    }
    return Ok;
}

int runRhyme(const QStringList& argList, Io& io) {
    QStringList args = argList;
    bool json = false;
    if (!takeJson(args, json, io))
        return BadUsage;
    if (args.size() > 2) {
        io.err << "usage: lyrevane-cli rhyme [BOOK [ENTRY]] [--json]\n";
        return BadUsage;
    }
    if (args.isEmpty())
        return listBooks({rhyme::systems.begin(), rhyme::systems.end()}, json, io);

    const auto book = findBook(args[0]);
    if (!book) {
        io.err << "lyrevane-cli: no rhyme book '" << shown(args[0])
               << "' (词韵简编, 新韵简观, 现代诗韵 or 1-3)\n";
        return NotFound;
    }
    if (args.size() == 1)
        return listBooks({*book}, json, io);

    const QList<int> entries = findEntries(*book, args[1]);
    if (entries.isEmpty()) {
        io.err << "lyrevane-cli: " << rhyme::systemName(*book) << " has no entry '"
               << shown(args[1]) << "'\n";
        return NotFound;
    }
    QJsonArray out;
    for (int e : entries) {
        const RhymeGroup& g = rhyme::groups(*book)[e];
        if (json) {
            QJsonObject o = entryJson(*book, e);
            o.insert(QStringLiteral("characters"), g.characters);
            out.append(o);
        } else {
            io.out << g.name << '\n' << "finals: " << g.finals << '\n' << g.characters << '\n';
        }
    }
    if (json)
        io.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return Ok;
}

int runRhymeOf(const QStringList& argList, Io& io) {
    QStringList args = argList;
    bool json = false;
    if (!takeJson(args, json, io))
        return BadUsage;
    const QString ch = args.size() == 1 ? args[0] : QString();
    const bool oneChar = ch.size() == 1 || (ch.size() == 2 && ch[0].isHighSurrogate());
    if (!oneChar) {
        io.err << "usage: lyrevane-cli rhyme-of CHAR [--json]\n";
        return BadUsage;
    }
    const QList<RhymeHit> hits = rhyme::entriesHolding(ch);
    if (hits.isEmpty()) {
        io.err << "lyrevane-cli: '" << shown(ch) << "' is in no rhyme entry\n";
        return NotFound;
    }
    QJsonArray out;
    for (const RhymeHit& h : hits) {
        const RhymeGroup& g = rhyme::groups(h.system)[h.entry];
        if (json) {
            QJsonObject o = entryJson(h.system, h.entry);
            if (!h.item.heading.isEmpty())
                o.insert(QStringLiteral("heading"), h.item.heading);
            if (!h.item.mark.isEmpty())
                o.insert(QStringLiteral("mark"), h.item.mark);
            out.append(o);
            continue;
        }
        io.out << rhyme::systemName(h.system) << '\t' << rhyme::toneName(g.tone) << '\t' << g.name;
        if (!h.item.heading.isEmpty())
            io.out << "\t【" << h.item.heading << "】";
        if (!h.item.mark.isEmpty())
            io.out << '\t' << h.item.character << h.item.mark;
        io.out << '\n';
    }
    if (json)
        io.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return Ok;
}

} // namespace

std::vector<Command> rhymeCommands() {
    return {
        {QStringLiteral("rhyme"), QStringLiteral("rhyme [BOOK [ENTRY]] [--json]"), runRhyme},
        {QStringLiteral("rhyme-of"), QStringLiteral("rhyme-of CHAR [--json]"), runRhymeOf},
    };
}

} // namespace cli
