// The search corpus built from the dataset: every poem of each collection is there, word
// for word, and a famous line finds its poem first. Skips without the dataset.

#include "search/core/search_index.h"
#include "support/dataset.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <map>
#include <opencc/opencc.h>

namespace {

using namespace search;

QJsonArray readArray(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).array()
                                       : QJsonArray();
}

QString joined(const QJsonValue& lines) {
    QStringList out;
    for (const QJsonValue& l : lines.toArray())
        out << l.toString();
    return out.join(u'\n');
}

QString t2s(const QString& text) {
    static const opencc_t cc = opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP);
    const QByteArray in = text.toUtf8();
    char* out = opencc_convert_utf8(cc, in.constData(), size_t(in.size()));
    const QString result = QString::fromUtf8(out);
    opencc_convert_utf8_free(out);
    return result;
}

class SearchCorpus : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QDir(testdata::poetryDir() + QStringLiteral("/quantangshi")).exists())
            GTEST_SKIP() << "no poetry dataset";
        if (!index) {
            QString error;
            index = Index::open(QStringLiteral(LYREVANE_SEARCH_INDEX), &error).release();
            ASSERT_TRUE(index) << error.toStdString();
            for (quint32 i = 0; i < index->poemCount(); ++i) {
                const Poem p = index->poem(i);
                ids[{p.collection, p.sourceIndex}] = i;
            }
        }
    }
    static inline Index* index = nullptr;
    static inline std::map<std::pair<Collection, quint32>, quint32> ids;

    static QString dist(const QString& rel) { return testdata::poetryDir() + u'/' + rel; }
    static qsizetype countIn(const QString& folder, const QString& pattern, const char* needing) {
        qsizetype n = 0;
        const QDir dir(dist(folder));
        for (const QString& f : dir.entryList({pattern}, QDir::Files)) {
            for (const QJsonValue& v : readArray(dir.filePath(f)))
                n += v.toObject().contains(QLatin1String(needing));
        }
        return n;
    }
};

TEST_F(SearchCorpus, HoldsEveryPoemOfEachCollection) {
    const std::pair<Collection, qsizetype> expected[] = {
        {Collection::QuanTangShi,
         countIn(QStringLiteral("quantangshi"), QStringLiteral("poet.tang.*.json"), "paragraphs")},
        {Collection::QuanSongShi,
         countIn(QStringLiteral("quantangshi"), QStringLiteral("poet.song.*.json"), "paragraphs")},
        {Collection::QuanSongCi,
         countIn(QStringLiteral("songci"), QStringLiteral("ci.song.*.json"), "paragraphs")},
        {Collection::HuaJianJi,
         countIn(QStringLiteral("wudaishici/huajianji"), QStringLiteral("*.json"), "paragraphs")},
        {Collection::NanTang, countIn(QStringLiteral("wudaishici/nantang"),
                                      QStringLiteral("poetrys.json"), "paragraphs")},
        {Collection::ShiJing,
         countIn(QStringLiteral("shijing"), QStringLiteral("shijing.json"), "content")},
        {Collection::ChuCi,
         countIn(QStringLiteral("chuci"), QStringLiteral("chuci.json"), "content")},
        {Collection::YuanQu,
         countIn(QStringLiteral("yuanqu"), QStringLiteral("yuanqu.json"), "paragraphs")},
        {Collection::NaLan,
         countIn(QStringLiteral("nalanxingde"), QStringLiteral("*.json"), "para")},
    };
    std::map<Collection, qsizetype> counted;
    for (const auto& [key, id] : ids)
        ++counted[key.first];
    for (const auto& [collection, count] : expected) {
        EXPECT_GT(count, 0) << collectionName(collection).toStdString();
        EXPECT_EQ(counted[collection], count) << collectionName(collection).toStdString();
    }
}

TEST_F(SearchCorpus, PoemsAreTheDatasetsWordForWord) {
    struct Case {
        Collection collection;
        QString file;
        const char* textKey;
        bool traditional;
    };
    const Case cases[] = {
        {Collection::QuanTangShi, QStringLiteral("quantangshi/poet.tang.0.json"), "paragraphs",
         true},
        {Collection::QuanSongShi, QStringLiteral("quantangshi/poet.song.0.json"), "paragraphs",
         true},
        {Collection::QuanSongCi, QStringLiteral("songci/ci.song.0.json"), "paragraphs", false},
        {Collection::ShiJing, QStringLiteral("shijing/shijing.json"), "content", false},
        {Collection::YuanQu, QStringLiteral("yuanqu/yuanqu.json"), "paragraphs", false},
    };
    for (const Case& c : cases) {
        const QJsonArray poems = readArray(dist(c.file));
        ASSERT_FALSE(poems.isEmpty()) << c.file.toStdString();
        for (qsizetype i = 0; i < poems.size(); i += 37) {
            const QJsonObject o = poems[i].toObject();
            const Poem p = index->poem(ids.at({c.collection, quint32(i)}));
            const QString text = joined(o[QLatin1String(c.textKey)]);
            EXPECT_EQ(p.text, text) << c.file.toStdString() << " #" << i;
            EXPECT_EQ(p.simplified, c.traditional ? t2s(text) : text)
                << c.file.toStdString() << " #" << i;
            if (o.contains(QLatin1String("author"))) {
                EXPECT_EQ(p.poet, c.traditional ? t2s(o[QLatin1String("author")].toString())
                                                : o[QLatin1String("author")].toString());
            }
        }
    }
}

} // namespace
