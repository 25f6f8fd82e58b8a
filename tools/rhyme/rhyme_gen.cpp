// rhyme_gen: compiles the three rhyme book files of data/rhyme into a C++ source of
// constant tables. The files are checked as they are read; a malformed book stops the
// build with the file, the line and what is wrong.
//
// usage: rhyme_gen OUTPUT.cpp CIYUN.txt XINYUN.txt XIANDAI.txt

#include "common/codegen.h"
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

struct Entry {
    QString name;
    QString tone;
    QString finals;
    QString split;
    QString text;
    int line = 0;
};

struct Book {
    const char* symbol; // C++ name of the table
    int entries;        // fixed length of the list
    bool paired;        // entries 2k and 2k+1 are the 平声 and 仄声 of one group
};

[[noreturn]] void fail(const QString& file, int line, const QString& what) {
    std::fprintf(stderr, "%s:%d: %s\n", qPrintable(file), line, qPrintable(what));
    std::exit(1);
}

QList<Entry> readBook(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, 0, QStringLiteral("cannot open"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));

    QList<Entry> entries;
    bool inText = false;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        auto value = [&](const char* key) -> std::optional<QString> {
            const QString prefix = QLatin1String(key) + QLatin1Char(':');
            if (!line.startsWith(prefix))
                return std::nullopt;
            // Only leading blanks are dropped: a label may end in a comma, never in a blank.
            QString v = line.mid(prefix.size());
            while (v.startsWith(QLatin1Char(' ')))
                v.remove(0, 1);
            while (v.endsWith(QLatin1Char(' ')))
                v.chop(1);
            return v;
        };
        if (auto v = value("name")) {
            entries.append(Entry{*v, {}, {}, {}, {}, lineNo});
            inText = false;
            continue;
        }
        if (entries.isEmpty())
            fail(path, lineNo, QStringLiteral("text before the first name:"));
        Entry& e = entries.last();
        if (inText) {
            const QString chunk = line.trimmed();
            for (QChar c : chunk) {
                if (c.isSpace())
                    fail(path, lineNo, QStringLiteral("blank inside a character text"));
            }
            e.text += chunk;
        } else if (auto t = value("tone")) {
            e.tone = *t;
        } else if (auto f = value("finals")) {
            e.finals = *f;
        } else if (auto s = value("split")) {
            e.split = *s;
        } else if (auto x = value("text")) {
            e.text = *x;
            inText = true;
        } else {
            fail(path, lineNo, QStringLiteral("unknown line: ") + line);
        }
    }
    return entries;
}

void check(const QString& path, const Book& book, const QList<Entry>& entries) {
    if (entries.size() != book.entries)
        fail(path, 0,
             QStringLiteral("%1 entries, expected %2").arg(entries.size()).arg(book.entries));
    QSet<QString> names;
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (names.contains(e.name))
            fail(path, e.line, QStringLiteral("entry name twice: ") + e.name);
        names.insert(e.name);
        if (e.tone != QStringLiteral("平声") && e.tone != QStringLiteral("仄声") &&
            e.tone != QStringLiteral("入声"))
            fail(path, e.line, QStringLiteral("tone must be 平声, 仄声 or 入声"));
        if (e.finals.isEmpty())
            fail(path, e.line, QStringLiteral("no finals label"));
        for (QChar c : e.finals) {
            if (c.unicode() > 0x7f)
                fail(path, e.line, QStringLiteral("finals label must be ASCII"));
        }
        if (e.text.isEmpty())
            fail(path, e.line, QStringLiteral("no characters"));
        if (book.paired) {
            const bool level = i % 2 == 0;
            if (e.tone != (level ? QStringLiteral("平声") : QStringLiteral("仄声")))
                fail(path, e.line,
                     QStringLiteral("a pair is a 平声 entry followed by its 仄声 entry"));
            if (level == e.split.isEmpty())
                fail(path, e.line,
                     QStringLiteral(
                         "split: belongs on the 平声 entry of each pair, and only there"));
            if (!level && e.finals != entries[i - 1].finals)
                fail(path, e.line,
                     QStringLiteral("the two entries of a pair carry different finals"));
        } else if (!e.split.isEmpty()) {
            fail(path, e.line, QStringLiteral("this book has no split view"));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: rhyme_gen OUTPUT.cpp CIYUN.txt XINYUN.txt XIANDAI.txt\n");
        return 2;
    }
    const Book books[3] = {{"ciyun", 33, false}, {"xinyun", 24, true}, {"xiandai", 36, true}};

    QString tables;
    QTextStream s(&tables);
    codegen::Utf16Arrays texts;
    for (int b = 0; b < 3; ++b) {
        const QString path = args[2 + b];
        const QList<Entry> entries = readBook(path);
        check(path, books[b], entries);
        s << "\nconst Entry " << books[b].symbol << "[" << entries.size() << "] = {\n";
        for (const Entry& e : entries) {
            const int tone = e.tone == QStringLiteral("平声")   ? 0
                             : e.tone == QStringLiteral("仄声") ? 1
                                                                : 2;
            s << "    {" << codegen::literal(e.name) << ", " << tone << ", "
              << codegen::literal(e.finals) << ", " << codegen::literal(e.split) << ",\n     "
              << texts.ref(e.text) << "},\n";
        }
        s << "};\n";
    }
    s << "\n} // namespace rhyme::raw\n";
    s.flush();
    const QString out = QStringLiteral("// Generated by rhyme_gen from data/rhyme; do not edit.\n"
                                       "#include \"rhyme/core/rhyme_raw.h\"\n\n"
                                       "namespace rhyme::raw {\n\nnamespace {\n") +
                        texts.definitions() + QStringLiteral("} // namespace\n") + tables;

    if (!codegen::writeIfChanged(args[1], out.toUtf8())) {
        std::fprintf(stderr, "rhyme_gen: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
