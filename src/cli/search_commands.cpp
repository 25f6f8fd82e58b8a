// lyrevane-cli search: who has used a phrase before, from the terminal.

#include "cli/command.h"
#include "cli/input.h"
#include "search/core/search_index.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

using namespace search;

// The corpus.
QString indexPath() {
    return shippedFile(QStringLiteral("data/search/poems.idx"),
                       QStringLiteral(LYREVANE_BUILT_SEARCH_INDEX));
}

struct Options {
    Query query;
    bool json = false;
    QString index;
};

// Reads the options; false (with a message) on a bad one.
bool parse(const QStringList& args, Options& o, Io& io) {
    o.query.limit = 20;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            o.json = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            o.query.phrases << a;
            continue;
        }
        if (i + 1 >= args.size()) {
            io.err << "lyrevane-cli: " << a << " needs a value\n";
            return false;
        }
        const QString v = args[++i];
        if (a == QLatin1String("--dynasty")) {
            o.query.dynasty = dynastyNamed(v);
            if (!o.query.dynasty) {
                io.err << "lyrevane-cli: --dynasty takes 先秦, 汉, 唐, 五代, 宋, 元 or 清\n";
                return false;
            }
        } else if (a == QLatin1String("--form")) {
            o.query.form = formNamed(v);
            if (!o.query.form) {
                io.err << "lyrevane-cli: --form takes 五绝, 七绝, 五律, 七律, 排律, 古体, 词, "
                          "曲, 诗经 or 骚体\n";
                return false;
            }
        } else if (a == QLatin1String("--poet")) {
            o.query.poet = v;
        } else if (a == QLatin1String("--tune")) {
            o.query.tune = v;
        } else if (a == QLatin1String("--title")) {
            o.query.title = v;
        } else if (a == QLatin1String("--at")) {
            if (v == QLatin1String("start"))
                o.query.place = Place::LineStart;
            else if (v == QLatin1String("end"))
                o.query.place = Place::LineEnd;
            else {
                io.err << "lyrevane-cli: --at takes start or end\n";
                return false;
            }
        } else if (a == QLatin1String("--limit")) {
            bool ok = false;
            o.query.limit = v.toInt(&ok);
            if (!ok || o.query.limit < 0) {
                io.err << "lyrevane-cli: --limit takes a number (0 for all)\n";
                return false;
            }
        } else if (a == QLatin1String("--index")) {
            o.index = v;
        } else {
            io.err << "lyrevane-cli: unknown option '" << a << "'\n";
            return false;
        }
    }
    return true;
}

QString marked(const HitLine& line) {
    QString out;
    int at = 0;
    for (const auto& [start, length] : line.marks) {
        out += line.text.mid(at, start - at) + u'【' + line.text.mid(start, length) + u'】';
        at = start + length;
    }
    return out + line.text.mid(at);
}

QJsonArray countsJson(const QList<NameCount>& counts) {
    QJsonArray out;
    for (const NameCount& c : counts)
        out.append(
            QJsonObject{{QStringLiteral("name"), c.name}, {QStringLiteral("count"), c.count}});
    return out;
}

QString countsLine(const QList<NameCount>& counts) {
    QStringList parts;
    for (const NameCount& c : counts.mid(0, 10))
        parts << QStringLiteral("%1 %2").arg(c.name).arg(c.count);
    if (counts.size() > 10)
        parts << QStringLiteral("等 %1 家").arg(counts.size());
    return parts.join(QStringLiteral("，"));
}

int searchCommand(const QStringList& args, Io& io) {
    Options o;
    if (!parse(args, o, io))
        return BadUsage;
    QString problem;
    const QStringList phrases = searchablePhrases(o.query.phrases, &problem);
    if (phrases.isEmpty()) {
        io.err << "lyrevane-cli: " << problem << '\n';
        return BadUsage;
    }
    QString error;
    const std::unique_ptr<Index> index =
        Index::open(o.index.isEmpty() ? indexPath() : o.index, &error);
    if (!index) {
        io.err << "lyrevane-cli: " << error << '\n';
        return NotFound;
    }
    // Damage to the file may show only when a part of it is first read: what was read is
    // printed only when all of it was sound.
    const auto damaged = [&] {
        if (index->damage().isEmpty())
            return false;
        io.err << "lyrevane-cli: " << index->damage() << '\n';
        return true;
    };
    const Result r = index->search(o.query);
    if (damaged())
        return NotFound;
    if (o.json) {
        QJsonArray hits;
        for (const Hit& h : r.hits) {
            const Poem p = index->poem(h.poem);
            const HitLine line = index->hitLine(h, phrases);
            QJsonArray marks;
            for (const auto& [start, length] : line.marks)
                marks.append(QJsonArray{start, length});
            hits.append(QJsonObject{{QStringLiteral("poet"), p.poet},
                                    {QStringLiteral("title"), p.title},
                                    {QStringLiteral("tune"), p.tune},
                                    {QStringLiteral("dynasty"), dynastyName(p.dynasty)},
                                    {QStringLiteral("form"), formName(p.form)},
                                    {QStringLiteral("collection"), collectionName(p.collection)},
                                    {QStringLiteral("line"), line.text},
                                    {QStringLiteral("marks"), marks}});
        }
        if (damaged())
            return NotFound;
        const QJsonObject doc{{QStringLiteral("phrases"), QJsonArray::fromStringList(phrases)},
                              {QStringLiteral("total"), r.total},
                              {QStringLiteral("poems"), r.poems},
                              {QStringLiteral("hits"), hits},
                              {QStringLiteral("poets"), countsJson(r.poets)},
                              {QStringLiteral("tunes"), countsJson(r.tunes)}};
        io.out << QJsonDocument(doc).toJson(QJsonDocument::Indented);
        return r.total ? Ok : NotFound;
    }
    const QString quoted =
        QStringLiteral("「") + phrases.join(QStringLiteral("」「")) + QStringLiteral("」");
    if (!r.total) {
        io.out << quoted << "：没有找到用例\n";
        return NotFound;
    }
    QString lines;
    for (const Hit& h : r.hits) {
        const Poem p = index->poem(h.poem);
        const QString heading = p.title.isEmpty() ? p.tune : p.title;
        lines += (p.poet.isEmpty() ? collectionName(p.collection) : p.poet) + u'《' + heading +
                 QStringLiteral("》（") + dynastyName(p.dynasty) + QStringLiteral("）  ") +
                 marked(index->hitLine(h, phrases)) + u'\n';
    }
    if (damaged())
        return NotFound;
    io.out << quoted << "：" << r.total << " 处，见于 " << r.poems << " 首\n" << lines;
    if (qint64(r.hits.size()) < r.total)
        io.out << "……另有 " << r.total - qint64(r.hits.size()) << " 处（--limit 0 列出全部）\n";
    io.out << "诗人：" << countsLine(r.poets) << '\n';
    if (!r.tunes.isEmpty())
        io.out << "词牌：" << countsLine(r.tunes) << '\n';
    return Ok;
}

} // namespace

std::vector<Command> searchCommands() {
    return {{QStringLiteral("search"),
             QStringLiteral("search PHRASE... [--dynasty D] [--poet P] [--tune T] [--title T] "
                            "[--form F] [--at start|end] [--limit N] [--json]"),
             searchCommand}};
}

} // namespace cli
