#include "app/core/settings_keys.h"
#include "app/ui/splash_window.h"
#include "base/core/gbk.h"
#include "skin/ui/skinned.h"
#include "support/app_fixture.h"
#include "support/fake_clock.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

template <class T = QWidget> T* child(QObject& form, const char* name) {
    T* c = form.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

bool shown(QObject& form, const char* name) {
    return !child(form, name)->isHidden();
}

QAction* action(QObject& form, const char* name) {
    return child<QAction>(form, name);
}

// The keys of the settings file in file order, each as "[section]key" for the first
// key of a section and "key" after it.
QStringList keyOrder(const QString& ini) {
    QStringList out;
    QString section;
    for (const QString& line : ini.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('['))) {
            section = line;
            continue;
        }
        QString key = line.section(QLatin1Char('='), 0, 0);
        out << (section.isEmpty() ? key : section + key);
        section.clear();
    }
    return out;
}

QStringList numbered(const QString& stem, int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << stem + QString::number(i);
    return out;
}

} // namespace

TEST(MainWindow, FirstStartOpensInTheVerseAndFavouritesMode) {
    AppFixture app;
    auto form = app.start();
    EXPECT_EQ(app.modals.dialogs.value(0), "Form17") << "the splash runs first";
    EXPECT_TRUE(app.modals.errors.isEmpty()) << app.modals.errors.join(" | ").toStdString();
    EXPECT_TRUE(child<TskRadioButton>(*form, "skRadioButton7")->isChecked());
    EXPECT_FALSE(child<TskRadioButton>(*form, "skRadioButton6")->isChecked());
    EXPECT_TRUE(shown(*form, "Panel3"));
    EXPECT_FALSE(shown(*form, "Panel1"));
    EXPECT_FALSE(shown(*form, "Panel6"));
    EXPECT_TRUE(action(*form, "N5")->isChecked());
    EXPECT_FALSE(action(*form, "N4")->isChecked());
    EXPECT_FALSE(child(*form, "skCheckBox1")->isEnabled());
    EXPECT_TRUE(shown(*form, "skMemo1"));
    EXPECT_TRUE(shown(*form, "skm1"));
    EXPECT_FALSE(shown(*form, "skm2"));
    EXPECT_EQ(child<TskPanel>(*form, "Panel5")->caption(), QString::fromUtf8(" 词韵简编："));
    EXPECT_EQ(child<TskForm>(*form, "skForm1")->uiStyle(), UIStyle::MacOS);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Lyrevane 终结版"));
}

TEST(MainWindow, FirstShutdownWritesAFreshFileInTheSequencesOrder) {
    AppFixture app;
    auto form = app.start();
    ASSERT_TRUE(AppFixture::close(*form));

    QStringList expected = numbered("font", 6, 27);
    expected.first().prepend("[Font]");
    // The start-up notice wrote its key first, when it closed.
    expected.prepend("[guide]visible");
    expected << "sizef"
             << "size1"
             << "size2"
             << "color1"
             << "color2";
    for (const char* k : {"backdropa", "backdropb", "backdropc", "backdropd", "backdrope",
                          "backdrop1", "backdrop2"})
        expected << k;
    expected << "[Temp]list1"
             << "list2"
             << "list3"
             << "list5"
             << "list4"
             << "list8"
             << "list7"
             << "list6";
    expected << numbered("combo", 1, 5) << numbered("visible", 1, 27) << numbered("enabled", 1, 6)
             << numbered("caption", 1, 4) << numbered("text", 1, 13) << "height"
             << "width"
             << "write" << numbered("checked", 1, 32) << "stayon1"
             << "stayon2";
    expected << "[check]visible"
             << "standard"; // the check pane
    EXPECT_EQ(keyOrder(app.ini()), expected);
}

TEST(MainWindow, EscSavesEverythingAndTheNextStartRestoresIt) {
    AppFixture app;
    {
        auto form = app.start();
        child<TskRadioButton>(*form, "skRadioButton6")->click(); // 词谱类
        child<QPlainTextEdit>(*form, "skMemo1")
            ->setPlainText(QString::fromUtf8("唐教坊曲名。\n又名《秋夜月》。"));
        child<QPlainTextEdit>(*form, "Memo6")->setPlainText(QString::fromUtf8("◎○◎●○△，\n\n●○△。"));
        child<QPlainTextEdit>(*form, "Memo9")->setPlainText(QString::fromUtf8("诗词常识"));
        child<TskPanel>(*form, "skPanel6")->setCaption(QString::fromUtf8("相见欢"));
        child<TskTabControl>(*form, "skTabControl1")->setTabIndex(2);
        child<QListWidget>(*form, "skListBox4")
            ->addItems({QString::fromUtf8("我的词谱"), QString::fromUtf8("第二首")});
        action(*form, "M3")->setChecked(false);
        action(*form, "Protein1")->trigger();
        action(*form, "H1")->setChecked(true);

        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_Escape);
        ASSERT_TRUE(form->isHidden()) << "Esc closes the window";
    }
    EXPECT_EQ(app.tree.get("user.dat"), gbk::encode(u"我的词谱\r\n第二首\r\n"));
    EXPECT_EQ(app.tree.get("data.dat"), gbk::encode(u"◎○◎●○△，\r\n\r\n●○△。"));

    auto form = app.start();
    EXPECT_TRUE(child<TskRadioButton>(*form, "skRadioButton6")->isChecked());
    EXPECT_TRUE(shown(*form, "Panel1"));
    EXPECT_FALSE(shown(*form, "Panel3"));
    EXPECT_TRUE(action(*form, "N4")->isChecked());
    EXPECT_EQ(child<QPlainTextEdit>(*form, "skMemo1")->toPlainText(),
              QString::fromUtf8("唐教坊曲名。\n又名《秋夜月》。"));
    EXPECT_EQ(child<QPlainTextEdit>(*form, "Memo6")->toPlainText(),
              QString::fromUtf8("◎○◎●○△，\n\n●○△。"));
    EXPECT_EQ(child<QPlainTextEdit>(*form, "Memo9")->toPlainText(), QString::fromUtf8("诗词常识"));
    EXPECT_EQ(child<TskPanel>(*form, "skPanel6")->caption(), QString::fromUtf8("相见欢"));
    EXPECT_EQ(child<TskTabControl>(*form, "skTabControl1")->tabIndex(), 2);
    EXPECT_TRUE(shown(*form, "skm3"));
    EXPECT_FALSE(shown(*form, "skm1"));
    EXPECT_EQ(child<QListWidget>(*form, "skListBox4")->count(), 2);
    EXPECT_FALSE(action(*form, "M3")->isChecked());
    EXPECT_FALSE(child<QPlainTextEdit>(*form, "skMmemo1")->isReadOnly());
    EXPECT_TRUE(action(*form, "Protein1")->isChecked());
    EXPECT_FALSE(action(*form, "MACOS2")->isChecked());
    EXPECT_EQ(child<TskForm>(*form, "skForm1")->uiStyle(), UIStyle::Protein);
    EXPECT_TRUE(action(*form, "H1")->isChecked());
}

TEST(MainWindow, AMissingSaveFolderKeepsTheWindowOpenUntilAWriteSucceeds) {
    AppFixture app;
    auto form = app.start();
    form->show();
    QDir(app.tree.path("save")).removeRecursively();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(app.modals.errors, QStringList{"Cannot create file save\\mq1.rtf"});
    EXPECT_FALSE(app.ini().contains(QStringLiteral("font6=")))
        << "the rest of the sequence was skipped";

    app.tree.mkdir("save");
    EXPECT_TRUE(form->close()) << "the next close runs the sequence again";
    EXPECT_TRUE(app.tree.exists("save/mq5.rtf"));
    EXPECT_TRUE(app.tree.exists("Mqini.ini"));
}

TEST(MainWindow, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    AppFixture app;
    QFile::remove(app.tree.path("user.dat")); // missing: nothing on disk to lose
    QFile::remove(app.tree.path("save/mq2.rtf"));
    QFile::remove(app.tree.path("temp.dat"));
    app.tree.mkdir("temp.dat"); // there, but not a readable file
    auto form = app.start();
    EXPECT_EQ(app.modals.errors,
              (QStringList{"Cannot open file user.dat", "Cannot open file save\\mq2.rtf",
                           "Cannot open file temp.dat"}));
    child<QListWidget>(*form, "skListBox4")->addItem(QStringLiteral("x"));
    child<QTextEdit>(*form, "skm2")->setPlainText(QString::fromUtf8("新写的词"));
    ASSERT_TRUE(AppFixture::close(*form)) << "start-up went on and shutdown completes";
    EXPECT_EQ(app.tree.get("user.dat"), QByteArray("x\r\n")) << "what the user added is kept";
    EXPECT_TRUE(app.tree.get("save/mq2.rtf").startsWith("{\\rtf1"));
    EXPECT_TRUE(QFileInfo(app.tree.path("temp.dat")).isDir()) << "left as it was";
    EXPECT_TRUE(app.tree.exists("Mqini.ini"));
}

TEST(MainWindow, HandWrittenSettingsAreReadAsTheProgramWouldWriteThem) {
    AppFixture app;
    app.tree.put(
        "Mqini.ini",
        gbk::encode(
            u"[TEMP]\r\nchecked26=0\r\nlist1=-1\r\nchecked11=0\r\nchecked15=1\r\n"
            u"[font]\r\nbackdrop1=0x000000FF\r\nbackdropa=-2147483643\r\n[Font]\r\nfont6=\r\n"));
    auto form = app.start();
    EXPECT_FALSE(action(*form, "S2")->isChecked());
    EXPECT_EQ(child<TskForm>(*form, "skForm1")->uiStyle(), UIStyle::Protein);
    auto* memo = child<QPlainTextEdit>(*form, "skMemo1");
    EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(skin::background(child(*form, "skm1")), qint32(0x80000005u));
    EXPECT_EQ(memo->font().family(), QPlainTextEdit().font().family())
        << "an empty font name keeps the design font";
    EXPECT_EQ(child<QListWidget>(*form, "skListBox1")->currentRow(), -1);

    ASSERT_TRUE(AppFixture::close(*form));
    SettingsFile ini(app.tree.path("Mqini.ini"));
    EXPECT_EQ(ini.readString("font", "backdrop1"), "255");
    EXPECT_EQ(ini.readString("font", "backdropa"), "-2147483643");
    EXPECT_TRUE(app.ini().startsWith("[TEMP]\r\nchecked26=0\r\n"))
        << "existing keys stay where they were";
}

TEST(MainWindow, ARestoredSizeIsFittedToTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        int width, height;
        QSize expected;
    } cases[] = {
        {"stored on a larger screen", screen.width() + 600, screen.height() + 300, screen.size()},
        {"wider only", screen.width() * 3, 400, QSize(screen.width(), 400)},
        {"a size that fits stays", 700, 500, QSize(700, 500)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture app;
        app.tree.put("Mqini.ini", QStringLiteral("[Temp]\r\nheight=%1\r\nwidth=%2\r\n")
                                      .arg(c.height)
                                      .arg(c.width)
                                      .toLatin1());
        auto form = app.start();
        EXPECT_EQ(form->size(), c.expected);
        EXPECT_TRUE(screen.contains(form->geometry())) << form->x() << "," << form->y();
    }
}

TEST(MainWindow, ViewModesSwitchThePanelsAsTabled) {
    AppFixture app;
    // Left with a favourite showing in the centre.
    app.tree.put("Mqini.ini", "[Temp]\r\nvisible6=0\r\nvisible7=1\r\nvisible8=0\r\nvisible9=1\r\n");
    auto form = app.start();
    EXPECT_TRUE(shown(*form, "skPanel8"));
    EXPECT_TRUE(shown(*form, "skMmemo3"));
    EXPECT_FALSE(shown(*form, "skPanel6"));
    auto* knowledge = child<TskRadioButton>(*form, "skRadioButton8");
    auto* verse = child<TskRadioButton>(*form, "skRadioButton7");

    knowledge->click(); // 诗词知识 over 诗类与收藏
    EXPECT_TRUE(shown(*form, "Panel6"));
    EXPECT_TRUE(shown(*form, "skPanel14"));
    EXPECT_TRUE(shown(*form, "Panel3")) << "诗词知识 hides nothing";
    EXPECT_TRUE(action(*form, "D2")->isChecked());
    EXPECT_FALSE(action(*form, "N5")->isChecked());

    verse->click();
    EXPECT_FALSE(shown(*form, "Panel6"));
    EXPECT_FALSE(shown(*form, "skPanel14"));
    EXPECT_TRUE(shown(*form, "Panel3"));

    action(*form, "N4")->trigger(); // the menu acts as a click on 词牌
    EXPECT_TRUE(shown(*form, "Panel1"));
    for (const char* pane : {"skPanel6", "skMemo3"})
        EXPECT_TRUE(shown(*form, pane)) << pane << ": the pattern comes back";
    for (const char* pane : {"skPanel8", "skMmemo3"})
        EXPECT_FALSE(shown(*form, pane)) << pane;
    EXPECT_TRUE(action(*form, "H1")->isEnabled());
    EXPECT_TRUE(child(*form, "skCheckBox1")->isEnabled());
    action(*form, "N4")->trigger(); // already in that mode: nothing changes
    EXPECT_TRUE(action(*form, "N4")->isChecked());
    EXPECT_TRUE(child<TskRadioButton>(*form, "skRadioButton6")->isChecked());
    EXPECT_TRUE(shown(*form, "Panel1"));
}

TEST(MainWindow, TheCheckReadsTheTemplateOfTheRecordOnShow) {
    AppFixture app;
    app.seedTemplateFiles();
    // Left with a favourite showing in the centre.
    app.tree.put("Mqini.ini", "[Temp]\r\nvisible6=0\r\nvisible7=1\r\nvisible8=0\r\nvisible9=1\r\n");
    auto form = app.start();
    child<QListWidget>(*form, "skListBox1")->setCurrentRow(13); // 蝶恋花, behind the favourite
    // The favourite holds the same template: still a pattern of the user's own.
    child<QPlainTextEdit>(*form, "skMmemo3")
        ->setPlainText(child<QPlainTextEdit>(*form, "skMemo3")->toPlainText());
    child<QTextEdit>(*form, "skm1")->setPlainText(QStringLiteral("独倚危楼风细细。"));
    auto* summary = child<QLabel>(*form, "checkSummary");

    // The check runs on a thread of its own: its verdict shows when it is back.
    auto shows = [&](const QString& start) {
        return QTest::qWaitFor([&] { return summary->text().startsWith(start); }, 5000);
    };
    action(*form, "checkAction")->trigger();
    EXPECT_TRUE(shows(QStringLiteral("自定词谱，"))) << summary->text().toStdString();
    action(*form, "N4")->trigger(); // 词牌: the pattern comes back
    action(*form, "checkAction")->trigger();
    EXPECT_TRUE(shows(QStringLiteral("蝶恋花，"))) << summary->text().toStdString();
}

TEST(MainWindow, ShortcutsOfHiddenAndSharedItems) {
    AppFixture app;
    auto form = app.start();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    int opened = 0, wrapped = 0, protectedDocs = 0;
    QObject::connect(action(*form, "O1"), &QAction::triggered, [&] { ++opened; });
    QObject::connect(action(*form, "H1"), &QAction::triggered, [&] { ++wrapped; });
    QObject::connect(action(*form, "P7"), &QAction::triggered, [&] { ++protectedDocs; });

    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_F5);
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(opened, 1) << "Ctrl+O runs the hidden 打开";
    EXPECT_EQ(wrapped, 1) << "F5 runs 词谱换行";
    EXPECT_EQ(protectedDocs, 0) << "never 保护文档";
    EXPECT_FALSE(action(*form, "O1")->isVisible());
    EXPECT_TRUE(action(*form, "P7")->text().endsWith("\tF5"))
        << "the menu still shows F5 beside 保护文档";
    EXPECT_TRUE(form->isVisible()) << "F1 does nothing";
}

TEST(MainWindow, HintsShowInTheStatusBarAndAsToolTips) {
    AppFixture app;
    auto form = app.start();
    action(*form, "S1")->showStatusText(form.get());
    EXPECT_EQ(form->statusBar()->currentMessage(),
              QString::fromUtf8("保存诗词：保存书写的所有诗词"));
    const auto buttons =
        child(*form, "ToolBar1")->findChildren<QToolButton*>(QRegularExpression("^ToolButton"));
    ASSERT_EQ(buttons.size(), 12);
    for (QToolButton* b : buttons) {
        EXPECT_FALSE(b->toolTip().isEmpty());
        EXPECT_EQ(b->toolTip(), b->statusTip());
        EXPECT_EQ(b->size(), QSize(48, 42));
    }
    EXPECT_EQ(buttons.first()->toolTip(), QString::fromUtf8("有情提示"));
    auto* find = child(*form, "skButton1"); // the search box's button
    EXPECT_EQ(find->statusTip(), QString::fromUtf8("查找词谱"));
    EXPECT_EQ(find->toolTip(), QString::fromUtf8("查找词谱"));
}

#include <QMessageBox>
#include <QTimer>

TEST(ErrorBox, ShowsTheMessageWithAFullStopUnderTheApplicationTitle) {
    InteractiveModals modals;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    modals.showError(nullptr, "Cannot open file user.dat");
    EXPECT_EQ(title, QString::fromUtf8("Lyrevane 终结版"));
    EXPECT_EQ(text, "Cannot open file user.dat.");
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(MainWindow, EveryNamedControlExistsWithItsSize) {
    AppFixture app;
    auto form = app.start();
    const char* names[] = {"skMainMenu1",
                           "ToolBar1",
                           "Panel7",
                           "Edit1",
                           "skButton1",
                           "ToolBar4",
                           "Panel5",
                           "Panel2",
                           "skdbComboBox1",
                           "skdbComboBox2",
                           "skdbComboBox3",
                           "ComboBox2",
                           "ComboBox3",
                           "skR1",
                           "skR2",
                           "skR3",
                           "skCheckBox2",
                           "Panel4",
                           "skrr2",
                           "skrr3",
                           "skSideChannel1",
                           "Panel1",
                           "Panel3",
                           "Panel6",
                           "skRadioButton6",
                           "skRadioButton7",
                           "skRadioButton8",
                           "skSideChannel2",
                           "skPanel9",
                           "SpinEdit1",
                           "skMemo5",
                           "skPanel12",
                           "Memo7",
                           "skPanel13",
                           "Memo8",
                           "p4",
                           "skRadioButton1",
                           "skRadioButton2",
                           "skRadioButton3",
                           "skRadioButton4",
                           "skRadioButton5",
                           "skPanel5",
                           "skPanel14",
                           "skPanel15",
                           "SpinEdit2",
                           "Memo9",
                           "skStatusBar1",
                           "skPanel1",
                           "skListBox1",
                           "skPanel3",
                           "skListBox2",
                           "skPanel10",
                           "skListBox33",
                           "skPanel2",
                           "skListBox3",
                           "skPanel4",
                           "skListBox4",
                           "SpeedButton13",
                           "Image1",
                           "Image2",
                           "skPanel18",
                           "ListBox3",
                           "skPanel16",
                           "ListBox1",
                           "skCheckBox1",
                           "skPanel8",
                           "skMmemo1",
                           "skPanel6",
                           "s10",
                           "s11",
                           "s12",
                           "s13",
                           "s14",
                           "s15",
                           "skMemo1",
                           "skMemo2",
                           "Memo2",
                           "Memo3",
                           "Memo4",
                           "Memo5",
                           "skPanel7",
                           "skMemo3",
                           "skMmemo3",
                           "skPanel11",
                           "Memo6",
                           "skTabControl1",
                           "skm1",
                           "skm2",
                           "skm3",
                           "skm4",
                           "skm5",
                           "Memo1",
                           "skPopupMenu1"};
    for (const char* name : names)
        EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(form->findChild<TskForm*>("skForm1"), nullptr);

    struct Size {
        const char* name;
        int width, height; // 0: not fixed
    } sizes[] = {
        {"Panel7", 201, 0},    {"Panel5", 81, 0},     {"skdbComboBox1", 545, 0},
        {"ComboBox3", 545, 0}, {"skPanel6", 0, 96},   {"skPanel8", 0, 96},
        {"skPanel7", 0, 89},   {"skPanel11", 277, 0}, {"skPanel1", 0, 161},
        {"skPanel10", 0, 163}, {"skPanel2", 0, 225},  {"skPanel18", 0, 225},
        {"skPanel13", 0, 244}, {"p4", 0, 25},
    };
    for (const Size& s : sizes) {
        QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(s.name));
        ASSERT_NE(w, nullptr) << s.name;
        if (s.width) {
            EXPECT_EQ(w->maximumWidth(), s.width) << s.name;
        }
        if (s.height) {
            EXPECT_EQ(w->maximumHeight(), s.height) << s.name;
        }
    }
    // The channels are pinned open at their open widths, which the row keeps.
    for (auto [name, width] : {std::pair{"skSideChannel1", 193}, {"skSideChannel2", 186}}) {
        auto* channel = form->findChild<TskSideChannel*>(name);
        EXPECT_EQ(channel->sizeHint().width(), width) << name;
        EXPECT_EQ(channel->width(), width) << name;
    }
}

TEST(SettingsKeys, EachKeyIsDeclaredOnceAndNamesControlsOfTheRealWindow) {
    AppFixture app;
    auto form = app.start();
    auto exists = [&](const QString& name) {
        return form->objectName() == name || form->findChild<QObject*>(name) != nullptr;
    };
    // Section names match without regard to case: Temp and temp are one section.
    auto id = [](const char* section, const char* name) {
        return QString::fromUtf8(section).toLower() + QLatin1Char('/') +
               QString::fromUtf8(name).toLower();
    };
    QSet<QString> seen;
    for (const settings::Key& key : settings::mainWindowKeys()) {
        EXPECT_FALSE(seen.contains(id(key.section, key.name))) << key.name << " twice";
        seen.insert(id(key.section, key.name));
        for (const QString& target : key.targets)
            EXPECT_TRUE(exists(target)) << key.name << ": " << target.toStdString();
        if (!key.source.isEmpty()) {
            EXPECT_TRUE(exists(key.source)) << key.name << ": " << key.source.toStdString();
        }
    }
    for (const settings::OtherKey& key : settings::otherKeys())
        EXPECT_FALSE(seen.contains(id(key.section, key.name)))
            << key.name << " is also in the main window's table, which would write over it";
}

TEST(Splash, ClosesAfterTwoSecondsOfItsClockOrOnAClick) {
    for (bool click : {false, true}) {
        FakeClock clock;
        SplashWindow splash(clock);
        splash.show();
        clock.advance(1999);
        EXPECT_TRUE(splash.isVisible());
        if (click)
            QTest::mouseClick(&splash, Qt::LeftButton);
        else
            clock.advance(1);
        EXPECT_FALSE(splash.isVisible()) << (click ? "clicked" : "after 2000 ms");
        EXPECT_EQ(splash.result(), QDialog::Accepted);
        if (!click) {
            EXPECT_EQ(clock.activeTimers(), 0) << "the one-shot timer stops itself";
        }
    }
}

TEST(MainWindow, DamagedDataFilesAreKeptAsideAndReportedBeforeTheShutdownRewritesThem) {
    AppFixture app;
    const QByteArray favourites =
        gbk::encode(u"喜迁莺\r\n") + QByteArray("\0", 1) + gbk::encode(u"蝶恋花\r\n");
    const QByteArray knowledge = gbk::encode(u"平仄") + "\xff" + gbk::encode(u"对仗");
    app.tree.put("user.dat", favourites);
    app.tree.put("temp.dat", knowledge);
    auto form = app.start();
    ASSERT_EQ(app.modals.errors.size(), 2);
    EXPECT_TRUE(app.modals.errors[0].contains("user.dat.orig"));
    EXPECT_TRUE(app.modals.errors[1].contains("temp.dat.orig"));
    EXPECT_EQ(child<QListWidget>(*form, "skListBox4")->item(0)->text(),
              QString::fromUtf8("喜迁莺"));
    ASSERT_TRUE(AppFixture::close(*form));
    EXPECT_EQ(app.tree.get("user.dat"), gbk::encode(u"喜迁莺\r\n"));
    EXPECT_EQ(app.tree.get("user.dat.orig"), favourites);
    EXPECT_EQ(app.tree.get("temp.dat.orig"), knowledge);
}

TEST(MainWindow, StartUpRemovesTemporariesThatAKilledWriteLeft) {
    AppFixture app;
    struct Case {
        const char* name;
        bool stale;
    } cases[] = {
        {"save/mq1.rtf.lyrevane-tmp-tSlQZK", true},
        {"save/MQ5.DAT.lyrevane-tmp-qWeRt4", true},
        {"save/mqrecover.dat.lyrevane-tmp-pQrStU", true},
        {"user.dat.lyrevane-tmp-AbCdEf", true},
        {"save/mq3.rtf.orig.1.lyrevane-tmp-xYzAbC", true},
        {"Mqini.ini.lyrevane-tmp-KlmNop", true},
        {"save/mq1.rtf.BackUp", false},
        {"save/mq2.rtf.OldOne", false},
        {"user.dat.backup", false},
        {"save/notes.rtf.lyrevane-tmp-tSlQZK", false},
        {"save/mq1.rtf.lyrevane-tmp-tSlQZK.txt", false},
    };
    for (const auto& c : cases)
        app.tree.put(c.name, "x");
    auto form = app.start();
    for (const auto& c : cases)
        EXPECT_EQ(app.tree.exists(c.name), !c.stale) << c.name;
}

#include "app/ui/app_icon.h"

// The window icon's pictures are drawn at build time and compiled in: each must be the
// picture the drawing code gives here, with the fonts the program uses.
TEST(AppIcon, TheCompiledInPicturesAreTheDrawnOnes) {
    for (int size : kWindowIconSizes) {
        const QImage built(
            QStringLiteral(LYREVANE_BUILT_APP_DIR "/icons/hicolor/%1x%1/apps/lyrevane.png")
                .arg(size));
        ASSERT_EQ(built.size(), QSize(size, size));
        EXPECT_EQ(built.convertToFormat(QImage::Format_ARGB32),
                  appIconImage(size).convertToFormat(QImage::Format_ARGB32))
            << size;
    }
}

#include "skin/ui/glyph_icons.h"

// The tool bar's glyph buttons are pictures drawn at build time and compiled in: each must
// be what the drawing code gives here, and the buttons must show them.
TEST(GlyphButtons, TheButtonsShowTheCompiledInPictures) {
    auto argb = [](const QImage& i) { return i.convertToFormat(QImage::Format_ARGB32); };
    for (const skin::glyphs::Look& look : skin::glyphs::kButtons) {
        const QImage compiled(skin::glyphs::resourceName(look));
        ASSERT_EQ(compiled.size(), QSize(32, 32)) << look.glyph;
        EXPECT_EQ(argb(compiled), argb(skin::glyphs::draw(look))) << look.glyph;
    }
    AppFixture app;
    auto form = app.start();
    const struct {
        const char* button;
        const char* glyph;
    } shown[] = {{"ToolButton1", "示"}, {"ToolButton12", "新"}, {"checkButton", "律"}};
    for (const auto& s : shown) {
        auto* b = form->findChild<QToolButton*>(QString::fromLatin1(s.button));
        ASSERT_TRUE(b) << s.button;
        const auto* look =
            std::find_if(std::begin(skin::glyphs::kButtons), std::end(skin::glyphs::kButtons),
                         [&](const auto& l) { return qstrcmp(l.glyph, s.glyph) == 0; });
        ASSERT_NE(look, std::end(skin::glyphs::kButtons)) << s.glyph;
        EXPECT_EQ(argb(b->icon().pixmap(32, 32).toImage()), argb(skin::glyphs::draw(*look)))
            << s.button;
    }
}

#include <QApplication>

// The start-up runs on behind the splash while it shows; whatever it asks of the user
// (here the damage of a store file) waits until the splash has closed.
TEST(StartUp, RunsBehindTheSplashAndAsksOnlyOnceItHasClosed) {
    struct SplashModals : RecordingModals {
        QStringList events;
        int exec(QDialog& dialog) override {
            if (dialog.objectName() != "Form17")
                return RecordingModals::exec(dialog);
            QTimer::singleShot(300, &dialog, [this, &dialog] {
                // What was loaded by the time the user clicks.
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* doc = w->findChild<QTextEdit*>(QStringLiteral("skm1")))
                        events << QStringLiteral("click, document 1: ") + doc->toPlainText();
                dialog.accept();
            });
            const int result = dialog.exec();
            events << QStringLiteral("splash closed");
            return result;
        }
        void showError(QWidget* parent, const QString& message) override {
            events << QStringLiteral("error");
            RecordingModals::showError(parent, message);
        }
    } modals;
    AppFixture app;
    app.tree.put("save/mq1.rtf", "{\\rtf1\\ansi\\ansicpg936 \\'c7\\'ef\\par}");
    app.tree.put("save/mq3.rtf", "{\\rtf1\\ansi\\ansicpg936 \\'c7\\'ef\\par {\\b cut off");
    FakeClock clock; // the splash's own two seconds never pass: it is clicked away
    TForm1 form(AppContext{.root = DataRoot(app.tree.path()),
                           .settingsPath = app.tree.path("Mqini.ini"),
                           .modals = &modals,
                           .clock = &clock});
    EXPECT_EQ(modals.events,
              (QStringList{QString::fromUtf8("click, document 1: 秋"), "error", "splash closed"}));
    EXPECT_TRUE(form.findChild<QTextEdit*>(QStringLiteral("skm3"))
                    ->toPlainText()
                    .startsWith(QString::fromUtf8("秋")));
}
