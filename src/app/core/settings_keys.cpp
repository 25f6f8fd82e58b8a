#include "app/core/settings_keys.h"

#include "favourites/core/favourite_keys.h"
#include "workspace/core/lock_keys.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace settings {

namespace {

// The 15 panes and lists that show patterns, examples and favourites.
const QStringList kDisplay = {u"skMemo1"_s,    u"skMmemo1"_s,    u"skMmemo3"_s,   u"skMemo2"_s,
                              u"skMemo3"_s,    u"Memo6"_s,       u"Memo2"_s,      u"Memo3"_s,
                              u"Memo4"_s,      u"Memo5"_s,       u"skListBox1"_s, u"skListBox2"_s,
                              u"skListBox3"_s, u"skListBox33"_s, u"skListBox4"_s};
// The rhyme master pane and the two panes of the split view.
const QStringList kRhymePanes = {u"skMemo5"_s, u"Memo7"_s, u"Memo8"_s};

const std::vector<Key>& table() {
    static const std::vector<Key> keys = {
        {"Font", "font6", Type::String, 0, Holds::FontName, {u"skMemo1"_s}},
        {"Font", "font7", Type::String, 0, Holds::FontName, {u"skMmemo1"_s}},
        {"Font", "font8", Type::String, 0, Holds::FontName, {u"skMmemo3"_s}},
        {"Font", "font9", Type::String, 0, Holds::FontName, {u"skMemo2"_s}},
        {"Font", "font10", Type::String, 0, Holds::FontName, {u"skMemo3"_s}},
        {"Font", "font11", Type::String, 0, Holds::FontName, {u"skMemo5"_s}},
        {"Font", "font12", Type::String, 0, Holds::FontName, {u"Memo6"_s}},
        {"Font", "font13", Type::String, 0, Holds::FontName, {u"Memo2"_s}},
        {"Font", "font14", Type::String, 0, Holds::FontName, {u"Memo3"_s}},
        {"Font", "font15", Type::String, 0, Holds::FontName, {u"Memo4"_s}},
        {"Font", "font16", Type::String, 0, Holds::FontName, {u"Memo5"_s}},
        {"Font", "font17", Type::String, 0, Holds::FontName, {u"skListBox1"_s}},
        {"Font", "font18", Type::String, 0, Holds::FontName, {u"skListBox2"_s}},
        {"Font", "font19", Type::String, 0, Holds::FontName, {u"skListBox3"_s}},
        {"Font", "font20", Type::String, 0, Holds::FontName, {u"skListBox33"_s}},
        {"Font", "font21", Type::String, 0, Holds::FontName, {u"skListBox4"_s}},
        {"Font", "font22", Type::String, 0, Holds::FontName, {u"Memo6"_s}},
        {"Font", "font23", Type::String, 0, Holds::FontName, {u"Memo7"_s}},
        {"Font", "font24", Type::String, 0, Holds::FontName, {u"Memo8"_s}},
        {"Font", "font25", Type::String, 0, Holds::FontName, {u"ListBox1"_s}},
        {"Font", "font26", Type::String, 0, Holds::FontName, {u"ListBox3"_s}},
        {"Font", "font27", Type::String, 0, Holds::FontName, {u"Memo9"_s}},
        {"font", "sizef", Type::Integer, 10, Holds::FontSize, {u"Memo9"_s}, {}, false},
        {"font", "size1", Type::Integer, 10, Holds::FontSize,
         kDisplay + QStringList{u"ListBox1"_s, u"ListBox3"_s}, u"skMemo1"_s},
        {"font", "size2", Type::Integer, 10, Holds::FontSize, kRhymePanes, u"skMemo5"_s},
        {"font", "color1", Type::Integer, 0, Holds::FontColor,
         kDisplay + QStringList{u"ListBox1"_s, u"ListBox3"_s, u"Memo9"_s}, u"skListBox4"_s},
        {"font", "color2", Type::Integer, 0, Holds::FontColor, kRhymePanes, u"skMemo5"_s},
        {"font", "backdropa", Type::Integer, kWindowColour, Holds::Background, {u"skm1"_s}},
        {"font", "backdropb", Type::Integer, kWindowColour, Holds::Background, {u"skm2"_s}},
        {"font", "backdropc", Type::Integer, kWindowColour, Holds::Background, {u"skm3"_s}},
        {"font", "backdropd", Type::Integer, kWindowColour, Holds::Background, {u"skm4"_s}},
        {"font", "backdrope", Type::Integer, kWindowColour, Holds::Background, {u"skm5"_s}},
        {"font", "backdrop1", Type::Integer, kWindowColour, Holds::Background, kDisplay,
         u"skListBox1"_s},
        {"font", "backdrop2", Type::Integer, kWindowColour, Holds::Background, kRhymePanes,
         u"skMemo5"_s},
        {"Temp", "list1", Type::Integer, 0, Holds::ItemIndex, {u"skListBox1"_s}},
        {"Temp", "list2", Type::Integer, 0, Holds::ItemIndex, {u"skListBox2"_s}},
        {"Temp", "list3", Type::Integer, 0, Holds::ItemIndex, {u"skListBox3"_s}},
        {"Temp", "list5", Type::Integer, 0, Holds::ItemIndex, {u"skListBox33"_s}},
        {"Temp", "list4", Type::Integer, 0, Holds::ItemIndex, {u"skListBox4"_s}},
        {"Temp", "list8", Type::Integer, 0, Holds::ItemIndex, {u"ListBox3"_s}},
        {"Temp", "list7", Type::Integer, 0, Holds::ItemIndex, {u"ListBox1"_s}},
        {"Temp", "list6", Type::Integer, 0, Holds::TabIndex, {u"skTabControl1"_s}},
        {"Temp", "combo1", Type::Integer, 0, Holds::ItemIndex, {u"skdbComboBox1"_s}},
        {"Temp", "combo2", Type::Integer, 0, Holds::ItemIndex, {u"skdbComboBox2"_s}},
        {"Temp", "combo3", Type::Integer, 0, Holds::ItemIndex, {u"skdbComboBox3"_s}},
        {"Temp", "combo4", Type::Integer, 0, Holds::ItemIndex, {u"ComboBox2"_s}},
        {"Temp", "combo5", Type::Integer, 0, Holds::ItemIndex, {u"ComboBox3"_s}},
        {"temp", "visible1", Type::Boolean, 1, Holds::Visible, {u"skdbComboBox1"_s}},
        {"temp", "visible2", Type::Boolean, 0, Holds::Visible, {u"skdbComboBox2"_s}},
        {"temp", "visible3", Type::Boolean, 0, Holds::Visible, {u"skdbComboBox3"_s}},
        {"Temp", "visible4", Type::Boolean, 1, Holds::Visible, {u"Panel1"_s}},
        {"Temp", "visible5", Type::Boolean, 0, Holds::Visible, {u"Panel3"_s}},
        {"Temp", "visible6", Type::Boolean, 1, Holds::CentrePane, {u"skPanel6"_s}},
        {"Temp", "visible7", Type::Boolean, 0, Holds::CentrePane, {u"skPanel8"_s}},
        {"Temp", "visible8", Type::Boolean, 1, Holds::CentrePane, {u"skMemo3"_s}},
        {"Temp", "visible9", Type::Boolean, 0, Holds::CentrePane, {u"skMmemo3"_s}},
        {"Temp", "visible10", Type::Boolean, 1, Holds::Visible, {u"skMemo1"_s}},
        {"Temp", "visible11", Type::Boolean, 0, Holds::Visible, {u"skMemo2"_s}},
        {"Temp", "visible12", Type::Boolean, 0, Holds::Visible, {u"Memo2"_s}},
        {"Temp", "visible13", Type::Boolean, 0, Holds::Visible, {u"Memo3"_s}},
        {"Temp", "visible14", Type::Boolean, 0, Holds::Visible, {u"Memo4"_s}},
        {"Temp", "visible15", Type::Boolean, 0, Holds::Visible, {u"Memo5"_s}},
        {"Temp", "visible16", Type::Boolean, 0, Holds::Visible, {u"skPanel11"_s}},
        {"Temp", "visible17", Type::Boolean, 1, Holds::Visible, {u"skPanel7"_s}},
        {"Temp", "visible18", Type::Boolean, 1, Holds::Visible, {u"skm1"_s}},
        {"Temp", "visible19", Type::Boolean, 0, Holds::Visible, {u"skm2"_s}},
        {"Temp", "visible20", Type::Boolean, 0, Holds::Visible, {u"skm3"_s}},
        {"Temp", "visible21", Type::Boolean, 0, Holds::Visible, {u"skm4"_s}},
        {"Temp", "visible22", Type::Boolean, 0, Holds::Visible, {u"skm5"_s}},
        {"Temp", "visible23", Type::Boolean, 0, Holds::Visible, {u"skPanel12"_s}},
        {"Temp", "visible24", Type::Boolean, 0, Holds::Visible, {u"skPanel13"_s}},
        {"Temp", "visible25", Type::Boolean, 0, Holds::Visible, {u"Panel4"_s}},
        {"Temp", "visible26", Type::Boolean, 1, Holds::Visible, {u"Panel6"_s}},
        {"Temp", "visible27", Type::Boolean, 1, Holds::Visible, {u"skPanel14"_s}},
        {"Temp", "enabled1", Type::Boolean, 0, Holds::Enabled, {u"s10"_s}},
        {"Temp", "enabled2", Type::Boolean, 1, Holds::Enabled, {u"s11"_s}},
        {"Temp", "enabled3", Type::Boolean, 1, Holds::Enabled, {u"s12"_s}},
        {"Temp", "enabled4", Type::Boolean, 1, Holds::Enabled, {u"s13"_s}},
        {"Temp", "enabled5", Type::Boolean, 1, Holds::Enabled, {u"s14"_s}},
        {"Temp", "enabled6", Type::Boolean, 1, Holds::Enabled, {u"s15"_s}},
        {"Temp", "caption1", Type::String, 0, Holds::Caption, {u"Panel5"_s}},
        {"Temp", "caption2", Type::String, 0, Holds::Caption, {u"skPanel6"_s}},
        {"Temp", "caption3", Type::String, 0, Holds::Caption, {u"skPanel8"_s}},
        {"Temp", "caption4", Type::String, 0, Holds::Caption, {u"p4"_s}},
        {"temp", "text1", Type::String, 0, Holds::Text, {u"skMemo1"_s}},
        {"temp", "text2", Type::String, 0, Holds::Text, {u"skMemo2"_s}},
        {"temp", "text3", Type::String, 0, Holds::Text, {u"skMemo3"_s}},
        {"temp", "text4", Type::String, 0, Holds::Text, {u"skMemo5"_s}},
        {"temp", "text5", Type::String, 0, Holds::Text, {u"skMmemo1"_s}},
        {"temp", "text6", Type::String, 0, Holds::Text, {u"skMmemo3"_s}},
        {"temp", "text7", Type::String, 0, Holds::Text, {u"Memo2"_s}},
        {"temp", "text8", Type::String, 0, Holds::Text, {u"Memo3"_s}},
        {"temp", "text9", Type::String, 0, Holds::Text, {u"Memo4"_s}},
        {"temp", "text10", Type::String, 0, Holds::Text, {u"Memo5"_s}},
        {"temp", "text11", Type::String, 0, Holds::Text, {u"Memo7"_s}},
        {"temp", "text12", Type::String, 0, Holds::Text, {u"Memo8"_s}},
        {"temp", "text13", Type::String, 0, Holds::Caption, {u"skPanel15"_s}},
        {"temp", "height", Type::Integer, 589, Holds::Height, {u"Form1"_s}},
        {"temp", "width", Type::Integer, 796, Holds::Width, {u"Form1"_s}},
        {"temp",
         "write",
         Type::Boolean,
         0,
         Holds::Protection,
         {u"skm1"_s, u"skm2"_s, u"skm3"_s, u"skm4"_s, u"skm5"_s, u"P7"_s}},
        {"temp", "checked1", Type::Boolean, 1, Holds::Checked, {u"C2"_s}},
        {"temp", "checked2", Type::Boolean, 0, Holds::Checked, {u"M1"_s}},
        {"temp", "checked3", Type::Boolean, 0, Holds::Checked, {u"P6"_s}},
        {"temp", "checked4", Type::Boolean, 1, Holds::Checked, {u"N4"_s}},
        {"temp", "checked5", Type::Boolean, 0, Holds::Checked, {u"N5"_s}},
        {"temp", "checked6", Type::Boolean, 0, Holds::Checked, {u"G2"_s}},
        {"temp", "checked7", Type::Boolean, 0, Holds::Checked, {u"L2"_s}},
        {"temp", "checked8", Type::Boolean, 0, Holds::Checked, {u"M2"_s}},
        {"temp", "checked9", Type::Boolean, 0, Holds::Checked, {u"S5"_s}},
        {"temp", "checked10", Type::Boolean, 1, Holds::Checked, {u"A5"_s}},
        {"temp", "checked11", Type::Boolean, 1, Holds::Checked, {u"MACOS2"_s}},
        {"temp", "checked12", Type::Boolean, 0, Holds::Checked, {u"WindowsXP2"_s}},
        {"temp", "checked13", Type::Boolean, 0, Holds::Checked, {u"BLUEGLASS1"_s}},
        {"temp", "checked14", Type::Boolean, 0, Holds::Checked, {u"DeepBlue1"_s}},
        {"temp", "checked15", Type::Boolean, 0, Holds::Checked, {u"Protein1"_s}},
        {"temp", "checked16", Type::Boolean, 1, Holds::Checked, {u"skRadioButton1"_s}},
        {"temp", "checked17", Type::Boolean, 0, Holds::Checked, {u"skRadioButton2"_s}},
        {"temp", "checked18", Type::Boolean, 0, Holds::Checked, {u"skRadioButton3"_s}},
        {"temp", "checked19", Type::Boolean, 0, Holds::Checked, {u"skRadioButton4"_s}},
        {"temp", "checked20", Type::Boolean, 0, Holds::Checked, {u"skRadioButton5"_s}},
        {"temp", "checked21", Type::Boolean, 0, Holds::Checked, {u"skRadioButton6"_s}},
        {"temp", "checked22", Type::Boolean, 1, Holds::Checked, {u"skRadioButton7"_s}},
        {"temp", "checked23", Type::Boolean, 1, Holds::Checked, {u"skR1"_s}},
        {"temp", "checked24", Type::Boolean, 0, Holds::Checked, {u"skR2"_s}},
        {"temp", "checked25", Type::Boolean, 0, Holds::Checked, {u"skR3"_s}},
        {"temp", "checked26", Type::Boolean, 1, Holds::Checked, {u"S2"_s}},
        {"temp", "checked27", Type::Boolean, 0, Holds::Checked, {u"D1"_s}},
        {"temp", "checked28", Type::Boolean, 1, Holds::Checked, {u"M3"_s}},
        {"temp", "checked29", Type::Boolean, 0, Holds::Checked, {u"M4"_s}},
        {"temp", "checked30", Type::Boolean, 0, Holds::Checked, {u"H1"_s}},
        {"temp", "checked31", Type::Boolean, 0, Holds::Checked, {u"skCheckBox2"_s}},
        {"temp", "checked32", Type::Boolean, 0, Holds::Checked, {u"skRadioButton8"_s}},
        {"temp", "stayon1", Type::Boolean, 1, Holds::Pinned, {u"skSideChannel1"_s}},
        {"temp", "stayon2", Type::Boolean, 1, Holds::Pinned, {u"skSideChannel2"_s}},
        // The check pane (格律检查) and the rhyme standard it checks by, in their own
        // section after all the others.
        {"check", "visible", Type::Boolean, 0, Holds::Visible, {u"checkPane"_s}},
        {"check", "standard", Type::Integer, 0, Holds::ItemIndex, {u"checkStandard"_s}},
    };
    return keys;
}

} // namespace

std::span<const Key> mainWindowKeys() {
    return table();
}

std::span<const OtherKey> otherKeys() {
    static const OtherKey keys[] = {
        {kGuideSection, kGuideVisible, "the start-up notice"},
        {kThemeFileSection, kThemeFileKey, "the appearance commands"},
        {lock::kSection, lock::kPasswordKey, "the password windows"},
        {lock::kSection, lock::kMarkerKey, "the password prompt and start-up"},
        {favourites::kTitleSection, "1, 2, …", "the favourites"},
        {favourites::kPoemSection, "1, 2, …", "the favourites"},
        {favourites::kPatternSection, "1, 2, …", "the favourites"},
    };
    return keys;
}

} // namespace settings
