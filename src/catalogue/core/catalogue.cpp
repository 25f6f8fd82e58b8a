#include "catalogue/core/catalogue.h"

#include "catalogue/core/catalogue_data.h"

#include <vector>

namespace catalogue {

namespace {

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

const std::array<ToneMarkInfo, 5>& markTable() {
    static const std::array<ToneMarkInfo, 5> table{{
        {ToneMark::Level, QChar(0x25CB), 0xA1F0, QStringLiteral("平声"), QStringLiteral("平声"),
         QStringLiteral("平")},
        {ToneMark::Oblique, QChar(0x25CF), 0xA1F1, QStringLiteral("仄声"), QStringLiteral("仄声"),
         QStringLiteral("仄")},
        {ToneMark::Either, QChar(0x25CE), 0xA1F2, QStringLiteral("可平可仄"),
         QStringLiteral("可平可仄"), QStringLiteral("可平可仄")},
        {ToneMark::LevelRhyme, QChar(0x25B3), 0xA1F7, QStringLiteral("平声，压平韵的韵脚"),
         QStringLiteral("压平韵"), QStringLiteral("平韵")},
        {ToneMark::ObliqueRhyme, QChar(0x25B2), 0xA1F8, QStringLiteral("仄声，压仄韵的韵脚"),
         QStringLiteral("压仄韵"), QStringLiteral("仄韵")},
    }};
    return table;
}

struct Tables {
    std::array<std::vector<CiPattern>, 3> lists;
    std::vector<VersePattern> verses;
    std::vector<SearchKeyRow> searchRows;
};

std::array<QString, 5> examplesOf(const CompiledText (&raw)[5]) {
    std::array<QString, 5> out;
    for (int i = 0; i < 5; ++i)
        out[i] = wrap(raw[i]);
    return out;
}

// Built once from the generated raw arrays, on first use, and read only afterwards. Not
// const: Qt gives a wrapped text a copy of its own when asked for its buffer by utf16().
const Tables& tables() {
    static Tables t = [] {
        Tables built;
        for (int i = 0; i < data::kPatternCount; ++i) {
            const auto& r = data::kPatterns[i];
            auto& rows = built.lists[r.list];
            CiPattern p{static_cast<PatternList>(r.list),
                        static_cast<int>(rows.size()),
                        makeLabel(utf8(r.labelName), r.charCount),
                        utf8(r.name),
                        r.charCount,
                        wrap(r.templateText),
                        wrap(r.explanation),
                        examplesOf(r.examples),
                        r.fileNumber};
            rows.push_back(std::move(p));
        }
        for (int i = 0; i < data::kVerseCount; ++i) {
            const auto& r = data::kVerses[i];
            built.verses.push_back({i, utf8(r.label), utf8(r.name), wrap(r.templateText),
                                    wrap(r.explanation), examplesOf(r.examples), i + 1});
        }
        for (int i = 0; i < data::kSearchRowCount; ++i) {
            const auto& r = data::kSearchRows[i];
            built.searchRows.push_back({utf8(r.keys).split(u'、'), utf8(r.target)});
        }
        return built;
    }();
    return t;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

std::span<const ToneMarkInfo> toneMarks() {
    return markTable();
}

std::optional<ToneMark> toneMarkOf(QChar c) {
    for (const auto& m : markTable()) {
        if (m.mark == c)
            return m.value;
    }
    return std::nullopt;
}

QString stripLegend() {
    QString s = QStringLiteral("填词规格 ");
    for (const auto& m : markTable())
        s += u' ' + QString(m.mark) + m.stripLegend;
    return s;
}

QString columnLegend() {
    QStringList parts;
    for (const auto& m : markTable())
        parts << QString(m.mark) + m.columnLegend;
    return parts.join(u' ');
}

QString listCaption(PatternList list) {
    switch (list) {
    case PatternList::Common:
        return QStringLiteral("常用词谱");
    case PatternList::General:
        return QStringLiteral("通用词谱");
    case PatternList::Rare:
        return QStringLiteral("冷僻词谱");
    }
    return {};
}

QString listDirectory(PatternList list) {
    // The general list keeps its files under a name other than its caption.
    if (list == PatternList::General)
        return QStringLiteral("普通词谱");
    return listCaption(list);
}

int rowCount(PatternList list) {
    return static_cast<int>(patterns(list).size());
}

std::span<const CiPattern> patterns(PatternList list) {
    return tables().lists[static_cast<int>(list)];
}

const CiPattern* pattern(PatternList list, int row) {
    auto rows = patterns(list);
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return nullptr;
    return &rows[row];
}

QStringList labels(PatternList list) {
    QStringList out;
    for (const auto& p : patterns(list))
        out << p.label;
    return out;
}

QString labelName(const CiPattern& p) {
    // The label is the name, padding spaces, the count and 字.
    const qsizetype tail = QString::number(p.charCount).size() + 1;
    return p.label.left(p.label.size() - tail).trimmed();
}

QString templateFilePath(const CiPattern& p) {
    return QStringLiteral("data\\") + listDirectory(p.list) + u'\\' + twoDigits(p.fileNumber) +
           QStringLiteral(".txt");
}

int columnWidth(QStringView text) {
    int w = 0;
    for (QChar c : text)
        w += c.unicode() < 0x80 ? 1 : 2;
    return w;
}

QString makeLabel(QStringView name, int count) {
    const QString digits = QString::number(count);
    const int spaces = 16 - columnWidth(name) - static_cast<int>(digits.size());
    return name.toString() + QString(std::max(spaces, 0), u' ') + digits + u'字';
}

std::span<const VersePattern> versePatterns() {
    return tables().verses;
}

const VersePattern* versePattern(int row) {
    auto rows = versePatterns();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return nullptr;
    return &rows[row];
}

QString templateFilePath(const VersePattern& p) {
    return QStringLiteral("data\\") + QString::fromUtf8(kVerseDirectory) + u'\\' +
           twoDigits(p.fileNumber) + QStringLiteral(".txt");
}

SearchKeyTable searchKeyTable() {
    return tables().searchRows;
}

const CiPattern* patternByName(QStringView name) {
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            if (p.name == name)
                return &p;
        }
    }
    return nullptr;
}

const CiPattern* patternByNameOrLabel(QStringView name) {
    if (const CiPattern* p = patternByName(name))
        return p;
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            if (labelName(p) == name)
                return &p;
        }
    }
    return nullptr;
}

const CiPattern* findPattern(QStringView text) {
    for (const auto& row : searchKeyTable()) {
        for (const auto& key : row.keys) {
            if (key == text)
                return patternByName(row.target);
        }
    }
    return nullptr;
}

} // namespace catalogue
