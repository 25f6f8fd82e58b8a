#pragma once
// What the search corpus records about a poem besides its words: the collection it comes
// from, its dynasty and its form, with their Chinese names.

#include <QString>
#include <cstdint>
#include <optional>

namespace search {

enum class Collection : std::uint8_t {
    QuanTangShi, // 全唐诗
    QuanSongShi, // 全宋诗
    QuanSongCi,  // 全宋词
    HuaJianJi,   // 花间集
    NanTang,     // 南唐二主词
    ShiJing,     // 诗经
    ChuCi,       // 楚辞
    YuanQu,      // 元曲
    NaLan,       // 纳兰性德诗集
};
constexpr int kCollectionCount = 9;

enum class Dynasty : std::uint8_t { PreQin, Han, Tang, FiveDynasties, Song, Yuan, Qing };
constexpr int kDynastyCount = 7;

enum class Form : std::uint8_t {
    Other,   // 古体 and every poem of no regular shape
    WuJue,   // 五绝
    QiJue,   // 七绝
    WuLu,    // 五律
    QiLu,    // 七律
    PaiLu,   // 排律
    Ci,      // 词
    Qu,      // 曲
    ShiJing, // 诗经
    SaoTi,   // 骚体
};
constexpr int kFormCount = 10;

// The lists a reader knows a poem from; a poem may be in several.
enum Anthology : std::uint8_t {
    TangShi300 = 1, // 唐诗三百首
    QianJiaShi = 2, // 千家诗
    SongCi300 = 4,  // 宋词三百首
    ModelPoem = 8,  // a model poem of the pattern catalogue
};

QString collectionName(Collection c);
QString dynastyName(Dynasty d);
QString formName(Form f);
std::optional<Dynasty> dynastyNamed(const QString& name);
std::optional<Form> formNamed(const QString& name);

// The form of a shi from its clauses' lengths in characters (五绝 for four of five, …);
// Other when they follow no regulated shape.
Form verseForm(const QList<int>& clauseLengths);

} // namespace search
