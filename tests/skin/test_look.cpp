#include "skin/core/theme_file.h"
#include "skin/ui/look.h"
#include "skin/ui/theme_manager.h"

#include "skin/ui/title_bar.h"
#include "support/app_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const UIStyle kEveryStyle[] = {UIStyle::WinXP,     UIStyle::DeepBlue, UIStyle::Protein,
                               UIStyle::BlueGlass, UIStyle::MacOS,    UIStyle::FromThemeFile};

} // namespace

TEST(StyleLayers, TheUsersFontsAndColoursSurviveEveryStyleChange) {
    QWidget window;
    TskForm frame("skForm1", &window);
    auto* memo = new QPlainTextEdit(&window);
    auto* notice = new QPlainTextEdit(&window);
    auto* label = new QLabel(&window);
    QFont big(QStringLiteral("Serif"));
    big.setPointSize(17);
    memo->setFont(big);
    skin::setFontColour(memo, 0x0000FF); // red
    skin::setBackground(memo, 0x00FFFF); // yellow
    skin::setRole(notice, skin::Role::Notice);
    skin::setFontColour(notice, 0xFF0000); // the user's blue over the notice's red

    for (UIStyle s : kEveryStyle) {
        frame.setUIStyle(s);
        SCOPED_TRACE(int(s));
        EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(255, 255, 0));
        EXPECT_EQ(memo->font().pointSize(), 17);
        EXPECT_EQ(notice->palette().color(QPalette::Text), QColor(0, 0, 255));
        EXPECT_EQ(notice->palette().color(QPalette::Base), QColor(0xF3, 0xF3, 0xF3))
            << "the role's background stays under the user's font colour";
        EXPECT_EQ(label->palette().color(QPalette::Window), frame.look().formBackground)
            << "a control without colours of its own follows the style";
        EXPECT_EQ(memo->palette().color(QPalette::Window), frame.look().formBackground);
    }
    EXPECT_EQ(skin::fontColour(memo), 0x0000FF);
    EXPECT_EQ(skin::background(memo), 0x00FFFF);
}

TEST(StyleLayers, ControlsAndPopUpsDrawFromTheirWindowsLook) {
    QWidget window, frameless;
    TskForm frame("skForm1", &window, UIStyle::WinXP);
    auto* inside = new QWidget(&window);
    auto* popup = new QWidget(inside, Qt::Popup);
    EXPECT_EQ(skin::lookFor(inside).style, UIStyle::WinXP);
    EXPECT_EQ(skin::lookFor(popup).style, UIStyle::WinXP) << "a menu opens from the window";
    EXPECT_EQ(skin::lookFor(&frameless).style, UIStyle::MacOS) << "the design style";
    frame.setUIStyle(UIStyle::FromThemeFile);
    EXPECT_EQ(skin::lookFor(inside).formBackground,
              skin::Look::make(UIStyle::DeepBlue).formBackground)
        << "the file style without a theme draws like DeepBlue";
}

TEST(ThemeManager, AppliesToListedComponentsAndReportsOnlyARealChange) {
    QWidget form;
    auto* frame = new TskForm("skForm1", &form);
    auto* other = new TskForm("skForm2", &form);
    TskThemeManager manager("skThemeManager1", &form);
    manager.setCompList({"skForm1", "notThere"});
    QSignalSpy changed(&manager, &TskThemeManager::OnUIStyleChanged);
    EXPECT_EQ(manager.uiStyle(), UIStyle::DeepBlue);

    manager.setUIStyle(UIStyle::Protein);
    EXPECT_EQ(frame->uiStyle(), UIStyle::Protein);
    EXPECT_EQ(other->uiStyle(), UIStyle::MacOS) << "not listed";
    EXPECT_EQ(changed.count(), 1);

    frame->setUIStyle(UIStyle::WinXP); // changed behind the manager's back
    manager.setUIStyle(UIStyle::Protein);
    EXPECT_EQ(frame->uiStyle(), UIStyle::Protein) << "the same style is applied again";
    EXPECT_EQ(changed.count(), 1) << "but reports no change";

    delete frame;
    EXPECT_EQ(manager.compList(), QStringList{"notThere"}) << "a removed component leaves";
}

TEST(Frame, TheTitleBarMaximisesOnDoubleClickAndItsButtonsCloseAndRestore) {
    QWidget window;
    window.resize(500, 300);
    TskForm frame("skForm1", &window, UIStyle::WinXP);
    frame.setFramed(true);
    window.show();
    TskTitleBar* bar = frame.titleBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->geometry(), QRect(4, 4, 492, TskTitleBar::kHeight));
    EXPECT_EQ(window.contentsRect(), QRect(4, 4 + TskTitleBar::kHeight, 492, 300 - 8 - 26));

    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_TRUE(window.isMaximized());
    static_cast<QAbstractButton*>(bar->button(1))->click();
    EXPECT_FALSE(window.isMaximized()) << "the middle button restores";
    static_cast<QAbstractButton*>(bar->button(2))->click();
    EXPECT_FALSE(window.isVisible()) << "the close button closes";
}

TEST(Frame, NoCheckOrRadioButtonOfTheMainWindowIsCutInAnyStyle) {
    AppFixture app;
    auto form = app.start();
    form->resize(1024, 700);
    form->show();
    auto* frame = form->findChild<TskForm*>(QStringLiteral("skForm1"));
    for (UIStyle s : kEveryStyle) {
        frame->setUIStyle(s);
        SCOPED_TRACE(int(s));
        for (QAbstractButton* b : form->findChildren<QAbstractButton*>()) {
            if (!b->isVisibleTo(form.get()) ||
                !(qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b)))
                continue;
            EXPECT_GE(b->height(), b->sizeHint().height()) << b->objectName().toStdString();
        }
    }
}

TEST(Frame, ExtremeThemeNumbersLeaveTheTitleBarsButtonsOnTheScreen) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("extreme.theme"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    const auto integer = [](const char* name, qint32 v) {
        return style::ThemeFile::Entry{name, style::ThemeFile::Integer,
                                       style::ThemeFile::integerData(v)};
    };
    out.write(style::ThemeFile::write(
        {integer("FormBorderWidthInt", 100000), integer("FormMinWidthInt", 99999999),
         integer("FormRoundCornerInt", 100000), integer("TitleBarButtonRightOffsetInt", 100000),
         integer("TitleBarButtonTopInt", 100000)}));
    out.close();
    TskFileTheme theme("skFileTheme1", nullptr);
    ASSERT_TRUE(theme.setThemeFile(path));

    QWidget window;
    window.resize(500, 300);
    TskForm frame("skForm1", &window, UIStyle::FromThemeFile);
    frame.setFramed(true);
    frame.setFileTheme(&theme);
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_LE(frame.look().formMinWidth, skin::Look::kMaxFormMinWidth);
    EXPECT_LE(window.minimumWidth(), screen.width());
    EXPECT_LE(window.width(), screen.width());
    TskTitleBar* bar = frame.titleBar();
    ASSERT_TRUE(bar);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QRect button = bar->button(i)->geometry();
        EXPECT_TRUE(bar->rect().contains(button)) << button.x() << "," << button.y();
    }
}
