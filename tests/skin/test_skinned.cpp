#include "skin/core/ui_style.h"
#include "skin/ui/skinned.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

TEST(SkinnedCheckBox, ANewValueRunsTheClickHandlerTheSameValueNothing) {
    QWidget parent;
    TskCheckBox box("box", "", &parent);
    int clicks = 0;
    QObject::connect(&box, &TskCheckBox::onClick, [&] { ++clicks; });
    box.setSkChecked(false);
    EXPECT_EQ(clicks, 0);
    box.setSkChecked(true);
    EXPECT_EQ(clicks, 1);
    box.setSkChecked(true);
    EXPECT_EQ(clicks, 1);
    box.setSkChecked(false);
    EXPECT_EQ(clicks, 2) << "clearing a check box runs its handler too";
    box.click(); // a user click toggles, and the change runs the handler once
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(clicks, 3);
}

TEST(SkinnedRadioButton, BecomingCheckedClearsItsGroupOnTheSameParentThenRunsItsHandler) {
    QWidget strip, elsewhere;
    TskRadioButton a("a", "", &strip), b("b", "", &strip), other("other", "", &strip, 1);
    TskRadioButton stranger("stranger", "", &elsewhere);
    int aClicks = 0, bClicks = 0;
    QObject::connect(&a, &TskRadioButton::onClick, [&] { ++aClicks; });
    QObject::connect(&b, &TskRadioButton::onClick, [&] {
        ++bClicks;
        EXPECT_FALSE(a.isChecked()) << "siblings are cleared before the handler runs";
    });
    a.setSkChecked(true);
    other.setSkChecked(true);
    stranger.setSkChecked(true);
    b.setSkChecked(true);
    EXPECT_FALSE(a.isChecked());
    EXPECT_TRUE(other.isChecked()) << "another group index";
    EXPECT_TRUE(stranger.isChecked()) << "another parent";
    EXPECT_EQ(aClicks, 1) << "being cleared runs nothing";
    EXPECT_EQ(bClicks, 1);

    b.click(); // a click on the checked button does nothing
    EXPECT_TRUE(b.isChecked());
    EXPECT_EQ(bClicks, 1);
    a.click();
    EXPECT_TRUE(a.isChecked());
    EXPECT_FALSE(b.isChecked());
    EXPECT_EQ(aClicks, 2);

    b.setSkChecked(false); // unchecking runs nothing
    EXPECT_EQ(bClicks, 1);
}

TEST(SkinnedControls, NothingRunsWhileTheFormIsBuiltFromItsDesign) {
    QWidget parent;
    TskRadioButton radio("r", "", &parent);
    TskCheckBox box("c", "", &parent);
    int clicks = 0;
    QObject::connect(&radio, &TskRadioButton::onClick, [&] { ++clicks; });
    QObject::connect(&box, &TskCheckBox::onClick, [&] { ++clicks; });
    {
        skin::DesignScope design;
        radio.setSkChecked(true);
        box.setSkChecked(true);
    }
    EXPECT_TRUE(radio.isChecked());
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(clicks, 0);
}

TEST(UIStyle, TableValuesAndResolution) {
    EXPECT_EQ(style::properties().size(), 42u);
    for (size_t i = 0; i < style::properties().size(); ++i)
        EXPECT_EQ(style::properties()[i].number, int(i + 1));
    EXPECT_EQ(style::value(UIStyle::WinXP, u"FormBorderColor"), 0xC82C00);
    EXPECT_EQ(style::value(UIStyle::BlueGlass, u"FormMinWidthInt"), 270);
    EXPECT_EQ(style::value(UIStyle::MacOS, u"TitleBarButtonRightOffsetInt"), -2);
    EXPECT_EQ(style::value(UIStyle::Protein, u"TitleBarButtonTransparentBool"), 1);
    EXPECT_EQ(style::value(UIStyle::FromThemeFile, u"FormBackgroundColor"),
              style::value(UIStyle::DeepBlue, u"FormBackgroundColor"))
        << "without a theme file the file style draws like DeepBlue";
    EXPECT_EQ(style::resolve(UIStyle::FromThemeFile, true), UIStyle::FromThemeFile);
    EXPECT_EQ(style::pictureName(UIStyle::MacOS, u"ButtonImage"), "MACOS_BUTTON");
    EXPECT_EQ(style::pictureName(UIStyle::WinXP, u"ScrollButtonImage"), "WINXP_SCROLLBUTTON");
    EXPECT_EQ(style::pictureName(UIStyle::Protein, u"ScrollButtonImage"), "MORE_SCROLLBUTTON");
    EXPECT_FALSE(style::value(UIStyle::MacOS, u"ButtonImage").has_value());
}
