// search-gen: builds the search corpus file (data/search/poems.idx) from the poetry
// dataset: every poem of the collections below with its dynasty, poet, title or tune and
// form, its text as the source spells it and in simplified characters, its poet's fame
// from the dataset's search-hit counts, and the anthologies it is in.
//
//   search-gen NPM_DIR CATALOGUE_EXAMPLES_DIR OUT_FILE
//
// Without the dataset nothing is written (the program then reports the search as not
// available). The output depends only on its inputs: running it again gives the same
// bytes.

#include "search/core/index_builder.h"
#include "search/core/text_chars.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <opencc/opencc.h>

using namespace search;

namespace {

QString g_dist;

QJsonValue readJson(const QString& relative) {
    QFile f(g_dist + u'/' + relative);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "search-gen: cannot read %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

// The files of a numbered series (poet.tang.0.json, poet.tang.1000.json, …) in number
// order; names without a number (ci.song.2019y.json) last.
QStringList series(const QString& folder, const QString& prefix) {
    QStringList names =
        QDir(g_dist + u'/' + folder).entryList({prefix + QStringLiteral("*.json")}, QDir::Files);
    auto number = [&](const QString& n) {
        bool ok = false;
        const qlonglong v = n.mid(prefix.size()).chopped(5).toLongLong(&ok);
        return ok ? v : LLONG_MAX;
    };
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return number(a) != number(b) ? number(a) < number(b) : a < b;
    });
    for (QString& n : names)
        n = folder + u'/' + n;
    return names;
}

class Converter {
  public:
    Converter() : m_cc(opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP)) {
        if (m_cc == reinterpret_cast<opencc_t>(-1)) {
            std::fprintf(stderr, "search-gen: cannot open OpenCC's t2s\n");
            std::exit(1);
        }
    }
    ~Converter() { opencc_close(m_cc); }
    QString one(const QString& s) const {
        const QByteArray in = s.toUtf8();
        char* out = opencc_convert_utf8(m_cc, in.constData(), size_t(in.size()));
        const QString result = QString::fromUtf8(out);
        opencc_convert_utf8_free(out);
        return result;
    }
    // Many texts in one call: joined by line breaks, converted, split again.
    QStringList many(const QStringList& texts) const {
        QStringList lines;
        QList<int> counts;
        for (const QString& t : texts) {
            const QStringList l = t.split(u'\n');
            counts << int(l.size());
            lines += l;
        }
        const QStringList converted = one(lines.join(u'\n')).split(u'\n');
        if (converted.size() != lines.size()) {
            QStringList out;
            for (const QString& t : texts)
                out << one(t);
            return out;
        }
        QStringList out;
        int at = 0;
        for (int n : counts) {
            out << converted.mid(at, n).join(u'\n');
            at += n;
        }
        return out;
    }

  private:
    opencc_t m_cc;
};

QString joinLines(const QJsonValue& v) {
    QStringList lines;
    for (const QJsonValue& l : v.toArray())
        lines << l.toString();
    return lines.join(u'\n');
}

// What identifies a poem across the dataset's files: its first words, simplified.
QString key(const QString& simplified) {
    const QList<char32_t> w = wordChars(simplified);
    return QString::fromUcs4(w.constData(), std::min<qsizetype>(w.size(), 14));
}

struct Famous {
    QHash<QString, quint8> byKey;
    void add(const QString& simplified, quint8 flag) {
        const QString k = key(simplified);
        if (k.size() >= 8)
            byKey[k] |= flag;
    }
    quint8 of(const QString& simplified) const { return byKey.value(key(simplified), 0); }
};

Famous famousPoems(const Converter& cc, const QString& examplesDir) {
    Famous famous;
    for (const auto& [file, flag] :
         {std::pair{QStringLiteral("mengxue/tangshisanbaishou.json"), TangShi300},
          std::pair{QStringLiteral("mengxue/qianjiashi.json"), QianJiaShi}}) {
        QStringList texts;
        for (const QJsonValue& group :
             readJson(file).toObject()[QLatin1String("content")].toArray()) {
            for (const QJsonValue& p : group.toObject()[QLatin1String("content")].toArray())
                texts << joinLines(p.toObject()[QLatin1String("paragraphs")]);
        }
        for (const QString& t : cc.many(texts))
            famous.add(t, flag);
    }
    for (const QJsonValue& p : readJson(QStringLiteral("songci/宋词三百首.json")).toArray())
        famous.add(joinLines(p.toObject()[QLatin1String("paragraphs")]), SongCi300);
    // The catalogue's model poems: "words--tune[poet]" a line.
    const QRegularExpression tail(QStringLiteral("(--|——).*$"));
    for (const QString& list : {QStringLiteral("common"), QStringLiteral("general"),
                                QStringLiteral("rare"), QStringLiteral("verse")}) {
        const QDir dir(examplesDir + u'/' + list);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly))
                continue;
            for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n'))
                famous.add(QString(line).remove(tail), ModelPoem);
        }
    }
    return famous;
}

// Each poet's fame: the search-hit counts of all their poems, added up.
QHash<QString, quint64> poetFame(const Converter& cc) {
    QHash<QString, quint64> traditional, fame;
    auto addFile = [&](const QString& file, QHash<QString, quint64>& into) {
        for (const QJsonValue& v : readJson(file).toArray()) {
            const QJsonObject o = v.toObject();
            const qint64 hits = o[QLatin1String("baidu")].toInteger();
            if (hits > 0)
                into[o[QLatin1String("author")].toString()] += quint64(hits);
        }
    };
    for (const QString& f : series(QStringLiteral("rank/poet"), QStringLiteral("poet.")))
        addFile(f, traditional);
    for (const QString& f : series(QStringLiteral("rank/ci"), QStringLiteral("ci.song.rank.")))
        addFile(f, fame);
    const QStringList names = traditional.keys();
    const QStringList simplified = cc.many(names);
    for (qsizetype i = 0; i < names.size(); ++i)
        fame[simplified[i]] += traditional[names[i]];
    return fame;
}

struct Raw {
    QString poet, title, tune, text;
};

class Corpus {
  public:
    Corpus(const Converter& cc, const Famous& famous, const QHash<QString, quint64>& fame)
        : m_cc(cc), m_famous(famous), m_fame(fame) {}

    // Adds a collection's poems; `traditional` ones are converted, names included.
    void add(Collection collection, Dynasty dynasty, QList<Raw> poems, bool traditional,
             const std::function<void(PoemInput&)>& shape = {}) {
        QStringList texts, names;
        for (const Raw& r : poems) {
            texts << r.text;
            names << r.poet << r.title << r.tune;
        }
        const QStringList simplified = traditional ? m_cc.many(texts) : texts;
        const QStringList simpleNames = traditional ? m_cc.many(names) : names;
        for (qsizetype i = 0; i < poems.size(); ++i) {
            PoemInput p;
            p.collection = collection;
            p.dynasty = dynasty;
            p.poet = simpleNames[3 * i];
            p.title = simpleNames[3 * i + 1];
            p.tune = simpleNames[3 * i + 2];
            p.text = poems[i].text;
            p.simplified = simplified[i];
            p.poetFame = m_fame.value(p.poet, 0);
            p.anthologies = m_famous.of(p.simplified);
            p.sourceIndex = quint32(m_next[int(collection)]++);
            p.form = verseForm(clauses(p.simplified));
            if (shape)
                shape(p);
            m_builder.add(std::move(p));
        }
    }
    const IndexBuilder& builder() const { return m_builder; }

    static QList<int> clauses(const QString& text) {
        QList<int> lengths;
        int run = 0;
        for (char32_t c : text.toUcs4()) {
            if (isWordChar(c)) {
                ++run;
            } else if (run) {
                lengths << run;
                run = 0;
            }
        }
        if (run)
            lengths << run;
        return lengths;
    }

  private:
    const Converter& m_cc;
    const Famous& m_famous;
    const QHash<QString, quint64>& m_fame;
    IndexBuilder m_builder;
    int m_next[kCollectionCount] = {};
};

QString str(const QJsonObject& o, const char* key) {
    return o[QLatin1String(key)].toString();
}

QList<Raw> readList(const QString& file, const char* textKey, const char* titleKey,
                    const char* tuneKey) {
    QList<Raw> out;
    for (const QJsonValue& v : readJson(file).toArray()) {
        const QJsonObject o = v.toObject();
        if (!o.contains(QLatin1String(textKey)))
            continue;
        out.append({str(o, "author"), titleKey ? str(o, titleKey) : QString(),
                    tuneKey ? str(o, tuneKey) : QString(), joinLines(o[QLatin1String(textKey)])});
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: search-gen NPM_DIR CATALOGUE_EXAMPLES_DIR OUT_FILE\n");
        return 2;
    }
    g_dist = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/chinese-poetry/dist");
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!QFile::exists(g_dist + QStringLiteral("/quantangshi"))) {
        std::printf("search-gen: no poetry dataset at %s; the search corpus is not built\n",
                    qPrintable(g_dist));
        QFile::remove(out);
        return 0;
    }
    QElapsedTimer timer;
    timer.start();
    const Converter cc;
    const Famous famous = famousPoems(cc, QString::fromLocal8Bit(argv[2]));
    const QHash<QString, quint64> fame = poetFame(cc);
    Corpus corpus(cc, famous, fame);

    // Oldest first: the rank breaks ties by the order of adding.
    {
        QList<Raw> poems;
        for (const QJsonValue& v : readJson(QStringLiteral("shijing/shijing.json")).toArray()) {
            const QJsonObject o = v.toObject();
            poems.append(
                {QString(), str(o, "title"), QString(), joinLines(o[QLatin1String("content")])});
        }
        corpus.add(Collection::ShiJing, Dynasty::PreQin, poems, false,
                   [](PoemInput& p) { p.form = Form::ShiJing; });
    }
    {
        const QList<Raw> poems =
            readList(QStringLiteral("chuci/chuci.json"), "content", "title", nullptr);
        corpus.add(Collection::ChuCi, Dynasty::PreQin, poems, false, [](PoemInput& p) {
            p.form = Form::SaoTi;
            static const QStringList preQin = {QStringLiteral("屈原"), QStringLiteral("宋玉"),
                                               QStringLiteral("景差")};
            if (!preQin.contains(p.poet))
                p.dynasty = Dynasty::Han;
        });
    }
    for (const QString& f : series(QStringLiteral("quantangshi"), QStringLiteral("poet.tang.")))
        corpus.add(Collection::QuanTangShi, Dynasty::Tang,
                   readList(f, "paragraphs", "title", nullptr), true);
    const auto ci = [](PoemInput& p) { p.form = Form::Ci; };
    for (const QString& f :
         series(QStringLiteral("wudaishici/huajianji"), QStringLiteral("huajianji-")))
        corpus.add(Collection::HuaJianJi, Dynasty::FiveDynasties,
                   readList(f, "paragraphs", "title", "rhythmic"), false, ci);
    corpus.add(Collection::NanTang, Dynasty::FiveDynasties,
               readList(QStringLiteral("wudaishici/nantang/poetrys.json"), "paragraphs", "title",
                        "rhythmic"),
               false, ci);
    for (const QString& f : series(QStringLiteral("quantangshi"), QStringLiteral("poet.song.")))
        corpus.add(Collection::QuanSongShi, Dynasty::Song,
                   readList(f, "paragraphs", "title", nullptr), true);
    for (const QString& f : series(QStringLiteral("songci"), QStringLiteral("ci.song.")))
        corpus.add(Collection::QuanSongCi, Dynasty::Song,
                   readList(f, "paragraphs", nullptr, "rhythmic"), false, ci);
    corpus.add(Collection::YuanQu, Dynasty::Yuan,
               readList(QStringLiteral("yuanqu/yuanqu.json"), "paragraphs", "title", nullptr),
               false, [](PoemInput& p) {
                   p.form = Form::Qu;
                   // "诈妮子调风月・仙吕/点绛唇": the tune is the last part.
                   p.tune = p.title.section(QStringLiteral("・"), -1).section(u'/', -1);
               });
    corpus.add(Collection::NaLan, Dynasty::Qing,
               readList(QStringLiteral("nalanxingde/纳兰性德诗集.json"), "para", "title", nullptr),
               false, [](PoemInput& p) {
                   // "长相思·山一程": a ci is filed under its tune and first words.
                   if (p.form == Form::Other && p.title.contains(u'·')) {
                       p.form = Form::Ci;
                       p.tune = p.title.section(u'·', 0, 0);
                   }
               });

    QString summary;
    const QByteArray bytes = corpus.builder().build(&summary);
    if (bytes.isEmpty()) {
        std::fprintf(stderr, "search-gen: %s\n", qPrintable(summary));
        return 1;
    }
    QDir().mkpath(QFileInfo(out).absolutePath());
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "search-gen: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("search-gen: %s; %.1f s\n", qPrintable(summary), timer.elapsed() / 1000.0);
    return 0;
}
