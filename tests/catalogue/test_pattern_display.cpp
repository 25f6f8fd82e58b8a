#include "base/core/gbk.h"
#include "catalogue/core/catalogue.h"
#include "skin/ui/skinned.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace catalogue;

namespace {

struct Window {
    AppFixture app;
    std::unique_ptr<TForm1> form;

    explicit Window(const char* ini = "[temp]\r\nchecked21=1\r\nchecked22=0\r\n") {
        app.seedTemplateFiles();
        app.tree.put("Mqini.ini", gbk::encode(QString::fromUtf8(ini)));
        form = app.start();
        form->show();
    }
    template <class T = QWidget> T* get(const char* name) const {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* pane) const { return get<QPlainTextEdit>(pane)->toPlainText(); }
    QString caption() const { return get<TskPanel>("skPanel6")->caption(); }
    bool shown(const char* name) const { return !get(name)->isHidden(); }
    // The pane that shows and the one disabled button, as a pair of names.
    std::pair<QString, QString> view() const {
        const char* panes[] = {"skMemo1", "skMemo2", "Memo2", "Memo3", "Memo4", "Memo5"};
        QString pane, button;
        int shownCount = 0, disabledCount = 0;
        for (int i = 0; i < 6; ++i) {
            if (shown(panes[i])) {
                pane = panes[i];
                ++shownCount;
            }
            auto* b = get<QToolButton>(QStringLiteral("s%1").arg(10 + i).toLatin1());
            if (!b->isEnabled()) {
                button = b->objectName();
                ++disabledCount;
            }
        }
        EXPECT_EQ(shownCount, 1);
        EXPECT_EQ(disabledCount, 1);
        return {pane, button};
    }
    void pick(const char* list, int row) const { get<QListWidget>(list)->setCurrentRow(row); }
    void doubleClick(const char* list, int row) const {
        auto* l = get<QListWidget>(list);
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
    }
    bool buttonsShown() const {
        for (int i = 10; i <= 15; ++i)
            if (!shown(QStringLiteral("s%1").arg(i).toLatin1()))
                return false;
        return true;
    }
};

const CiPattern& common(int row) {
    return *pattern(PatternList::Common, row);
}

} // namespace

TEST(PatternDisplay, ListsShowTheLabelsWithTheCountsAligned) {
    Window w;
    auto* list = w.get<QListWidget>("skListBox2");
    ASSERT_EQ(list->count(), 38);
    EXPECT_EQ(list->item(27)->text(), QString::fromUtf8("何满子        74字"));
    const QFontMetricsF m(list->font());
    EXPECT_DOUBLE_EQ(m.horizontalAdvance(QString::fromUtf8("字")),
                     2 * m.horizontalAdvance(QLatin1Char(' ')))
        << "the list font must draw Chinese twice as wide as a space";
    const qreal width = m.horizontalAdvance(list->item(0)->text());
    for (int i = 0; i < list->count(); ++i)
        EXPECT_NEAR(m.horizontalAdvance(list->item(i)->text()), width, 0.01)
            << list->item(i)->text().toStdString();
    EXPECT_EQ(w.get<QListWidget>("skListBox3")->item(15)->text(),
              QString::fromUtf8("五绝-首句平起平收"));
}

TEST(PatternDisplay, TheShowingViewStaysAcrossRows) {
    Window w;
    w.pick("skListBox1", 0);
    w.get<QToolButton>("s13")->click(); // 例三
    w.pick("skListBox1", 3);
    EXPECT_EQ(w.view(), std::make_pair(QString("Memo3"), QString("s13")));
    EXPECT_EQ(w.text("Memo3"), common(3).examples[2]);
    EXPECT_EQ(w.caption(), QString::fromUtf8("相见欢"));
    EXPECT_EQ(w.text("skMemo3"), common(3).templateText);
    EXPECT_EQ(w.text("skMemo1"), common(3).explanation);
    EXPECT_TRUE(w.text("Memo6").startsWith(QString::fromUtf8("◎○◎●○△，●○△，")));
}

TEST(PatternDisplay, DoubleClickShowsExampleOneAndTheNextClickTheExplanation) {
    Window w;
    w.doubleClick("skListBox1", 2);
    EXPECT_EQ(w.view(), std::make_pair(QString("skMemo2"), QString("s11")));
    EXPECT_TRUE(w.get<TskCheckBox>("skCheckBox1")->isChecked());

    w.get<QToolButton>("s10")->click(); // 释义 while the flag is true
    EXPECT_EQ(w.view().first, "skMemo1");
    EXPECT_TRUE(w.get<TskCheckBox>("skCheckBox1")->isChecked()) << "释义 leaves the flag";
    w.get<QToolButton>("s14")->click();
    w.pick("skListBox1", 5); // the flag goes false: the explanation shows
    EXPECT_EQ(w.view(), std::make_pair(QString("skMemo1"), QString("s10")));
    EXPECT_FALSE(w.get<TskCheckBox>("skCheckBox1")->isChecked());
}

TEST(PatternDisplay, ARarePatternWithoutAFifthExampleShowsTheInvitation) {
    Window w;
    w.pick("skListBox33", 4); // 荆州亭
    w.get<QToolButton>("s15")->click();
    EXPECT_EQ(w.caption(), QString::fromUtf8("荆州亭"));
    EXPECT_TRUE(w.text("Memo5").startsWith(
        QString::fromUtf8("本词谱暂无例词，欢迎投稿，在此刊登您的大作！投稿论坛：")));
}

TEST(PatternDisplay, TheViewOnShowKeepsItsDisabledLookWhileTheMouseMoves) {
    Window w;
    w.pick("skListBox1", 0);
    w.get<QToolButton>("s13")->click(); // 例三 shows, its button disabled
    // The colour each button's caption is drawn in.
    auto ink = [&](int view) {
        auto* b = w.get<QToolButton>(QStringLiteral("s%1").arg(10 + view).toLatin1());
        return b->palette().color(b->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                  QPalette::ButtonText);
    };
    const QColor marked = ink(3);
    const char* over[] = {"s11", "s13", "skMemo1", "skPanel7", "skPanel9"};
    for (const char* name : over) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(w.get(name), &enter);
        EXPECT_EQ(ink(3), marked) << "after the mouse entered " << name;
        for (int i : {0, 1, 2, 4, 5})
            EXPECT_NE(ink(i), marked) << name;
    }
}

TEST(PatternDisplay, LineBreakTwiceRestoresTheStrip) {
    Window w;
    auto* f5 = w.get<QAction>("H1");
    f5->trigger();
    EXPECT_FALSE(w.shown("skPanel7"));
    EXPECT_TRUE(w.shown("skPanel11"));
    f5->trigger();
    EXPECT_TRUE(w.shown("skPanel7"));
    EXPECT_FALSE(w.shown("skPanel11"));
}

TEST(PatternDisplay, AMissingTemplateFileIsReportedAfterTheOtherFieldsAreShown) {
    Window w;
    w.pick("skListBox1", 0);
    const QString before = w.text("Memo6");
    QFile::remove(w.app.tree.path(QString::fromUtf8("data/常用词谱/05.txt")));
    w.pick("skListBox1", 4); // 点绛唇
    EXPECT_EQ(w.app.modals.errors,
              QStringList{QString::fromUtf8("Cannot open file data\\常用词谱\\05.txt")});
    EXPECT_EQ(w.caption(), QString::fromUtf8("点绛唇"));
    EXPECT_EQ(w.text("skMemo1"), common(4).explanation);
    EXPECT_EQ(w.text("Memo5"), common(4).examples[4]);
    EXPECT_EQ(w.text("Memo6"), before);

    // One mouse click on a row reports once, though the press both changes the row
    // and presses an item.
    w.pick("skListBox1", 0);
    w.app.modals.errors.clear();
    auto* list = w.get<QListWidget>("skListBox1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(4)).center());
    EXPECT_EQ(w.app.modals.errors.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(4)).center());
    EXPECT_EQ(w.app.modals.errors.size(), 2) << "a click on the selected row shows it again";
}

TEST(PatternDisplay, ARestartShowsTheSavedTextsNotTheCatalogues) {
    Window w("[temp]\r\nchecked21=1\r\nchecked22=0\r\ntext1=旧的解释\r\ntext3=○○●\r\ncaption2="
             "旧词牌\r\nlist1=4\r\n"
             "visible10=0\r\nvisible12=1\r\nenabled1=1\r\nenabled3=0\r\n");
    EXPECT_EQ(w.caption(), QString::fromUtf8("旧词牌"));
    EXPECT_EQ(w.text("skMemo1"), QString::fromUtf8("旧的解释"));
    EXPECT_EQ(w.text("skMemo3"), QString::fromUtf8("○○●"));
    EXPECT_EQ(w.get<QListWidget>("skListBox1")->currentRow(), 4) << "highlighted only";
    EXPECT_EQ(w.view(), std::make_pair(QString("Memo2"), QString("s12")));
}

TEST(PatternSearch, ToolBarHitFillsTheFieldsAndLeavesTheRest) {
    Window w;
    w.pick("skListBox1", 2);
    w.get<QToolButton>("s13")->click();
    auto* box = w.get<QLineEdit>("Edit1");
    box->setText(QString::fromUtf8("醉太平"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    const CiPattern& hit = *pattern(PatternList::Rare, 1);
    EXPECT_EQ(w.caption(), QString::fromUtf8("醉太平"));
    EXPECT_EQ(w.text("skMemo1"), hit.explanation);
    EXPECT_EQ(w.text("skMemo2"), hit.examples[0]);
    EXPECT_EQ(w.text("skMemo3"), hit.templateText);
    EXPECT_EQ(w.text("Memo6"), w.app.tree.exists(QString::fromUtf8("data/冷僻词谱/02.txt"))
                                   ? DataRoot(w.app.tree.path())
                                         .readLines(QString::fromUtf8("data\\冷僻词谱\\02.txt"))
                                         .join('\n')
                                   : QString());
    EXPECT_EQ(w.view().first, "Memo3") << "the showing view stays";
    EXPECT_EQ(w.get<QListWidget>("skListBox1")->currentRow(), 2) << "no row is selected or cleared";
    EXPECT_EQ(w.get<QListWidget>("skListBox33")->currentRow(), 0);
    EXPECT_FALSE(w.buttonsShown());
    EXPECT_EQ(w.form->focusWidget(), w.get("skButton1")) << "Enter moves on to the button";

    w.pick("skListBox2", 5);
    EXPECT_TRUE(w.buttonsShown()) << "a row click shows them again";
}

TEST(PatternSearch, AHitFillsEveryPaneSoNothingShownBelongsToAnotherRecord) {
    // A verse row with 例三 showing, and a favourite restored over the pattern panel.
    const char* verse = "[temp]\r\nchecked21=0\r\nchecked22=1\r\n";
    const char* favourite = "[temp]\r\nchecked21=0\r\nchecked22=1\r\nvisible6=0\r\n"
                            "visible7=1\r\nvisible8=0\r\nvisible9=1\r\ntext5=收藏的词\r\n";
    struct Case {
        const char* ini;
        bool fromDialog;
        const char* key;
    } cases[] = {{verse, false, "蝶"}, {verse, true, "南浦"}, {favourite, false, "南浦"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Window w(c.ini);
        if (c.ini == verse) {
            w.pick("skListBox3", 15); // 五绝
            w.get<QToolButton>("s13")->click();
        }
        const auto before = w.view();
        if (c.fromDialog) {
            w.get<QAction>("F2")->trigger();
            auto* dialog = w.form->findChild<QDialog*>("Form14");
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>("e1")->setText(QString::fromUtf8(c.key));
            dialog->findChild<QPushButton*>("skButton1")->click();
        } else {
            w.get<QLineEdit>("Edit1")->setText(QString::fromUtf8(c.key));
            w.get<QPushButton>("skButton1")->click();
        }
        const CiPattern* hit = findPattern(QString::fromUtf8(c.key));
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(w.caption(), hit->name);
        EXPECT_EQ(w.text("skMemo1"), hit->explanation);
        EXPECT_EQ(w.text("skMemo3"), hit->templateText);
        const char* examples[] = {"skMemo2", "Memo2", "Memo3", "Memo4", "Memo5"};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(w.text(examples[i]), hit->examples[i]) << examples[i];
        EXPECT_EQ(w.view(), before) << "the showing view stays";
        EXPECT_TRUE(w.shown("skPanel6"));
        EXPECT_TRUE(w.shown("skMemo3"));
        EXPECT_FALSE(w.shown("skPanel8"));
        EXPECT_FALSE(w.shown("skMmemo3"));
        EXPECT_EQ(w.get<QListWidget>("skListBox3")->currentRow(), c.ini == verse ? 15 : 0);
    }
}

TEST(PatternSearch, ToolBarMessages) {
    Window w;
    struct Case {
        const char* text;
        const char* dialog;
    } cases[] = {
        {"", "skMessageDialog5"}, {"花", "skMessageDialog4"}, {"蝶恋花 ", "skMessageDialog4"}};
    for (const Case& c : cases) {
        w.app.modals.dialogs.clear();
        w.pick("skListBox1", 1);
        w.get<QLineEdit>("Edit1")->setText(QString::fromUtf8(c.text));
        w.get<QPushButton>("skButton1")->click();
        EXPECT_EQ(w.app.modals.dialogs, QStringList{c.dialog}) << c.text;
        EXPECT_FALSE(w.buttonsShown());
        EXPECT_EQ(w.caption(), QString::fromUtf8("如梦令")) << "nothing else changes";
    }
}

TEST(PatternSearch, TheDialogSearchesWithoutHidingTheButtonsItself) {
    Window w;
    w.get<QAction>("F2")->trigger(); // Ctrl+F
    auto* dialog = w.form->findChild<QDialog*>("Form14");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(w.buttonsShown()) << "opening the dialog hides them";
    w.pick("skListBox1", 1);
    EXPECT_TRUE(w.buttonsShown());

    auto* box = dialog->findChild<QLineEdit*>("e1");
    box->setText(QString::fromUtf8("摊破浣溪沙"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(w.caption(), QString::fromUtf8("山花子"));
    EXPECT_TRUE(w.buttonsShown()) << "a dialog hit leaves them visible";
    EXPECT_TRUE(dialog->isVisible()) << "the dialog stays open";
    EXPECT_EQ(box->text(), QString::fromUtf8("摊破浣溪沙")) << "Enter inserts nothing";

    box->setText(QString());
    dialog->findChild<QPushButton*>("skButton1")->click();
    EXPECT_EQ(w.app.modals.dialogs.last(), "skMessageDialog1");
    box->setText(QString::fromUtf8("河满子"));
    dialog->findChild<QPushButton*>("skButton1")->click();
    EXPECT_EQ(w.app.modals.dialogs.last(), "skMessageDialog2");

    w.get<QAction>("F2")->trigger();
    EXPECT_EQ(w.form->findChildren<QDialog*>("Form14").size(), 2)
        << "each opening makes a new dialog";
}

TEST(VerseList, ARowBringsThePatternPanelBackOverAFavourite) {
    Window w("[temp]\r\nchecked21=0\r\nchecked22=1\r\n");
    w.get("skPanel8")->show();
    w.get("skPanel6")->hide();
    w.get("skMmemo3")->show();
    w.get("skMemo3")->hide();
    w.get<QAction>("H1")->setEnabled(false);
    w.pick("skListBox3", 15);
    EXPECT_TRUE(w.shown("skPanel6"));
    EXPECT_FALSE(w.shown("skPanel8"));
    EXPECT_TRUE(w.shown("skMemo3"));
    EXPECT_FALSE(w.shown("skMmemo3"));
    EXPECT_TRUE(w.get<QAction>("H1")->isEnabled());
    EXPECT_EQ(w.caption(), QString::fromUtf8("首句平起平收-五绝"));
    EXPECT_EQ(w.text("skMemo3"), QString::fromUtf8("○○◎●△，◎●●○△。◎●○○●，○○◎●△。"));
    EXPECT_EQ(w.text("skMemo1"), versePattern(8)->explanation)
        << "rows 9 to 16 share the quatrain text";
    EXPECT_TRUE(w.app.modals.errors.isEmpty());
}
