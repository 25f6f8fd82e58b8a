// Reads every #include "…" under src/ and fails on an arrow between folders that
// src/dependencies.txt does not allow, naming the file, the line and the arrow.

#include "support/temp_tree.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Rule {
    QRegularExpression from;
    QRegularExpression to;
};

struct Rules {
    std::vector<Rule> allowed;
    QStringList errors; // lines of the list that are not an arrow
};

// A folder pattern where `*` stands for any one folder name.
QRegularExpression folderPattern(const QString& text) {
    QString pattern = QRegularExpression::escape(text);
    pattern.replace(QStringLiteral("\\*"), QStringLiteral("[^/]+"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern));
}

Rules parseRules(const QString& text, const QString& fileName) {
    static const QRegularExpression arrow(QStringLiteral("^(\\S+)\\s*->\\s*(\\S+)$"));
    Rules rules;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const auto m = arrow.match(line);
        if (!m.hasMatch()) {
            rules.errors
                << QStringLiteral("%1:%2: not an arrow: %3").arg(fileName).arg(i + 1).arg(line);
            continue;
        }
        rules.allowed.push_back({folderPattern(m.captured(1)), folderPattern(m.captured(2))});
    }
    return rules;
}

// The folder a path under src/ belongs to: `rhyme/core` for a subsystem's part, `cli`
// for a file directly in a subsystem's folder.
QString folderOf(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() > 2 && (parts[1] == QLatin1String("core") || parts[1] == QLatin1String("ui")))
        return parts[0] + QLatin1Char('/') + parts[1];
    return parts[0];
}

bool allows(const Rules& rules, const QString& from, const QString& to) {
    if (from == to)
        return true;
    for (const Rule& r : rules.allowed)
        if (r.from.match(from).hasMatch() && r.to.match(to).hasMatch())
            return true;
    return false;
}

// Every include under srcRoot whose arrow the rules do not allow, as
// "src/file:line: from -> to (#include "…")". Includes that name no folder of the
// tree (generated headers) are not arrows.
QStringList forbiddenArrows(const QString& srcRoot, const Rules& rules) {
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
    const QDir root(srcRoot);
    QStringList found;
    QDirIterator it(srcRoot, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << root.relativeFilePath(it.next());
    files.sort();
    for (const QString& file : files) {
        QFile f(root.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) {
            found << QStringLiteral("src/%1: cannot be read").arg(file);
            continue;
        }
        const QString from = folderOf(file);
        QTextStream in(&f);
        for (int lineNo = 1; !in.atEnd(); ++lineNo) {
            const auto m = include.match(in.readLine());
            if (!m.hasMatch())
                continue;
            const QString target = m.captured(1);
            if (!target.contains(QLatin1Char('/')) ||
                !root.exists(target.section(QLatin1Char('/'), 0, 0)))
                continue;
            const QString to = folderOf(target);
            if (!allows(rules, from, to))
                found << QStringLiteral("src/%1:%2: %3 -> %4 (#include \"%5\")")
                             .arg(file)
                             .arg(lineNo)
                             .arg(from, to, target);
        }
    }
    return found;
}

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(Layering, SourceTreeKeepsToTheAllowedArrows) {
    const QString src = qEnvironmentVariable("LYREVANE_SOURCE_DIR") + QStringLiteral("/src");
    const QString listFile = src + QStringLiteral("/dependencies.txt");
    const QString text = readText(listFile);
    ASSERT_FALSE(text.isEmpty()) << "cannot read " << listFile.toStdString();
    const Rules rules = parseRules(text, QStringLiteral("src/dependencies.txt"));
    EXPECT_TRUE(rules.errors.isEmpty()) << rules.errors.join(QLatin1Char('\n')).toStdString();
    const QStringList forbidden = forbiddenArrows(src, rules);
    EXPECT_TRUE(forbidden.isEmpty())
        << "include arrows that src/dependencies.txt does not allow (add the arrow there, with "
           "why, if it is meant):\n"
        << forbidden.join(QLatin1Char('\n')).toStdString();
}

// A small tree with one arrow of each kind: the checker must find exactly the two
// that no rule allows, and no more.
TEST(Layering, NamesEachArrowOutsideTheList) {
    TempTree tree;
    for (const char* dir : {"base/core", "rhyme/core", "rhyme/ui", "app/ui", "cli"})
        tree.mkdir(QString::fromLatin1(dir));
    tree.put("base/core/gbk.h", "#pragma once\n#include \"rhyme/core/book.h\"\n");
    tree.put("rhyme/core/book.h",
             "#pragma once\n#include <QString>\n#include \"base/core/gbk.h\"\n");
    tree.put("rhyme/core/book.cpp",
             "#include \"rhyme/core/book.h\"\n\n  #  include \"rhyme/ui/pane.h\"\n");
    tree.put("rhyme/ui/pane.h", "#include \"rhyme/core/book.h\"\n#include \"generated.h\"\n");
    tree.put("app/ui/window.cpp", "#include \"rhyme/ui/pane.h\"\n#include \"nowhere/core/x.h\"\n");
    tree.put("cli/main.cpp", "#include \"rhyme/core/book.h\"\n");
    const Rules rules = parseRules(QStringLiteral("# the fixture's layering\n"
                                                  "*/core -> base/core   # stands on base\n"
                                                  "rhyme/ui -> rhyme/core\n"
                                                  "app/ui -> */ui\n"
                                                  "cli -> */core\n"),
                                   QStringLiteral("rules"));
    ASSERT_TRUE(rules.errors.isEmpty());
    EXPECT_EQ(forbiddenArrows(tree.path(), rules),
              QStringList({
                  QStringLiteral("src/base/core/gbk.h:2: base/core -> rhyme/core (#include "
                                 "\"rhyme/core/book.h\")"),
                  QStringLiteral("src/rhyme/core/book.cpp:3: rhyme/core -> rhyme/ui (#include "
                                 "\"rhyme/ui/pane.h\")"),
              }));
}

TEST(Layering, NamesALineOfTheListThatIsNotAnArrow) {
    const Rules rules = parseRules(QStringLiteral("a/core -> b/core\n\na/ui => b/ui  # typo\n"),
                                   QStringLiteral("list"));
    EXPECT_EQ(rules.errors, QStringList(QStringLiteral("list:3: not an arrow: a/ui => b/ui")));
    EXPECT_EQ(rules.allowed.size(), 1u);
}
