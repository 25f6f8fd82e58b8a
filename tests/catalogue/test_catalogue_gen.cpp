// The catalogue generator on small fixtures: it turns "@placeholder" into the fixed text
// and stops, naming the file, on a missing or malformed input.

#include "catalogue/core/forum.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct GenRun {
    int exitCode;
    QString err;
};

class Fixture {
  public:
    Fixture() {
        const QString source = QStringLiteral(CATALOGUE_DATA_DIR);
        QDir().mkpath(data());
        for (const char* f :
             {"common.txt", "general.txt", "rare.txt", "verse.txt", "search-keys.txt"})
            QFile::copy(source + '/' + f, data() + '/' + f);
        for (auto [sub, rows] :
             {std::pair{"common", 28}, {"general", 38}, {"rare", 41}, {"verse", 16}}) {
            QDir().mkpath(examples() + '/' + sub);
            for (int r = 1; r <= rows; ++r)
                write(examplePath(sub, r),
                      "@placeholder\n@placeholder\n@placeholder\n@placeholder\n@placeholder\n");
        }
    }
    QString data() const { return dir.path() + "/data"; }
    QString examples() const { return dir.path() + "/examples"; }
    QString cpp() const { return dir.path() + "/out.cpp"; }
    QString app() const { return dir.path() + "/app"; }
    QString examplePath(const QString& sub, int row) const {
        return examples() + QStringLiteral("/%1/%2.txt").arg(sub).arg(row, 2, 10, QLatin1Char('0'));
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void edit(const QString& path, const std::function<void(QByteArray&)>& change) const {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        change(bytes);
        write(path, bytes);
    }
    GenRun run() const {
        QProcess p;
        p.start(QStringLiteral(CATALOGUE_GEN), {data(), examples(), cpp(), app()});
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    }

  private:
    QTemporaryDir dir;
};

} // namespace

TEST(CatalogueGen, PlaceholderSlotsGetTheFixedTextAndTheTreeIsWritten) {
    Fixture fx;
    const GenRun r = fx.run();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile cpp(fx.cpp());
    ASSERT_TRUE(cpp.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(cpp.readAll());
    EXPECT_TRUE(source.contains(QString::fromUtf8(catalogue::kPlaceholderLead) +
                                QString::fromUtf8(catalogue::kForumAddress)));
    EXPECT_FALSE(source.contains(u"@placeholder"));
    int files = 0;
    for (const char* sub : {"常用词谱", "普通词谱", "冷僻词谱", "律诗绝句"})
        files += QDir(fx.app() + '/' + QString::fromUtf8(sub)).entryList(QDir::Files).size();
    EXPECT_EQ(files, 123);
}

TEST(CatalogueGen, StopsNamingTheFaultyFile) {
    struct Case {
        const char* what;
        std::function<void(Fixture&)> spoil;
        const char* file;    // named in the message
        const char* message; // part of the message
    } cases[] = {
        {"a missing model-poem file", [](Fixture& f) { QFile::remove(f.examplePath("rare", 7)); },
         "rare/07.txt", "missing"},
        {"four poems instead of five",
         [](Fixture& f) { Fixture::write(f.examplePath("verse", 3), "a\nb\nc\nd\n"); },
         "verse/03.txt", "expected exactly 5"},
        {"an empty slot",
         [](Fixture& f) { Fixture::write(f.examplePath("common", 1), "a\n\nc\nd\ne\n"); },
         "common/01.txt", "line 2 is empty"},
        {"a character outside the notation",
         [](Fixture& f) {
             f.edit(f.data() + "/general.txt",
                    [](QByteArray& b) { b.replace("template: △，", "template: X△，"); });
         },
         "general.txt", "outside the notation"},
        {"a missing row",
         [](Fixture& f) {
             f.edit(f.data() + "/common.txt", [](QByteArray& b) {
                 const qsizetype at = b.lastIndexOf("\nrow: ");
                 b.truncate(at + 1);
             });
         },
         "common.txt", "expected 28"},
        {"a search key aimed at no pattern",
         [](Fixture& f) {
             f.edit(f.data() + "/search-keys.txt", [](QByteArray& b) { b.append("无此调: 无\n"); });
         },
         "search-keys.txt", "no pattern is named"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture fx;
        c.spoil(fx);
        const GenRun r = fx.run();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.file))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    }
}

// The poems keep the dataset's text; the tables show the standard forms the variant
// table names, and a malformed table stops the generator.
TEST(CatalogueGen, VariantCharactersBecomeTheirStandardForms) {
    Fixture fx;
    Fixture::write(fx.examples() + "/variant-chars.tsv", "# comment\n劒\t剑\tsource\n");
    Fixture::write(fx.examplePath("verse", 2),
                   "长劒倚天--题[某]\n@placeholder\n@placeholder\n@placeholder\n@placeholder\n");
    const GenRun r = fx.run();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile cpp(fx.cpp());
    ASSERT_TRUE(cpp.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(cpp.readAll());
    EXPECT_TRUE(source.contains(u"长剑倚天"));
    EXPECT_FALSE(source.contains(u"劒"));

    Fixture bad;
    Fixture::write(bad.examples() + "/variant-chars.tsv", "劒\t剑\n");
    const GenRun b = bad.run();
    EXPECT_EQ(b.exitCode, 1);
    EXPECT_TRUE(b.err.contains(u"variant-chars.tsv")) << b.err.toStdString();
}
