#pragma once
// Five poems as the dataset has them (two Tang shi in traditional characters), built into
// a search corpus in memory; and the same poems many times over, for a corpus of many
// blocks.

#include "search/core/index_builder.h"
#include "search/core/search_index.h"

#include <memory>

namespace search_fixture {

// A poem's id is its rank: the anthologies' poems first, then by the poet's fame.
enum PoemId { ChunXiao, DengGuanQue, PuSaMan, XingGong, YingTianChang };

inline std::vector<search::PoemInput> poems() {
    using namespace search;
    std::vector<PoemInput> b;
    b.push_back({.collection = Collection::QuanTangShi,
                 .dynasty = Dynasty::Tang,
                 .form = Form::WuJue,
                 .poet = QStringLiteral("王之涣"),
                 .title = QStringLiteral("登鹳雀楼"),
                 .text = QStringLiteral("白日依山盡，黃河入海流。\n欲窮千里目，更上一層樓。"),
                 .simplified = QStringLiteral("白日依山尽，黄河入海流。\n欲穷千里目，更上一层楼。"),
                 .poetFame = 100,
                 .anthologies = TangShi300});
    b.push_back({.collection = Collection::QuanTangShi,
                 .dynasty = Dynasty::Tang,
                 .form = Form::WuJue,
                 .poet = QStringLiteral("孟浩然"),
                 .title = QStringLiteral("春晓"),
                 .text = QStringLiteral("春眠不覺曉，處處聞啼鳥。\n夜來風雨聲，花落知多少。"),
                 .simplified = QStringLiteral("春眠不觉晓，处处闻啼鸟。\n夜来风雨声，花落知多少。"),
                 .poetFame = 200,
                 .anthologies = QianJiaShi,
                 .sourceIndex = 1});
    b.push_back({.collection = Collection::QuanTangShi,
                 .dynasty = Dynasty::Tang,
                 .form = Form::WuJue,
                 .poet = QStringLiteral("元稹"),
                 .title = QStringLiteral("行宫"),
                 .text = QStringLiteral("寥落古行宮，宮花寂寞紅。\n白頭宮女在，閒坐說玄宗。"),
                 .simplified = QStringLiteral("寥落古行宫，宫花寂寞红。\n白头宫女在，闲坐说玄宗。"),
                 .poetFame = 50,
                 .sourceIndex = 2});
    b.push_back(
        {.collection = Collection::HuaJianJi,
         .dynasty = Dynasty::FiveDynasties,
         .form = Form::Ci,
         .poet = QStringLiteral("温庭筠"),
         .title = QStringLiteral("菩萨蛮 其一"),
         .tune = QStringLiteral("菩萨蛮"),
         .text = QStringLiteral("小山重叠金明灭，鬓云欲度香腮雪。\n懒起画蛾眉，弄妆梳洗迟。\n"
                                "照花前后镜，花面交相映。\n新帖绣罗襦，双双金鹧鸪。"),
         .simplified = QStringLiteral("小山重叠金明灭，鬓云欲度香腮雪。\n懒起画蛾眉，弄妆梳洗迟。\n"
                                      "照花前后镜，花面交相映。\n新帖绣罗襦，双双金鹧鸪。"),
         .poetFame = 80});
    b.push_back({.collection = Collection::NanTang,
                 .dynasty = Dynasty::FiveDynasties,
                 .form = Form::Ci,
                 .poet = QStringLiteral("李璟"),
                 .title = QStringLiteral("应天长·一钩初月临妆镜"),
                 .tune = QStringLiteral("应天长"),
                 .text = QStringLiteral(
                     "一钩初月临妆镜，蝉鬓凤钗慵不整。\n重帘静，层楼迥，惆怅落花风不定。\n"
                     "柳堤芳草径，梦断辘轳金井。\n昨夜更阑酒醒，春愁过却病。"),
                 .simplified = QStringLiteral(
                     "一钩初月临妆镜，蝉鬓凤钗慵不整。\n重帘静，层楼迥，惆怅落花风不定。\n"
                     "柳堤芳草径，梦断辘轳金井。\n昨夜更阑酒醒，春愁过却病。"),
                 .poetFame = 10});
    return b;
}

inline QByteArray bytes() {
    search::IndexBuilder b;
    for (const search::PoemInput& p : poems())
        b.add(p);
    return b.build();
}

// The five poems `copies` times over.
inline QByteArray repeated(int copies) {
    search::IndexBuilder b;
    for (int i = 0; i < copies; ++i) {
        for (const search::PoemInput& p : poems())
            b.add(p);
    }
    return b.build();
}

inline std::unique_ptr<search::Index> index() {
    QString error;
    return search::Index::fromBytes(bytes(), &error);
}

} // namespace search_fixture
