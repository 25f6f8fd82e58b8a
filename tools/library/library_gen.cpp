// library-gen: turns data/library into what the program reads.
//
// usage: library-gen DATA_DIR OUT_CPP APP_DIR CATALOGUE_DIR CIYUN_FILE
//
// - area-codes.txt and postal-codes.txt (regions as "[list item|block id]" followed by
//   the block's lines) become the compiled-in code tables in OUT_CPP; a missing
//   postal-codes.txt gives an empty table;
// - every .txt file under enjoy/ and Excursus/ becomes the .dat file of the same name
//   under APP_DIR, in GBK with CR LF line ends; in the anthologies (enjoy/) the variant
//   characters of the catalogue's examples/variant-chars.tsv are written in their usual
//   forms. A character GBK cannot hold stops the build with the file and line named;
// - the knowledge topics that are tables of the program's own data are written from that
//   data, so that they always agree with it: 词牌大全 from the catalogue (with the poem
//   counts of tune-counts.tsv), 平水韵部 from the headings of 词韵简编 (ordered by
//   pingshui.txt), and the regulated-verse formats from the verse templates.

#include "base/core/gbk.h"
#include "common/codegen.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
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

// Writes lines as a GBK .dat file; `from` names their origin in a failure.
void writeDatLines(const QStringList& lines, const QString& from, const QString& to) {
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

// Variant characters that OpenCC's conversion leaves in the quoted poems (劒, 疎, 嬾, …)
// and their usual forms: the catalogue's table (examples/variant-chars.tsv,
// "variant<TAB>standard<TAB>sources"), so that the anthologies show the forms the model
// poems show. The text files keep the dataset's characters.
using CharMap = QHash<QChar, QChar>;

CharMap readVariantChars(const QString& path) {
    CharMap map;
    if (!QFile::exists(path))
        return map;
    const QStringList lines = readLines(path);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(u'\t');
        if (lines[i].startsWith(u'#') || lines[i].isEmpty())
            continue;
        if (f.size() != 3 || f[0].size() != 1 || f[1].size() != 1)
            fail(path,
                 QStringLiteral("line %1: expected variant, standard form and sources").arg(i + 1));
        map.insert(f[0][0], f[1][0]);
    }
    return map;
}

// Converts one UTF-8 source file into its GBK .dat file, the variants in `forms` written
// in their usual forms.
void writeDat(const QString& from, const QString& to, const CharMap& forms) {
    QStringList lines = readLines(from);
    for (QString& line : lines)
        for (QChar& c : line)
            c = forms.value(c, c);
    writeDatLines(lines, from, to);
}

void mirrorTree(const QString& dataDir, const QString& sub, const QString& appDir,
                const CharMap& forms = {}) {
    const QString root = dataDir + u'/' + sub;
    if (!QDir(root).exists())
        return;
    QDirIterator it(root, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QString rel = QDir(dataDir).relativeFilePath(file);
        rel.chop(4);
        writeDat(file, appDir + u'/' + rel + QStringLiteral(".dat"), forms);
    }
}

// "field: value" records separated by blank lines; '#' starts a comment line.
QList<QHash<QString, QString>> readRecords(const QString& path) {
    QList<QHash<QString, QString>> records{{}};
    for (const QString& line : readLines(path)) {
        if (line.startsWith(u'#'))
            continue;
        if (line.trimmed().isEmpty()) {
            if (!records.last().isEmpty())
                records.append(QHash<QString, QString>());
            continue;
        }
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon > 0)
            records.last().insert(line.left(colon), line.mid(colon + 2));
    }
    if (records.last().isEmpty())
        records.removeLast();
    return records;
}

void writeTopic(const QString& appDir, const QString& name, const QStringList& lines) {
    writeDatLines(lines, QStringLiteral("generated topic ") + name,
                  appDir + QStringLiteral("/Excursus/changshi/") + name + QStringLiteral(".dat"));
}

// 词牌大全: the three lists of the catalogue with each tune's character count and the
// number of poems the dataset files under it.
QStringList tuneTable(const QString& catalogueDir, const QString& countsFile) {
    QHash<QString, QString> counts;
    if (QFile::exists(countsFile))
        for (const QString& line : readLines(countsFile)) {
            const QStringList f = line.split(u'\t');
            if (!line.startsWith(u'#') && f.size() == 4)
                counts.insert(f[0] + u'/' + f[1], f[3]);
        }
    QStringList out = {
        QStringLiteral("词牌大全"), QString(),
        QStringLiteral(
            "本程序的词谱共收词牌一百零七调，按使用的多少分为常用词谱、通用词谱和冷僻词谱"
            "三类。下面每行依次是词牌名、正体的字数，以及《全宋词》连同《花间集》《南唐二"
            "主词》中用这一词调（包括它的别名）填写的词的首数，可以大致看出各调在唐宋时"
            "流行的程度。各调的格律、别名和例词，请在“词牌”视图中查看。")};
    const struct {
        const char* list;
        const char* title;
    } lists[] = {{"common", "常用词谱"}, {"general", "通用词谱"}, {"rare", "冷僻词谱"}};
    for (const auto& l : lists) {
        const auto records =
            readRecords(catalogueDir + u'/' + QLatin1String(l.list) + QStringLiteral(".txt"));
        out << QString()
            << QStringLiteral("%1（%2调）").arg(QString::fromUtf8(l.title)).arg(records.size());
        for (const auto& r : records) {
            QString line = r.value(QStringLiteral("name")) + QStringLiteral("　") +
                           r.value(QStringLiteral("count")) + QStringLiteral("字");
            const QString n =
                counts.value(QLatin1String(l.list) + u'/' + r.value(QStringLiteral("row")));
            if (!n.isEmpty())
                line += QStringLiteral("　") + n + QStringLiteral("首");
            out << line;
        }
    }
    return out;
}

// 平水韵部: the rhymes in order by tone, each with the parts of 词韵简编 that hold it.
QStringList pingshuiTable(const QString& ciyunFile, const QString& orderFile) {
    QHash<QString, QStringList> partsOf; // heading → "第一部", "第三部（半）", …
    const QString text = readLines(ciyunFile).join(u'\n');
    const QRegularExpression entry(QStringLiteral("^name: (第\\S+部)"),
                                   QRegularExpression::MultilineOption);
    const QRegularExpression heading(QStringLiteral("【([^】(]+)(\\(半\\))?】"));
    auto e = entry.globalMatch(text);
    QList<QPair<qsizetype, QString>> starts;
    while (e.hasNext()) {
        const auto m = e.next();
        starts.append({m.capturedStart(), m.captured(1)});
    }
    for (int i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1].first : text.size();
        auto h = heading.globalMatch(text.mid(starts[i].first, end - starts[i].first));
        while (h.hasNext()) {
            const auto m = h.next();
            const QString part =
                starts[i].second + (m.hasCaptured(2) ? QStringLiteral("（半）") : QString());
            if (!partsOf[m.captured(1)].contains(part))
                partsOf[m.captured(1)].append(part);
        }
    }
    QStringList out = {
        QStringLiteral("平水韵部"), QString(),
        QStringLiteral(
            "平水韵得名于金元之际在平水（今山西临汾）刊行的韵书，共一百零六韵：平声三十韵（上平"
            "声、下平声各十五韵），上声二十九韵，去声三十韵，入声十七韵。后世作近体诗"
            "多以它为准。词韵把诗韵中读音相近的韵合并为十九部，下面每韵后注明它在本程序"
            "《词韵简编》中所属的部；注“半”的韵，只有一部分字归入该部。")};
    int total = 0;
    for (const QString& line : readLines(orderFile)) {
        if (line.startsWith(u'#') || line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const QStringList names = line.mid(colon + 2).split(u' ');
        out << QString() << QStringLiteral("%1（%2韵）").arg(line.left(colon)).arg(names.size());
        for (const QString& n : names) {
            const QString name = n.section(u'=', 0, 0), filed = n.section(u'=', -1);
            if (!partsOf.contains(filed))
                fail(orderFile, QStringLiteral("%1 is not a heading of 词韵简编").arg(filed));
            out << name + QStringLiteral("　") + partsOf.take(filed).join(QStringLiteral("、"));
            ++total;
        }
    }
    if (total != 106 || !partsOf.isEmpty())
        fail(orderFile, QStringLiteral("%1 rhymes; headings left over: %2")
                            .arg(total)
                            .arg(QStringList(partsOf.keys()).join(u' ')));
    return out;
}

// The regulated-verse formats of one kind ("五律" or "七律") from the verse templates.
QStringList verseFormats(const QString& catalogueDir, const QString& kind) {
    QStringList out = {
        QStringLiteral("唐%1平仄基本格式").arg(kind), QString(),
        QStringLiteral(
            "%1的平仄有四种基本格式，由首句第二字的平仄（平起或仄起）和首句是否押韵（平收"
            "为押韵，仄收为不押韵）决定。下面是本程序“律诗绝句”所收的四种格式，符号的意"
            "义是：○平声，●仄声，◎可平可仄，△平声韵脚。粘对的规则使一首诗只要首句定"
            "了，其余七句也随之而定。")
            .arg(kind)};
    for (const auto& r : readRecords(catalogueDir + QStringLiteral("/verse.txt"))) {
        const QString label = r.value(QStringLiteral("label"));
        if (!label.startsWith(kind + u'-'))
            continue;
        out << QString() << label.mid(kind.size() + 1);
        QString t = r.value(QStringLiteral("template"));
        for (const QString& couplet : t.split(u'。', Qt::SkipEmptyParts))
            out << couplet + u'。';
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr,
                     "usage: library-gen DATA_DIR OUT_CPP APP_DIR CATALOGUE_DIR CIYUN_FILE\n");
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

        mirrorTree(dataDir, QStringLiteral("enjoy"), args[3],
                   readVariantChars(args[4] + QStringLiteral("/examples/variant-chars.tsv")));
        mirrorTree(dataDir, QStringLiteral("Excursus"), args[3]);
        writeTopic(args[3], QStringLiteral("09"),
                   tuneTable(args[4], dataDir + QStringLiteral("/tune-counts.tsv")));
        writeTopic(args[3], QStringLiteral("12"),
                   pingshuiTable(args[5], dataDir + QStringLiteral("/pingshui.txt")));
        writeTopic(args[3], QStringLiteral("13"), verseFormats(args[4], QStringLiteral("五律")));
        writeTopic(args[3], QStringLiteral("14"), verseFormats(args[4], QStringLiteral("七律")));
    } catch (const Failure& e) {
        std::fprintf(stderr, "library-gen: %s\n", e.what());
        return 1;
    }
    return 0;
}
