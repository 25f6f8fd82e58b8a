#include "support/dataset.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <opencc/opencc.h>

namespace testdata {

QString sourceDir() {
    const QString dir = qEnvironmentVariable("LYREVANE_SOURCE_DIR");
    return dir.isEmpty() ? QStringLiteral(LYREVANE_SOURCE_DIR_DEFAULT) : dir;
}

QString npmDir() {
    const QString dir = qEnvironmentVariable("LYREVANE_NPM_DIR");
    return dir.isEmpty() ? QStringLiteral(LYREVANE_NPM_DIR_DEFAULT) : dir;
}

QString poetryDir() {
    return npmDir() + QStringLiteral("/chinese-poetry/dist");
}

QString examplesDir() {
    return sourceDir() + QStringLiteral("/data/catalogue/examples");
}

namespace {

QHash<QString, ToneCount> countTraditional() {
    QHash<QString, ToneCount> counts;
    const QDir strainsDir(poetryDir() + QStringLiteral("/strains/json"));
    for (const QString& name :
         strainsDir.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files)) {
        QFile poemsFile(poetryDir() + QStringLiteral("/quantangshi/") + name);
        QFile strainsFile(strainsDir.filePath(name));
        if (!poemsFile.open(QIODevice::ReadOnly) || !strainsFile.open(QIODevice::ReadOnly))
            continue;
        QHash<QString, QJsonArray> strainsById;
        for (const QJsonValue& v : QJsonDocument::fromJson(strainsFile.readAll()).array())
            strainsById.insert(v[QStringLiteral("id")].toString(),
                               v[QStringLiteral("strains")].toArray());
        for (const QJsonValue& poem : QJsonDocument::fromJson(poemsFile.readAll()).array()) {
            const QJsonArray lines = poem[QStringLiteral("paragraphs")].toArray();
            const QJsonArray marks = strainsById.value(poem[QStringLiteral("id")].toString());
            if (lines.size() != marks.size())
                continue;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QList<uint> text = lines[i].toString().toUcs4();
                const QList<uint> tone = marks[i].toString().toUcs4();
                if (text.size() != tone.size()) // a line the strains do not align with
                    continue;
                for (qsizetype j = 0; j < text.size(); ++j) {
                    if (tone[j] != U'平' && tone[j] != U'仄')
                        continue;
                    const char32_t c = text[j];
                    ToneCount& n = counts[QString::fromUcs4(&c, 1)];
                    (tone[j] == U'平' ? n.level : n.oblique) += 1;
                }
            }
        }
    }
    return counts;
}

} // namespace

const QHash<QString, ToneCount>& classicalToneCounts() {
    static const QHash<QString, ToneCount> folded = [] {
        QHash<QString, ToneCount> out;
        const QHash<QString, ToneCount> traditional = countTraditional();
        if (traditional.isEmpty())
            return out;
        // One conversion call for all the characters.
        const QStringList keys = traditional.keys();
        opencc_t cc = opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP);
        if (cc == reinterpret_cast<opencc_t>(-1))
            return out;
        const QByteArray joined = keys.join(u'\n').toUtf8();
        char* converted = opencc_convert_utf8(cc, joined.constData(), size_t(joined.size()));
        const QStringList simplified = QString::fromUtf8(converted).split(u'\n');
        opencc_convert_utf8_free(converted);
        opencc_close(cc);
        if (simplified.size() != keys.size())
            return out;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            ToneCount& c = out[simplified[i]];
            c.level += traditional[keys[i]].level;
            c.oblique += traditional[keys[i]].oblique;
        }
        return out;
    }();
    return folded;
}

} // namespace testdata
