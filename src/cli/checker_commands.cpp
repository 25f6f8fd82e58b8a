// lyrevane-cli check, tones, poems: the tone checker from the terminal.

#include "base/core/gbk.h"
#include "checker/core/checker_data.h"
#include "checker/core/poem_split.h"
#include "cli/command.h"
#include "cli/input.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

using namespace checker;

// The checker's data folder.
QString dataDir() {
    return QFileInfo(shippedFile(QStringLiteral("data/checker/lexicon.dat"),
                                 QStringLiteral(LYREVANE_BUILT_CHECKER_DATA "/lexicon.dat")))
        .path();
}

// Takes --json and --standard VALUE out of the arguments; false (with a message) on
// anything else that looks like an option.
bool takeOptions(QStringList& args, bool& json, std::optional<Standard>* standard, Io& io) {
    json = args.removeAll(QStringLiteral("--json")) > 0;
    if (standard) {
        const qsizetype at = args.indexOf(QStringLiteral("--standard"));
        if (at >= 0) {
            *standard = at + 1 < args.size() ? standardNamed(args[at + 1]) : std::nullopt;
            if (!*standard) {
                io.err << "lyrevane-cli: --standard takes 词韵, 平水韵, 新韵 or 现代诗韵\n";
                return false;
            }
            args.remove(at, 2);
        }
    }
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--"))) {
            io.err << "lyrevane-cli: unknown option '" << shown(a) << "'\n";
            return false;
        }
    }
    return true;
}

QString statusName(Status s) {
    switch (s) {
    case Status::Ok:
        return QStringLiteral("ok");
    case Status::Clash:
        return QStringLiteral("clash");
    case Status::Uncertain:
        return QStringLiteral("uncertain");
    case Status::Free:
        return QStringLiteral("free");
    case Status::Unchecked:
        return QStringLiteral("unchecked");
    }
    return {};
}

QString kindName(Finding::Kind k) {
    static const char* names[] = {"clash", "uncertain", "off-rhyme", "length",
                                  "verse", "form",      "note"};
    return QString::fromLatin1(names[k]);
}

// One poem's check as one JSON object; offsets are the file's (in UTF-16 code units).
QJsonObject poemJson(const Result& r, int base, const NamedPattern& pattern, Standard used,
                     int number, const QString& heading) {
    auto at = [base](int offset) { return offset < 0 ? -1 : base + offset; };
    QJsonArray marks;
    for (const CharMark& m : r.marks)
        marks.append(QJsonObject{{QStringLiteral("char"), QString::fromUcs4(&m.ch, 1)},
                                 {QStringLiteral("offset"), at(m.offset)},
                                 {QStringLiteral("position"), m.slot},
                                 {QStringLiteral("status"), statusName(m.status)},
                                 {QStringLiteral("rhyme"), m.rhyme},
                                 {QStringLiteral("offRhyme"), m.offRhyme},
                                 {QStringLiteral("lenient"), m.lenient}});
    QJsonArray findings;
    for (const Finding& f : r.findings)
        findings.append(
            QJsonObject{{QStringLiteral("kind"), kindName(f.kind)},
                        {QStringLiteral("offset"), at(f.offset)},
                        {QStringLiteral("message"), f.message},
                        {QStringLiteral("precedent"), f.precedent},
                        {QStringLiteral("lenient"), f.lenient},
                        {QStringLiteral("examples"), QJsonArray::fromStringList(f.examples)}});
    QJsonArray rhymes;
    for (const RhymeReport& rr : r.rhymes)
        rhymes.append(QJsonObject{{QStringLiteral("group"), rr.group},
                                  {QStringLiteral("chars"), rr.chars},
                                  {QStringLiteral("outside"), rr.outside}});
    return QJsonObject{{QStringLiteral("poem"), number},
                       {QStringLiteral("heading"), heading},
                       {QStringLiteral("pattern"), pattern.name},
                       {QStringLiteral("standard"), standardName(used)},
                       {QStringLiteral("form"), r.form},
                       {QStringLiteral("formNumber"), r.formIndex + 1},
                       {QStringLiteral("forms"), QJsonArray::fromStringList(r.forms)},
                       {QStringLiteral("keeps"), r.keeps()},
                       {QStringLiteral("marks"), marks},
                       {QStringLiteral("findings"), findings},
                       {QStringLiteral("rhymes"), rhymes}};
}

// One poem's check as lines of text, under "第N首" when the file holds several.
void printPoem(const Result& r, int number, const QString& heading, const NamedPattern& pattern,
               Standard used, Io& io) {
    if (number > 0)
        io.out << "第" << number << "首"
               << (heading.isEmpty() ? QString() : QStringLiteral("  ") + heading) << '\n';
    io.out << (pattern.name.isEmpty() ? QStringLiteral("（自定词谱）") : pattern.name) << "  "
           << standardName(used) << '\n';
    if (r.formIndex >= 0)
        io.out << "依" << r.form << "（第" << r.formIndex + 1 << "体，共" << r.forms.size()
               << "体，--form N 选他体）\n";
    else if (!r.form.isEmpty())
        io.out << "依" << r.form << '\n';
    for (const RhymeReport& rr : r.rhymes)
        io.out << "韵：" << rr.group << "  " << rr.chars
               << (rr.outside.isEmpty() ? QString() : QStringLiteral("  出韵：") + rr.outside)
               << '\n';
    for (const Finding& f : r.findings) {
        io.out << f.message;
        if (!f.precedent.isEmpty())
            io.out << "  " << f.precedent;
        if (!f.examples.isEmpty())
            io.out << "  如" << f.examples.join(QStringLiteral("、"));
        io.out << '\n';
    }
    io.out << (r.keeps() ? QStringLiteral("合律") : QStringLiteral("不合律")) << '\n';
}

// Checks each poem of the file; exit 0 only when every one keeps the pattern.
int check(const QStringList& argsIn, Io& io) {
    QStringList args = argsIn;
    bool json = false;
    std::optional<Standard> standard;
    int form = -1; // 0-based; the option counts from 1
    if (const qsizetype at = args.indexOf(QStringLiteral("--form")); at >= 0) {
        bool ok = false;
        form = at + 1 < args.size() ? args[at + 1].toInt(&ok) - 1 : -1;
        if (!ok || form < 0) {
            io.err << "lyrevane-cli: --form takes a form number from 1\n";
            return BadUsage;
        }
        args.remove(at, 2);
    }
    if (!takeOptions(args, json, &standard, io))
        return BadUsage;
    if (args.size() != 2) {
        io.err << "usage: lyrevane-cli check PATTERN FILE [--standard 词韵|平水韵|新韵|现代诗韵] "
                  "[--form N] [--json]\n";
        return BadUsage;
    }
    const auto pattern = namedPattern(args[0]);
    if (!pattern) {
        io.err << "lyrevane-cli: no pattern '" << shown(args[0]) << "'\n";
        return BadUsage;
    }
    QByteArray bytes;
    if (!readInput(args[1], rawArgument(args[1], io), &bytes, io))
        return BadUsage;
    const QString text = gbk::decodeTextFile(bytes);
    const CheckerData& data = checkerData(dataDir());
    const Standard used = standard.value_or(defaultStandard(*pattern));
    const Checker checker = checkerOf(data); // every form of each tune
    // Each poem of the file on its own; a file of blanks is one poem with nothing to check.
    QList<PoemSpan> poems = splitPoems(
        text, splitOptions(pattern->verse ? QString() : pattern->name, pattern->templateText));
    if (poems.isEmpty())
        poems.append({.start = 0, .bodyStart = 0, .end = int(text.size()), .heading = {}});
    bool allKeep = true;
    for (qsizetype n = 0; n < poems.size(); ++n) {
        const PoemSpan& poem = poems[n];
        const int base = poem.bodyStart;
        const Result r = checker.check({.templateText = pattern->templateText,
                                        .text = text.sliced(base, poem.bodyLength()),
                                        .standard = used,
                                        .patternKey = pattern->key,
                                        .form = form});
        if (form >= 0 && form >= r.forms.size()) {
            io.err << "lyrevane-cli: no form " << form + 1 << " (the tune has " << r.forms.size()
                   << ")\n";
            return BadUsage;
        }
        allKeep = allKeep && r.keeps();
        if (json)
            io.out << QJsonDocument(poemJson(r, base, *pattern, used, int(n) + 1, poem.heading))
                          .toJson(QJsonDocument::Compact)
                   << '\n';
        else
            printPoem(r, poems.size() > 1 ? int(n) + 1 : 0, poem.heading, *pattern, used, io);
    }
    return allKeep ? Ok : NotFound;
}

int tones(const QStringList& argsIn, Io& io) {
    QStringList args = argsIn;
    bool json = false;
    if (!takeOptions(args, json, nullptr, io))
        return BadUsage;
    if (args.size() != 1) {
        io.err << "usage: lyrevane-cli tones TEXT [--json]\n";
        return BadUsage;
    }
    const CheckerData& data = checkerData(dataDir());
    const QList<TextChar> chars = poemChars(args[0]);
    QJsonArray out;
    for (const TextChar& c : chars) {
        const CharInfo* info = data.lexicon.find(c.ch);
        const QString ch = QString::fromUcs4(&c.ch, 1);
        QStringList readings;
        QStringList pingshui;
        if (info) {
            for (const Reading& r : info->readings) {
                readings.append(toneNames(r.tone) +
                                (r.sense.isEmpty() ? QString() : u'（' + r.sense + u'）'));
                if (!r.pingshui.isEmpty() && !pingshui.contains(r.pingshui))
                    pingshui.append(r.pingshui);
            }
        }
        const QString classical =
            info && info->classical ? toneNames(info->classical) : QStringLiteral("未详");
        QString modern = QStringLiteral("未详");
        if (info && info->modern)
            modern = info->modern == (kModernLevel | kModernOblique) ? QStringLiteral("平/仄")
                     : info->modern == kModernLevel                  ? QStringLiteral("平")
                                                                     : QStringLiteral("仄");
        const QString source = !info || !info->classical ? QString() : sourceNames(info->sources);
        const bool uncertain = info && info->uncertain;
        if (json) {
            out.append(
                QJsonObject{{QStringLiteral("char"), ch},
                            {QStringLiteral("classical"), classical},
                            {QStringLiteral("polyphone"), info && info->polyphone()},
                            {QStringLiteral("uncertain"), uncertain},
                            {QStringLiteral("readings"), QJsonArray::fromStringList(readings)},
                            {QStringLiteral("pingshui"), QJsonArray::fromStringList(pingshui)},
                            {QStringLiteral("modern"), modern},
                            {QStringLiteral("source"), source}});
        } else {
            io.out << ch << "  " << classical;
            if (uncertain)
                io.out << "  待定";
            else if (info && info->polyphone())
                io.out << "  多音";
            if (!readings.isEmpty())
                io.out << "  " << readings.join(QStringLiteral("、"));
            if (!pingshui.isEmpty())
                io.out << "  平水韵：" << pingshui.join(QStringLiteral("、"));
            io.out << "  今：" << modern;
            if (!source.isEmpty())
                io.out << "  据" << source;
            io.out << '\n';
        }
    }
    if (json)
        io.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return chars.isEmpty() ? NotFound : Ok;
}

int poems(const QStringList& argsIn, Io& io) {
    QStringList args = argsIn;
    bool json = false;
    if (!takeOptions(args, json, nullptr, io))
        return BadUsage;
    if (args.size() != 1) {
        io.err << "usage: lyrevane-cli poems TUNE [--json]\n";
        return BadUsage;
    }
    const auto pattern = namedPattern(args[0]);
    if (!pattern || pattern->key.isEmpty() || pattern->verse) {
        io.err << "lyrevane-cli: no tune '" << shown(args[0]) << "'\n";
        return NotFound;
    }
    const QList<TunePoem> list = checkerData(dataDir()).poems().poems(pattern->key);
    QJsonArray out;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (json)
            out.append(QJsonObject{
                {QStringLiteral("poet"), list[i].poet},
                {QStringLiteral("title"), list[i].title},
                {QStringLiteral("firstLine"), list[i].firstLine()},
                {QStringLiteral("paragraphs"), QJsonArray::fromStringList(list[i].paragraphs)}});
        else
            io.out << i + 1 << "  " << list[i].poet << "  " << list[i].firstLine() << '\n';
    }
    if (json)
        io.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return list.isEmpty() ? NotFound : Ok;
}

} // namespace

std::vector<Command> checkerCommands() {
    return {
        {QStringLiteral("check"),
         QStringLiteral(
             "check PATTERN FILE [--standard 词韵|平水韵|新韵|现代诗韵] [--form N] [--json]"),
         check},
        {QStringLiteral("tones"), QStringLiteral("tones TEXT [--json]"), tones},
        {QStringLiteral("poems"), QStringLiteral("poems TUNE [--json]"), poems},
    };
}

} // namespace cli
