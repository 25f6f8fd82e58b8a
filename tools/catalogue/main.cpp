// catalogue-gen: turns the readable catalogue files under data/catalogue/ and the model
// poems under data/catalogue/examples/ into the compiled-in tables (a C++ source file)
// and writes the GBK template files of the app's data tree.
//
// usage: catalogue-gen DATA_DIR EXAMPLES_DIR OUT_CPP APP_DATA_DIR
//
// Any fault in the input (a missing file, a malformed record, a wrong row count) stops
// the build with one message naming the file.

#include "base/core/gbk.h"
#include "catalogue/core/forum.h"
#include "catalogue/core/template_lines.h"
#include "common/codegen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const QString& file, const QString& what) {
    throw Failure((file + QStringLiteral(": ") + what).toStdString());
}

QString readUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("cannot open (%1)").arg(f.errorString()));
    return QString::fromUtf8(f.readAll());
}

// Each line of a list file that is neither empty nor a "#" comment, with its number.
template <typename Take> void forEachListLine(const QString& path, Take take) {
    const QStringList lines = readUtf8(path).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty() && !line.startsWith(u'#'))
            take(line, i + 1);
    }
}

using Record = QHash<QString, QString>;
struct ParsedRecord {
    Record fields;
    int line;
};

// "field: value" lines; a blank line ends a record; "#" starts a comment line.
std::vector<ParsedRecord> parseRecords(const QString& path) {
    std::vector<ParsedRecord> records;
    ParsedRecord cur{{}, 0};
    const QStringList lines = readUtf8(path).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(u'#'))
            continue;
        if (line.trimmed().isEmpty()) {
            if (!cur.fields.isEmpty())
                records.push_back(cur);
            cur = {{}, 0};
            continue;
        }
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon <= 0)
            fail(path, QStringLiteral("line %1: expected \"field: value\"").arg(i + 1));
        const QString key = line.left(colon);
        if (cur.fields.contains(key))
            fail(path, QStringLiteral("line %1: field '%2' given twice").arg(i + 1).arg(key));
        if (cur.fields.isEmpty())
            cur.line = i + 1;
        cur.fields.insert(key, line.mid(colon + 2));
    }
    if (!cur.fields.isEmpty())
        records.push_back(cur);
    return records;
}

QString need(const QString& path, const ParsedRecord& r, const QString& key) {
    auto it = r.fields.constFind(key);
    if (it == r.fields.cend() || it->isEmpty())
        fail(path, QStringLiteral("record at line %1 lacks '%2'").arg(r.line).arg(key));
    return *it;
}

int needInt(const QString& path, const ParsedRecord& r, const QString& key) {
    bool ok = false;
    const int v = need(path, r, key).toInt(&ok);
    if (!ok)
        fail(path, QStringLiteral("record at line %1: '%2' is not a number").arg(r.line).arg(key));
    return v;
}

// A template holds only marks, line punctuation, stanza separators and rhyme notes.
void checkTemplate(const QString& path, int row, const QString& t) {
    static const QRegularExpression shape(
        QStringLiteral("^(?:[○●◎△▲，。、]|（(?:换平韵|换仄韵|叶平韵|叶仄韵)）| {4,5})+$"));
    if (!shape.match(t).hasMatch())
        fail(path,
             QStringLiteral("row %1: template holds a character outside the notation").arg(row));
    if (!t.endsWith(u'。'))
        fail(path, QStringLiteral("row %1: template does not end with 。").arg(row));
}

// Variant characters that OpenCC's traditional-to-simplified conversion leaves in the
// quoted poems (劒, 鴈, 廻, …), each with its standard simplified form:
// "variant<TAB>standard<TAB>sources" lines in variant-chars.tsv beside the poems. The
// files keep the dataset's text; the compiled-in examples show the standard forms.
using CharMap = QHash<QChar, QChar>;

CharMap readVariantChars(const QString& examplesDir) {
    const QString path = examplesDir + QStringLiteral("/variant-chars.tsv");
    CharMap map;
    if (!QFile::exists(path))
        return map;
    forEachListLine(path, [&](const QString& line, int number) {
        const QStringList f = line.split(u'\t');
        if (f.size() != 3 || f[0].size() != 1 || f[1].size() != 1 || f[2].trimmed().isEmpty() ||
            f[0] == f[1])
            fail(
                path,
                QStringLiteral("line %1: expected variant, standard form and sources").arg(number));
        if (map.contains(f[0][0]))
            fail(path, QStringLiteral("line %1: %2 listed twice").arg(number).arg(f[0]));
        map.insert(f[0][0], f[1][0]);
    });
    return map;
}

QString standardForms(QString text, const CharMap& map) {
    for (QChar& c : text)
        c = map.value(c, c);
    return text;
}

// Five lines, one model poem each; "@placeholder" stands for an empty slot.
std::array<QString, 5> readExamples(const QString& path, const CharMap& variants) {
    if (!QFile::exists(path))
        fail(path, QStringLiteral("missing: every record needs its five model poems in this file"));
    QStringList lines = readUtf8(path).split(u'\n');
    for (auto& l : lines) {
        if (l.endsWith(u'\r'))
            l.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != 5)
        fail(path, QStringLiteral("holds %1 lines, expected exactly 5").arg(lines.size()));
    std::array<QString, 5> out;
    for (int i = 0; i < 5; ++i) {
        if (lines[i].trimmed().isEmpty())
            fail(path, QStringLiteral("line %1 is empty").arg(i + 1));
        if (lines[i] == QLatin1String("@placeholder"))
            out[i] = QString::fromUtf8(catalogue::kPlaceholderLead) +
                     QString::fromUtf8(catalogue::kForumAddress);
        else
            out[i] = standardForms(lines[i], variants);
    }
    return out;
}

// The five model poems as CompiledText initialisers.
QString examplesInit(codegen::Utf16Arrays& texts, const std::array<QString, 5>& ex) {
    QStringList parts;
    for (const auto& e : ex)
        parts << texts.ref(e);
    return u'{' + parts.join(QStringLiteral(", ")) + u'}';
}

void writeIfChanged(const QString& path, const QByteArray& bytes) {
    if (!codegen::writeIfChanged(path, bytes))
        fail(path, QStringLiteral("cannot write"));
}

// One GBK file per record: the template broken into lines, CR LF line ends.
void writeTemplateFile(const QString& dir, int fileNumber, const QString& templateText) {
    if (!QDir().mkpath(dir))
        fail(dir, QStringLiteral("cannot create folder"));
    QString text;
    for (const auto& line : catalogue::templateLines(templateText))
        text += line + QStringLiteral("\r\n");
    const QString path = dir + QStringLiteral("/%1.txt").arg(fileNumber, 2, 10, QLatin1Char('0'));
    writeIfChanged(path, gbk::encode(text));
}

struct ListInfo {
    const char* file;      // under DATA_DIR
    const char* examples;  // under EXAMPLES_DIR
    const char* directory; // under APP_DATA_DIR
    int rows;
};

const ListInfo kLists[] = {
    {"common.txt", "common", "常用词谱", 28},
    {"general.txt", "general", "普通词谱", 38},
    {"rare.txt", "rare", "冷僻词谱", 41},
};

int run(const QStringList& args) {
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: catalogue-gen DATA_DIR EXAMPLES_DIR OUT_CPP APP_DATA_DIR\n");
        return 2;
    }
    const QString dataDir = args[0], examplesDir = args[1], outCpp = args[2], appData = args[3];
    const CharMap variants = readVariantChars(examplesDir);

    QString tables;
    QTextStream out(&tables);
    codegen::Utf16Arrays texts;
    out << "const RawPattern kPatterns[] = {\n";

    int total = 0;
    QHash<QString, int> names;
    for (int li = 0; li < 3; ++li) {
        const ListInfo& list = kLists[li];
        const QString path = dataDir + u'/' + QString::fromUtf8(list.file);
        const auto records = parseRecords(path);
        if (static_cast<int>(records.size()) != list.rows)
            fail(
                path,
                QStringLiteral("holds %1 records, expected %2").arg(records.size()).arg(list.rows));
        QHash<int, int> fileNumbers;
        for (int i = 0; i < list.rows; ++i) {
            const ParsedRecord& r = records[i];
            const int row = needInt(path, r, QStringLiteral("row"));
            if (row != i + 1)
                fail(path, QStringLiteral("record at line %1 is row %2, expected %3")
                               .arg(r.line)
                               .arg(row)
                               .arg(i + 1));
            const QString name = need(path, r, QStringLiteral("name"));
            if (names.contains(name))
                fail(path, QStringLiteral("row %1: name %2 is used twice").arg(row).arg(name));
            names.insert(name, row);
            const QString labelName = r.fields.value(QStringLiteral("label-name"), name);
            const int count = needInt(path, r, QStringLiteral("count"));
            const int fileNumber = r.fields.contains(QStringLiteral("file"))
                                       ? needInt(path, r, QStringLiteral("file"))
                                       : row;
            if (fileNumbers.contains(fileNumber))
                fail(path, QStringLiteral("row %1: file number %2 is used twice")
                               .arg(row)
                               .arg(fileNumber));
            fileNumbers.insert(fileNumber, row);
            const QString templ = need(path, r, QStringLiteral("template"));
            checkTemplate(path, row, templ);
            const QString expl = need(path, r, QStringLiteral("explanation"));
            const auto examples =
                readExamples(examplesDir + QStringLiteral("/%1/%2.txt")
                                               .arg(QString::fromUtf8(list.examples))
                                               .arg(row, 2, 10, QLatin1Char('0')),
                             variants);
            out << "    {" << li << ", " << codegen::literal(labelName) << ", "
                << codegen::literal(name) << ", " << count << ",\n     " << texts.ref(templ)
                << ",\n     " << texts.ref(expl) << ",\n     " << examplesInit(texts, examples)
                << ",\n     " << fileNumber << "},\n";
            writeTemplateFile(appData + u'/' + QString::fromUtf8(list.directory), fileNumber,
                              templ);
            ++total;
        }
    }
    out << "};\nconst int kPatternCount = " << total << ";\n\n";

    // Verse templates: two shared explanations, then 16 rows.
    {
        const QString path = dataDir + QStringLiteral("/verse.txt");
        const auto records = parseRecords(path);
        QHash<QString, QString> shared;
        std::vector<ParsedRecord> rows;
        for (const auto& r : records) {
            if (r.fields.contains(QStringLiteral("shared-explanation")))
                shared.insert(r.fields.value(QStringLiteral("shared-explanation")),
                              need(path, r, QStringLiteral("text")));
            else
                rows.push_back(r);
        }
        if (rows.size() != 16)
            fail(path, QStringLiteral("holds %1 rows, expected 16").arg(rows.size()));
        out << "const RawVerse kVerses[] = {\n";
        for (int i = 0; i < 16; ++i) {
            const ParsedRecord& r = rows[i];
            if (needInt(path, r, QStringLiteral("row")) != i + 1)
                fail(path, QStringLiteral("record at line %1 is out of order").arg(r.line));
            const QString templ = need(path, r, QStringLiteral("template"));
            checkTemplate(path, i + 1, templ);
            QString expl = need(path, r, QStringLiteral("explanation"));
            if (expl.startsWith(u'='))
                expl = shared.value(expl.mid(1));
            if (expl.isEmpty())
                fail(path, QStringLiteral("row %1: unknown shared explanation").arg(i + 1));
            const auto examples = readExamples(
                examplesDir + QStringLiteral("/verse/%1.txt").arg(i + 1, 2, 10, QLatin1Char('0')),
                variants);
            out << "    {" << codegen::literal(need(path, r, QStringLiteral("label"))) << ", "
                << codegen::literal(need(path, r, QStringLiteral("name"))) << ",\n     "
                << texts.ref(templ) << ",\n     " << texts.ref(expl) << ",\n     "
                << examplesInit(texts, examples) << "},\n";
            writeTemplateFile(appData + QStringLiteral("/律诗绝句"), i + 1, templ);
        }
        out << "};\nconst int kVerseCount = 16;\n\n";
    }

    // Search keys: "target: key、key、…", one row a line, in table order.
    {
        const QString path = dataDir + QStringLiteral("/search-keys.txt");
        out << "const RawSearchRow kSearchRows[] = {\n";
        int count = 0;
        forEachListLine(path, [&](const QString& line, int number) {
            const qsizetype colon = line.indexOf(QStringLiteral(": "));
            if (colon <= 0)
                fail(path, QStringLiteral("line %1: expected \"target: key、key\"").arg(number));
            const QString target = line.left(colon);
            if (!names.contains(target))
                fail(path,
                     QStringLiteral("line %1: no pattern is named %2").arg(number).arg(target));
            out << "    {" << codegen::literal(target) << ", "
                << codegen::literal(line.mid(colon + 2)) << "},\n";
            ++count;
        });
        out << "};\nconst int kSearchRowCount = " << count << ";\n\n";
    }
    out << "} // namespace catalogue::data\n";
    out.flush();
    const QString cpp = QStringLiteral("// Generated by catalogue-gen from data/catalogue/. Do not "
                                       "edit.\n#include \"catalogue/core/catalogue_data.h\"\n\n"
                                       "namespace catalogue::data {\n\nnamespace {\n") +
                        texts.definitions() + QStringLiteral("} // namespace\n\n") + tables;
    writeIfChanged(outCpp, cpp.toUtf8());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return run(app.arguments().mid(1));
    } catch (const Failure& f) {
        std::fprintf(stderr, "catalogue-gen: %s\n", f.what());
        return 1;
    }
}
