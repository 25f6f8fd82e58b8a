#include "base/core/gbk.h"
#include "rhyme/core/rhyme_book.h"

#include <gtest/gtest.h>

namespace {

const QList<RhymeGroup>& ci() {
    return rhyme::groups(RhymeSystem::CiYun);
}
const QList<RhymeGroup>& xin() {
    return rhyme::groups(RhymeSystem::XinYun);
}
const QList<RhymeGroup>& xd() {
    return rhyme::groups(RhymeSystem::XianDai);
}

} // namespace

TEST(RhymeBooks, CiYunEntriesAreNamedAndLabelledExactlyAsTheListShowsThem) {
    struct Row {
        const char* name;
        const char* finals;
    };
    const Row rows[] = {
        {"第一部 平声：一东二冬通用", "ong"},
        {"第一部 仄声：上声一董二肿 去声一送二宋通用", "ong"},
        {"第二部 平声：三江七阳通用", "ang,iang,uang"},
        {"第二部 仄声：上声三讲二十二养 去声三绛二十三漾通用", "ang,iang,uang"},
        {"第三部 平声：四支五微八齐十灰[半]通用", "i,ei"},
        {"第三部 仄声：上声四纸五尾八荠十贿[半] 去声四(宀真)五未八霁九泰[半]十一队[半]通用",
         "i,ei"},
        {"第四部 平声：六鱼七虞通用", "u,v"},
        {"第四部 仄声：上声六语七虞 去声六御七遇通用", "u,v"},
        {"第五部 平声：九佳(半)十灰(半)通用", "ie"},
        {"第五部 仄声：上声九蟹十贿(半) 去声九泰(半)十卦(半)十一队(半)通用", "ie"},
        {"第六部 平声：十一真十二文十三元(半)通用", "en,un,in"},
        {"第六部 仄声：上声十一轸十二吻十三阮(半) 去声十二震十三问十四愿(半)通用", "en,un,in"},
        {"第七部 平声：十三元(半)十四寒十五删一先通用", "an,ian,uan"},
        {"第七部 仄声：上声十三阮(半)十四旱十五潸十六铣 去声十四愿(半)十五翰十六谏十七霰通用",
         "an,ian,uan"},
        {"第八部 平声：二萧三肴四豪通用", "ao,iao"},
        {"第八部 仄声：上声十七筱十八巧十九皓 去声十八啸十九效二十号通用", "ao,iao"},
        {"第九部 平声：五歌[独用]", "e,uo,o"},
        {"第九部 仄声：上声二十(上加下可) 去声二十一个通用", "e,uo,o"},
        {"第十部 平声：九佳(半)六麻通用", "a,ia,ua"},
        {"第十部 仄声：上声二十一马 去声十卦(半)二十二(礻马)通用", "a,ia,ua"},
        {"第十一部 平声：八庚九青十蒸通用", "eng,ing,"},
        {"第十一部 仄声：上声二十三梗二十四迥 去声二十四敬二十五径通用", "eng,ing"},
        {"第十二部 平声：十一尤[独用]", "ou,iu"},
        {"第十二部 仄声：上声二十五有 去声二十六宥通用", "ou,iu"},
        {"第十三部 平声：十二侵[独用]", "in,en"},
        {"第十三部 仄声：上声二十六寝 去声二十七沁通用", "in,en"},
        {"第十四部 平声：十三覃十四盐十五咸通用", "an,ian,uan"},
        {"第十四部 仄声：上声二十七感二十八俭二十九(豆兼) 去声二十八勘二十九艳三十陷通用",
         "an,ian,uan"},
        {"第十五部 入声：一屋二沃通用", "u"},
        {"第十六部 入声：三觉十药通用", "e,u,ue"},
        {"第十七部 入声：四质十一陌十二锡十三职十四缉通用", "i"},
        {"第十八部 入声：五物六月七曷八黠九屑十六叶通用", "u"},
        {"第十九部 入声：十五合十七洽通用", nullptr},
    };
    ASSERT_EQ(ci().size(), 33);
    for (int i = 0; i < 33; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ci()[i].name, QString::fromUtf8(rows[i].name));
        if (rows[i].finals) {
            EXPECT_EQ(ci()[i].finals, QString::fromUtf8(rows[i].finals));
        }
        const RhymeTone tone = i >= 28 ? RhymeTone::Entering
                               : i % 2 ? RhymeTone::Oblique
                                       : RhymeTone::Level;
        EXPECT_EQ(ci()[i].tone, tone);
    }
    EXPECT_TRUE(rhyme::pairs(RhymeSystem::CiYun).isEmpty());
    EXPECT_FALSE(rhyme::pairOf(RhymeSystem::CiYun, 0));
}

TEST(RhymeBooks, ModernBooksListEachGroupAsALevelThenAnObliqueEntryWithItsSplitName) {
    struct Book {
        RhymeSystem system;
        QStringList groups;
        QStringList finals;
    };
    const Book books[] = {
        {RhymeSystem::XinYun, QStringLiteral("春 夏 秋 冬 江 月 孤 泣 爱 怨 未 了").split(u' '),
         QStringLiteral(
             "en,in,un,vn a,ia,ua ou,iu ong,iong,eng,ing ang,iang,uang e,ie,uo,o,ve u,v i "
             "ai,uai an,ian,uan ei,ui ao,iao")
             .split(u' ')},
        {RhymeSystem::XianDai,
         QStringLiteral(
             "一麻 二波（通歌部） 三歌（通波部） 四皆 五支（通儿、齐部） 六儿（通支、齐部） "
             "七齐（通支、儿部） 八微 九开 十姑（通鱼部） 十一鱼（通姑部） 十二侯 十三豪 十四寒 "
             "十五痕 十六唐 十七庚 十八东")
             .split(u' '),
         QStringLiteral(
             "a ia ua|o uo|e|e ie ue|i|er|i|ei ui|ai uai|u|v|ou iu|ao|an|en in un|ang|eng ing|ong")
             .split(u'|')},
    };
    for (const Book& b : books) {
        const QList<RhymeGroup>& list = rhyme::groups(b.system);
        const QList<RhymePair>& pairs = rhyme::pairs(b.system);
        ASSERT_EQ(list.size(), 2 * b.groups.size());
        ASSERT_EQ(pairs.size(), b.groups.size());
        const bool xinyun = b.system == RhymeSystem::XinYun;
        for (int k = 0; k < b.groups.size(); ++k) {
            SCOPED_TRACE(b.groups[k].toStdString());
            const QString& g = b.groups[k];
            const QString& f = b.finals[k];
            QString level =
                g + (xinyun ? QStringLiteral("（平声）") : QStringLiteral("【平声】")) + f;
            QString oblique =
                g + (xinyun ? QStringLiteral("（仄声）") : QStringLiteral("【仄声】")) + f;
            QString split = g + u' ' + f;
            if (g == u"十八东") {
                // The last group's three names differ from the pattern of the others.
                level = QStringLiteral("十八东（通庚部)【平声】ong");
                oblique = QStringLiteral("十八东【仄声】ong");
                split = QStringLiteral("十八东（通庚部)ong");
            }
            EXPECT_EQ(list[2 * k].name, level);
            EXPECT_EQ(list[2 * k + 1].name, oblique);
            EXPECT_EQ(list[2 * k].tone, RhymeTone::Level);
            EXPECT_EQ(list[2 * k + 1].tone, RhymeTone::Oblique);
            EXPECT_EQ(list[2 * k].finals, f);
            EXPECT_EQ(list[2 * k + 1].finals, f);
            EXPECT_EQ(pairs[k].name, split);
            EXPECT_EQ(pairs[k].level, 2 * k);
            EXPECT_EQ(pairs[k].oblique, 2 * k + 1);
            EXPECT_EQ(rhyme::pairOf(b.system, 2 * k + 1), k);
        }
        EXPECT_FALSE(rhyme::pairOf(b.system, int(list.size())));
    }
}

TEST(RhymeBooks, FixedTextsStandVerbatim) {
    EXPECT_EQ(
        ci()[0].characters,
        QStringLiteral(
            "【一东】东同童僮铜桐峒筒瞳中[中间]衷忠盅虫冲终忡崇嵩[崧]菘戎绒弓躬宫穹融雄熊穷冯风枫疯"
            "丰充隆窿空公功工攻蒙(氵蒙)"
            "朦瞢笼胧栊咙聋珑砻泷蓬篷洪荭红虹鸿丛翁嗡匆葱聪骢通棕烘崆【二冬】"
            "冬咚彤农侬宗淙锺钟龙茏舂松淞冲容榕蓉溶庸佣慵封胸凶匈汹雍邕痈浓脓重[重复]从[服从]"
            "逢缝峰锋"
            "丰蜂烽葑纵[纵横]踪茸蛩邛筇跫供[供给]蚣喁"));
    EXPECT_EQ(xin()[2].characters,
              QStringLiteral(
                  "八巴扒叭吧拔擦嚓叉杈差插喳茶楂察搭嗒答打达瘩鞑发乏伐筏罚阀夹嘎轧瓜刮呱化华花划猾"
                  "滑加佳家嘉夸拉啦妈麻拿趴爬琶掐仨撒杀沙纱刷唰他它她挖娲娃虾瞎匣侠峡暇霞黠压押鸦鸭"
                  "牙芽崖涯杂扎查"));
    EXPECT_EQ(xin()[3].characters,
              QStringLiteral(
                  "把靶坝爸耙罢霸岔侘刹诧咤差打大法尬挂化划华画话贾假价驾架贾假嫁稼垮胯落腊蜡辣马骂"
                  "那娜帕怕卡恰撒傻沙厦煞霎耍刷塔踏瓦袜下吓夏哑雅亚"));
    EXPECT_EQ(xd()[10].characters, QStringLiteral("儿而"));
    EXPECT_EQ(xd()[11].characters, QStringLiteral("尔饵洱珥迩二贰弍"));
    // The split view shows the very texts of the normal view.
    EXPECT_EQ(&xin()[rhyme::pairs(RhymeSystem::XinYun)[1].level], &xin()[2]);
}

TEST(RhymeBooks, EveryTextFitsTheListAndTheCodePage) {
    for (RhymeSystem s : rhyme::systems) {
        for (const RhymeGroup& g : rhyme::groups(s)) {
            SCOPED_TRACE(g.name.toStdString());
            EXPECT_GE(g.characters.size(), 2);
            EXPECT_LE(g.characters.size(), 520);
            EXPECT_FALSE(g.characters.contains(u'\n'));
            // Compiled in with its size beside it: the size must end the array, neither
            // cutting the group short nor running into the next one.
            EXPECT_FALSE(g.characters.contains(QChar(0)));
            EXPECT_EQ(g.characters.constData()[g.characters.size()], QChar(0));
            EXPECT_TRUE(gbk::representable(g.name));
            EXPECT_TRUE(gbk::representable(g.characters));
        }
    }
}

TEST(RhymeItems, MarksAttachToTheCharacterBeforeThem) {
    struct Case {
        const char* text;
        const char* expected; // items as character|mark|examples|heading, joined by blanks
    };
    const Case cases[] = {
        {"【一东】东中[中间]【二冬】冬", "东|||一东 中|[中间]||一东 冬|||二冬"},
        {"蒙(氵蒙)朦", "蒙||| (氵蒙)||| 朦|||"},
        {"【九佳(半)】街", "街|||九佳(半)"},
        {"叉（chǎ）了<未了，了得>", "叉|（chǎ）|| 了||<未了，了得>|"},
        {"a肮b邦扒[bā扒着栏杆]", "肮||| 邦||| 扒|[bā扒着栏杆]||"},
        {"𠀀仄", "𠀀||| 仄|||"},
        {"[孤]东[未闭", "东|[未闭||"}, // a stray mark before any character is dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QStringList got;
        for (const RhymeItem& it : rhyme::items(QString::fromUtf8(c.text)))
            got << it.character + u'|' + it.mark + u'|' + it.examples + u'|' + it.heading;
        EXPECT_EQ(got.join(u' '), QString::fromUtf8(c.expected));
    }
}

TEST(RhymeLookup, FindsEveryEntryHoldingACharacterWithItsReading) {
    const QList<RhymeHit> hits = rhyme::entriesHolding(u"中");
    QStringList got;
    for (const RhymeHit& h : hits)
        got << rhyme::systemName(h.system) + u':' + QString::number(h.entry) + h.item.mark;
    EXPECT_EQ(got, QStringList(
                       {QStringLiteral("词韵简编:0[中间]"), QStringLiteral("词韵简编:1[射中]"),
                        QStringLiteral("新韵简观:6"), QStringLiteral("新韵简观:7（zhòng）"),
                        QStringLiteral("现代诗韵:34"), QStringLiteral("现代诗韵:35[zhòng中意]")}));

    // A character listed twice in one entry under two rhymes gives two hits.
    int chong = 0;
    for (const RhymeHit& h : rhyme::entriesHolding(u"冲"))
        chong += h.system == RhymeSystem::CiYun && h.entry == 0;
    EXPECT_EQ(chong, 2);

    // Marks and headings are not characters of an entry.
    EXPECT_TRUE(rhyme::entriesHolding(u"【").isEmpty());
    for (const RhymeHit& h : rhyme::entriesHolding(u"间")) // 中[中间] in the first entry
        EXPECT_FALSE(h.system == RhymeSystem::CiYun && h.entry == 0);
    EXPECT_TRUE(rhyme::entriesHolding(u"").isEmpty());
}

TEST(RhymeLookup, BooksAndEntriesByName) {
    EXPECT_EQ(rhyme::systemNamed(u"现代诗韵"), RhymeSystem::XianDai);
    EXPECT_FALSE(rhyme::systemNamed(u"词韵"));
    EXPECT_EQ(rhyme::entryNamed(RhymeSystem::CiYun, u"第十一部 平声：八庚九青十蒸通用"), 20);
    EXPECT_FALSE(rhyme::entryNamed(RhymeSystem::CiYun, u"第十一部 平声：八庚九青十蒸通用 "));
}
