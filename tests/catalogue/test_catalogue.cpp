// The fixed facts of the three pattern lists: rows, names, counts, labels, file numbers,
// template-file paths and the three records written out in full.

#include "base/core/gbk.h"
#include "catalogue/core/catalogue.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

// Names and stored counts in list order.
const char* const kRows[3] = {
    "忆江南 27;如梦令 33;长相思 36;相见欢 36;点绛唇 41;生查子 40;浣溪沙 42;菩萨蛮 44;"
    "卜算子 44;清平乐 46;西江月 50;浪淘沙 54;虞美人 56;蝶恋花 60;一剪梅 60;青玉案 67;"
    "祝英台近 78;满江红 93;水调歌头 95;满庭芳 95;凤凰台上忆吹箫 95;声声慢 97;双双燕 98;"
    "念奴娇 100;永遇乐 104;沁园春 114;贺新郎 116;摸鱼儿 116",
    "十六字令 16;捣练子 27;忆王孙 31;昭君怨 40;采桑子 44;减字木兰花 44;诉衷情 45;好事近 45;"
    "忆秦娥 46;更漏子 46;阮郎归 47;桃源忆故人 48;贺圣朝 49;醉花阴 52;鹧鸪天 55;南乡子 56;"
    "鹊桥仙 56;玉楼春 56;小重山 58;踏莎行 58;临江仙 60;渔家傲 62;定风波 62;苏幕遮 62;"
    "天仙子 68;江城子 70;千秋岁 71;何满子 74;风入松 76;御街行 78;洞仙歌 83;八声甘州 97;"
    "暗香 97;桂枝香 101;水龙吟 102;雨霖铃 103;望海潮 107;疏影 110",
    "调笑令 32;醉太平 38;谒金门 45;画堂春 46;荆州亭 46;误佳期 46;山花子 48;人月圆 48;"
    "眼儿媚 48;柳梢青 49;惜分飞 50;河传 51;南歌子 52;一斛珠 57;感皇恩 60;锦缠道 66;"
    "解佩令 66;离亭燕 77;蓦山溪 81;潇湘夜雨 91;玉漏迟 94;烛影摇红 96;昼夜乐 98;换巢鸾凤 98;"
    "琐窗寒 99;瑶台聚八仙 99;陌上花 99;解语花 100;东风第一枝 100;庆春泽 100;翠楼吟 101;"
    "齐天乐 102;瑞鹤仙 102;喜迁莺 103;绮罗香 104;南浦 105;薄幸 108;夺锦标 108;过秦楼 110;"
    "春风袅娜 125;多丽 139",
};

} // namespace

TEST(PatternLists, HoldTheirRowsInOrderWithLabelNamesAndStoredCounts) {
    for (int li = 0; li < 3; ++li) {
        const PatternList list = kPatternLists[li];
        const QStringList rows = QString::fromUtf8(kRows[li]).split(u';');
        ASSERT_EQ(rowCount(list), rows.size()) << listCaption(list).toStdString();
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList parts = rows[r].split(u' ');
            const CiPattern* p = pattern(list, r);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->list, list);
            EXPECT_EQ(p->row, r);
            EXPECT_EQ(labelName(*p), parts[0]) << "row " << r + 1;
            EXPECT_EQ(p->charCount, parts[1].toInt()) << parts[0].toStdString();
        }
    }
    EXPECT_EQ(rowCount(PatternList::Common), 28);
    EXPECT_EQ(rowCount(PatternList::General), 38);
    EXPECT_EQ(rowCount(PatternList::Rare), 41);
}

TEST(PatternLists, CaptionsAndDirectories) {
    EXPECT_EQ(listCaption(PatternList::Common), u"常用词谱");
    EXPECT_EQ(listCaption(PatternList::General), u"通用词谱");
    EXPECT_EQ(listCaption(PatternList::Rare), u"冷僻词谱");
    // The general list keeps its files under a name other than its caption.
    EXPECT_EQ(listDirectory(PatternList::General), u"普通词谱");
    EXPECT_EQ(listDirectory(PatternList::Rare), u"冷僻词谱");
}

TEST(PatternLists, RowOutsideTheListYieldsNothing) {
    for (PatternList list : kPatternLists) {
        EXPECT_EQ(pattern(list, -1), nullptr);
        EXPECT_EQ(pattern(list, rowCount(list)), nullptr);
        EXPECT_NE(pattern(list, rowCount(list) - 1), nullptr);
    }
}

TEST(Labels, EveryLabelIsSixteenColumnsWithTheCountFlushRight) {
    int total = 0;
    for (PatternList list : kPatternLists) {
        const QStringList ls = labels(list);
        ASSERT_EQ(ls.size(), rowCount(list));
        for (int r = 0; r < ls.size(); ++r) {
            const CiPattern& p = *pattern(list, r);
            EXPECT_EQ(ls[r], p.label);
            EXPECT_TRUE(p.label.endsWith(QString::number(p.charCount) + u'字'));
            EXPECT_EQ(columnWidth(p.label.chopped(1)), 16) << p.label.toStdString();
            ++total;
        }
    }
    EXPECT_EQ(total, 107);
}

TEST(Labels, LayoutCases) {
    struct Case {
        const char16_t* name;
        int count;
        const char16_t* label;
    } cases[] = {
        {u"忆江南", 27, u"忆江南        27字"},
        {u"念奴娇", 100, u"念奴娇       100字"},
        {u"凤凰台上忆吹箫", 95, u"凤凰台上忆吹箫95字"},
        {u"十六字令", 16, u"十六字令      16字"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(makeLabel(QStringView(c.name), c.count), QStringView(c.label));
}

TEST(Labels, TwoRowsShowANameOtherThanTheCaption) {
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            const bool differs = labelName(p) != p.name;
            const bool expected = list == PatternList::General && (p.row == 27 || p.row == 35);
            EXPECT_EQ(differs, expected) << p.name.toStdString();
        }
    }
    const CiPattern* heManZi = pattern(PatternList::General, 27);
    EXPECT_EQ(heManZi->label, u"何满子        74字");
    EXPECT_EQ(heManZi->name, u"河满子");
    const CiPattern* yuLinLing = pattern(PatternList::General, 35);
    EXPECT_EQ(yuLinLing->label, u"雨霖铃       103字");
    EXPECT_EQ(yuLinLing->name, u"雨淋铃");
}

TEST(FileNumbers, NineRareRowsAreRemappedAndTheRestFollowTheRow) {
    const std::map<int, int> remapped{{30, 37}, {31, 38}, {32, 30}, {33, 31}, {34, 32},
                                      {35, 33}, {36, 34}, {37, 35}, {38, 36}};
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            const int row1 = p.row + 1;
            int expected = row1;
            if (list == PatternList::Rare && remapped.count(row1))
                expected = remapped.at(row1);
            EXPECT_EQ(p.fileNumber, expected) << p.name.toStdString();
        }
    }
}

TEST(FileNumbers, PathsAsTheProgramWritesThem) {
    struct Case {
        PatternList list;
        int row; // 1-based
        const char16_t* path;
    } cases[] = {
        {PatternList::Common, 1, u"data\\常用词谱\\01.txt"},
        {PatternList::Common, 4, u"data\\常用词谱\\04.txt"},
        {PatternList::General, 1, u"data\\普通词谱\\01.txt"},
        {PatternList::General, 28, u"data\\普通词谱\\28.txt"},
        {PatternList::Rare, 2, u"data\\冷僻词谱\\02.txt"},
        {PatternList::Rare, 30, u"data\\冷僻词谱\\37.txt"},
        {PatternList::Rare, 32, u"data\\冷僻词谱\\30.txt"},
        {PatternList::Rare, 41, u"data\\冷僻词谱\\41.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(templateFilePath(*pattern(c.list, c.row - 1)), QStringView(c.path));
}

TEST(FullRecords, ThreeRecordsVerbatim) {
    struct Case {
        PatternList list;
        int row;
        const char16_t* label;
        const char16_t* name;
        const char16_t* templ;
        const char16_t* explanation;
        const char16_t* file;
    } cases[] = {
        {PatternList::Common, 4, u"相见欢        36字", u"相见欢",
         u"◎○◎●○△，●○△，◎●◎○、○●●○△。    ●◎▲，◎○▲，●○△。◎●◎○、○●●○△。",
         u"唐教坊曲名，后用为词牌。又名《秋夜月》、《上西楼》、《乌夜啼》等。双调三十六字，上阕平韵"
         u"，"
         u"下阕两仄韵两平韵，亦有通篇皆押平韵者。",
         u"data\\常用词谱\\04.txt"},
        {PatternList::General, 1, u"十六字令      16字", u"十六字令", u"△，◎●◎○●●△。◎◎●，◎●●○△。",
         u"十六字令，又名《苍梧谣》、《归字谣》，单调十六字，三平韵。", u"data\\普通词谱\\01.txt"},
        {PatternList::General, 4, u"昭君怨        40字", u"昭君怨",
         u"◎●◎○◎▲，◎●◎○◎▲。◎●●○△（换平韵），◎○△。     ◎●◎○◎▲（换仄韵），"
         u"◎●◎○◎▲。◎●●○△（换平韵），◎○△。",
         u"又名《洛妃怨》等。双调四十字，两仄韵两平韵。", u"data\\普通词谱\\04.txt"},
    };
    for (const auto& c : cases) {
        const CiPattern& p = *pattern(c.list, c.row - 1);
        EXPECT_EQ(p.label, QStringView(c.label));
        EXPECT_EQ(p.name, QStringView(c.name));
        EXPECT_EQ(p.templateText, QStringView(c.templ));
        EXPECT_EQ(p.explanation, QStringView(c.explanation));
        EXPECT_EQ(templateFilePath(p), QStringView(c.file));
    }
}

// The long texts are compiled in as UTF-16 arrays with their sizes written beside them;
// a size that disagreed with its array would cut a text short or run into the next one.
TEST(FullRecords, EveryLongTextIsItsWholeArray) {
    auto whole = [](const QString& text, const QString& where) {
        EXPECT_FALSE(text.isEmpty()) << where.toStdString();
        EXPECT_FALSE(text.contains(QChar(0))) << where.toStdString();
        EXPECT_EQ(text.constData()[text.size()], QChar(0)) << where.toStdString();
    };
    for (PatternList list : kPatternLists) {
        for (const CiPattern& p : patterns(list)) {
            whole(p.templateText, p.name + QStringLiteral(" template"));
            whole(p.explanation, p.name + QStringLiteral(" explanation"));
            for (const QString& e : p.examples)
                whole(e, p.name + QStringLiteral(" example"));
        }
    }
    for (const VersePattern& v : versePatterns()) {
        whole(v.templateText, v.label + QStringLiteral(" template"));
        whole(v.explanation, v.label + QStringLiteral(" explanation"));
        for (const QString& e : v.examples)
            whole(e, v.label + QStringLiteral(" example"));
    }
}

TEST(ToneMarks, FiveMarksWithTheirCodesAndLegends) {
    const auto marks = toneMarks();
    ASSERT_EQ(marks.size(), 5u);
    const char16_t symbols[] = u"○●◎△▲";
    const unsigned short codes[] = {0xA1F0, 0xA1F1, 0xA1F2, 0xA1F7, 0xA1F8};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(marks[i].mark, QChar(symbols[i]));
        EXPECT_EQ(marks[i].gbkCode, codes[i]);
        const QByteArray bytes = gbk::encode(QString(marks[i].mark));
        ASSERT_EQ(bytes.size(), 2);
        EXPECT_EQ((static_cast<unsigned char>(bytes[0]) << 8) |
                      static_cast<unsigned char>(bytes[1]),
                  codes[i]);
        EXPECT_EQ(toneMarkOf(marks[i].mark), marks[i].value);
    }
    EXPECT_FALSE(toneMarkOf(u'，').has_value());
    EXPECT_EQ(stripLegend(), u"填词规格  ○平声 ●仄声 ◎可平可仄 △压平韵 ▲压仄韵");
    EXPECT_EQ(columnLegend(), u"○平 ●仄 ◎可平可仄 △平韵 ▲仄韵");
}
