// library-gen: turns data/library into what the program reads.
//
// usage: library-gen DATA_DIR OUT_CPP APP_DIR
//
// - area-codes.txt and postal-codes.txt (regions as "[list item|block id]" followed by
//   the block's lines) become the compiled-in code tables in OUT_CPP; a missing
//   postal-codes.txt gives an empty table;
// - every .txt file under enjoy/ and Excursus/ becomes the .dat file of the same name
//   under APP_DIR, in GBK with CR LF line ends. A character GBK cannot hold stops the
//   build with the file and line named.

#include "base/core/gbk.h"
#include "common/codegen.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const QString& file, const QString& what) {
    throw Failure((file + QStringLiteral(": ") + what).toStdString());
}

QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("cannot open (%1)").arg(f.errorString()));
    QString text = QString::fromUtf8(f.readAll());
    text.remove(u'\r');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

struct Region {
    QString name, id;
    QStringList lines;
};

// Comment lines start with "#"; the empty lines before a region header are dropped,
// those inside a block are kept.
QList<Region> readRegions(const QString& path) {
    QList<Region> regions;
    const QStringList lines = readLines(path);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const QStringList parts = line.mid(1, line.size() - 2).split(u'|');
            if (!line.endsWith(u']') || parts.size() != 2)
                fail(path, QStringLiteral("line %1: expected [name|id]").arg(i + 1));
            regions.append({parts[0], parts[1], {}});
            continue;
        }
        if (regions.isEmpty()) {
            if (!line.isEmpty())
                fail(path, QStringLiteral("line %1: text before the first region").arg(i + 1));
            continue;
        }
        regions.last().lines.append(line);
    }
    for (Region& r : regions) {
        while (!r.lines.isEmpty() && r.lines.last().isEmpty())
            r.lines.removeLast();
        if (r.lines.isEmpty())
            fail(path, QStringLiteral("region %1 has no lines").arg(r.name));
    }
    return regions;
}

void writeTable(QTextStream& s, const char* array, const char* count,
                const QList<Region>& regions) {
    s << "\nconst Region " << array << "[] = {\n";
    for (const Region& r : regions)
        s << "    {" << codegen::literal(r.name) << ", " << codegen::literal(r.id) << ",\n     "
          << codegen::literal(r.lines.join(u'\n'))
                 .replace(u'\n', QStringLiteral("\\n"))
                 .replace(u'\t', QStringLiteral("\\t"))
          << "},\n";
    if (regions.isEmpty())
        s << "    {\"\", \"\", \"\"},\n";
    s << "};\nconst int " << count << " = " << regions.size() << ";\n";
}

// Converts one UTF-8 source file into its GBK .dat file.
void writeDat(const QString& from, const QString& to) {
    const QStringList lines = readLines(from);
    QByteArray bytes;
    for (int i = 0; i < lines.size(); ++i) {
        bool exact = false;
        bytes += gbk::encode(lines[i], &exact);
        if (!exact)
            fail(from, QStringLiteral("line %1: a character GBK cannot hold").arg(i + 1));
        bytes += "\r\n";
    }
    QDir().mkpath(QFileInfo(to).path());
    if (!codegen::writeIfChanged(to, bytes))
        fail(to, QStringLiteral("cannot write"));
}

void mirrorTree(const QString& dataDir, const QString& sub, const QString& appDir) {
    const QString root = dataDir + u'/' + sub;
    if (!QDir(root).exists())
        return;
    QDirIterator it(root, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QString rel = QDir(dataDir).relativeFilePath(file);
        rel.chop(4);
        writeDat(file, appDir + u'/' + rel + QStringLiteral(".dat"));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: library-gen DATA_DIR OUT_CPP APP_DIR\n");
        return 2;
    }
    const QString dataDir = args[1];
    try {
        const QList<Region> area = readRegions(dataDir + QStringLiteral("/area-codes.txt"));
        const QString postalPath = dataDir + QStringLiteral("/postal-codes.txt");
        const QList<Region> postal =
            QFile::exists(postalPath) ? readRegions(postalPath) : QList<Region>{};

        QString out;
        QTextStream s(&out);
        s << "// Generated by library-gen from data/library; do not edit.\n"
          << "#include \"library/core/code_tables_raw.h\"\n\nnamespace code_tables::raw {\n";
        writeTable(s, "areaCodes", "areaCodeCount", area);
        writeTable(s, "postalCodes", "postalCodeCount", postal);
        s << "\n} // namespace code_tables::raw\n";
        s.flush();
        if (!codegen::writeIfChanged(args[2], out.toUtf8()))
            fail(args[2], QStringLiteral("cannot write"));

        mirrorTree(dataDir, QStringLiteral("enjoy"), args[3]);
        mirrorTree(dataDir, QStringLiteral("Excursus"), args[3]);
    } catch (const Failure& e) {
        std::fprintf(stderr, "library-gen: %s\n", e.what());
        return 1;
    }
    return 0;
}
