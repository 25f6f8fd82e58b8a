#include "base/core/gbk.h"
#include "rhyme/core/rhyme_book.h"
#include "skin/ui/skinned.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Window {
    AppFixture app;
    std::unique_ptr<TForm1> form;

    Window() { restart(); }
    void restart() {
        form.reset();
        form = app.start();
        form->show();
    }
    void close() { ASSERT_TRUE(AppFixture::close(*form)); }
    template <class T = QWidget> T* get(const char* name) const {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* pane) const { return get<QPlainTextEdit>(pane)->toPlainText(); }
    QString finals() const { return get<TskPanel>("p4")->caption(); }
    QString label() const { return get<TskPanel>("Panel5")->caption(); }
    int size(const char* pane) const { return get(pane)->font().pointSize(); }
    bool shown(const char* name) const { return !get(name)->isHidden(); }
    // The list in front among the five lists of the rhyme tool bar that are shown.
    QString listSeen() const {
        QString seen;
        for (QObject* c : get("Panel2")->children()) // in stacking order, back to front
            if (auto* list = qobject_cast<QComboBox*>(c); list && !list->isHidden())
                seen = list->objectName();
        return seen;
    }
    void pickEntry(const char* list, int index) const {
        get<QComboBox>(list)->setCurrentIndex(index);
    }
    QStringList checkedSizeButtons() const {
        QStringList out;
        for (int i = 1; i <= 5; ++i)
            if (get<TskRadioButton>(QStringLiteral("skRadioButton%1").arg(i).toLatin1())
                    ->isChecked())
                out << QString::number(i);
        return out;
    }
};

const RhymeGroup& entry(RhymeSystem book, const char* name) {
    return rhyme::groups(book)[*rhyme::entryNamed(book, QString::fromUtf8(name))];
}

} // namespace

TEST(RhymeWindow, AFreshStartShowsTheFirstBookWithEmptyPanes) {
    Window w;
    EXPECT_EQ(w.label(), QString::fromUtf8(" 词韵简编："));
    EXPECT_EQ(w.listSeen(), "skdbComboBox1");
    EXPECT_EQ(w.get<QComboBox>("skdbComboBox1")->currentText(),
              rhyme::groups(RhymeSystem::CiYun)[0].name);
    EXPECT_EQ(w.get<QComboBox>("skdbComboBox1")->count(), 33);
    EXPECT_TRUE(w.text("skMemo5").isEmpty());
    EXPECT_TRUE(w.finals().isEmpty());
    EXPECT_EQ(w.size("skMemo5"), 10);
    EXPECT_EQ(w.checkedSizeButtons(), QStringList{"1"});
    EXPECT_TRUE(w.get<TskRadioButton>("skR1")->isChecked());
    EXPECT_TRUE(w.get<QAction>("C2")->isChecked());
}

TEST(RhymeWindow, EntriesFillThePaneAndTheFinalsLabel) {
    Window w;
    const int eleventh = *rhyme::entryNamed(RhymeSystem::CiYun,
                                            QString::fromUtf8("第十一部 平声：八庚九青十蒸通用"));
    w.pickEntry("skdbComboBox1", eleventh);
    EXPECT_EQ(w.finals(), "eng,ing,");
    EXPECT_EQ(w.text("skMemo5"), rhyme::groups(RhymeSystem::CiYun)[eleventh].characters);
    auto* list = w.get<QComboBox>("skdbComboBox1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // every step of the arrow keys shows its entry
    EXPECT_EQ(w.finals(), "eng,ing");
    EXPECT_EQ(w.text("skMemo5"), rhyme::groups(RhymeSystem::CiYun)[eleventh + 1].characters);

    w.get<TskRadioButton>("skR3")->click();
    const int er =
        *rhyme::entryNamed(RhymeSystem::XianDai, QString::fromUtf8("六儿（通支、齐部）【平声】er"));
    w.pickEntry("skdbComboBox3", er);
    EXPECT_EQ(w.text("skMemo5"), QString::fromUtf8("儿而"));
    EXPECT_EQ(w.finals(), "er");
}

TEST(RhymeWindow, ChoosingABookKeepsThePanesUntilAnEntryIsPicked) {
    Window w;
    w.pickEntry("skdbComboBox1", 3);
    const QString shown = w.text("skMemo5");
    w.get<TskRadioButton>("skR2")->click();
    EXPECT_EQ(w.label(), QString::fromUtf8("新韵简观"));
    EXPECT_EQ(w.listSeen(), "skdbComboBox2");
    EXPECT_EQ(w.text("skMemo5"), shown);
    EXPECT_TRUE(w.get<QAction>("M1")->isChecked());
    EXPECT_FALSE(w.get<QAction>("C2")->isChecked());
    EXPECT_FALSE(w.get<TskRadioButton>("skR1")->isChecked());

    w.get<QAction>("C2")->trigger(); // back: its list still at the entry last picked
    EXPECT_EQ(w.listSeen(), "skdbComboBox1");
    EXPECT_EQ(w.get<QComboBox>("skdbComboBox1")->currentIndex(), 3);
    EXPECT_EQ(w.label(), QString::fromUtf8("词韵简编"));
}

TEST(RhymeWindow, SplitViewShowsBothTonesOfAGroup) {
    Window w;
    w.pickEntry("skdbComboBox1", 0);
    const QString covered = w.text("skMemo5");
    w.get<TskCheckBox>("skCheckBox2")->click();
    EXPECT_EQ(w.listSeen(), "ComboBox2");
    EXPECT_TRUE(w.get<TskRadioButton>("skrr2")->isChecked());
    EXPECT_FALSE(w.get<QAction>("C2")->isEnabled());
    EXPECT_TRUE(w.get<QAction>("N81")->isChecked());
    EXPECT_TRUE(w.shown("skPanel12") && w.shown("skPanel13") && w.shown("Panel4"));
    EXPECT_EQ(w.label(), QString::fromUtf8(" 词韵简编："))
        << "the label names the book chosen before";

    const int dong =
        w.get<QComboBox>("ComboBox2")->findText(QString::fromUtf8("冬 ong,iong,eng,ing"));
    ASSERT_GE(dong, 0);
    w.pickEntry("ComboBox2", dong);
    EXPECT_EQ(w.text("Memo7"), entry(RhymeSystem::XinYun, "冬（平声）ong,iong,eng,ing").characters);
    EXPECT_EQ(w.text("Memo8"), entry(RhymeSystem::XinYun, "冬（仄声）ong,iong,eng,ing").characters);
    EXPECT_EQ(w.finals(), "ong,iong,eng,ing");
    EXPECT_EQ(w.text("skMemo5"), covered);

    w.get<QAction>("P6")->trigger(); // the book choice, while the list seen stays
    EXPECT_EQ(w.label(), QString::fromUtf8("现代诗韵"));
    EXPECT_TRUE(w.get<TskRadioButton>("skR3")->isChecked());
    EXPECT_TRUE(w.get<QAction>("P6")->isChecked());
    EXPECT_EQ(w.listSeen(), "ComboBox2");

    w.get<TskRadioButton>("skrr3")->click();
    EXPECT_EQ(w.listSeen(), "ComboBox3");
    w.get<QAction>("N81")->trigger(); // off through the menu
    EXPECT_FALSE(w.get<TskCheckBox>("skCheckBox2")->isChecked());
    EXPECT_FALSE(w.shown("skPanel12"));
    EXPECT_TRUE(w.get<QAction>("C2")->isEnabled());
    EXPECT_EQ(w.listSeen(), "skdbComboBox3") << "the list of the checked book";
}

TEST(RhymeWindow, TextSizeFromTheSpinnerTheButtonsAndTheFontDialog) {
    Window w;
    auto* spin = w.get<TskSpinEdit>("SpinEdit1");
    spin->setValue(12);
    for (const char* pane : {"skMemo5", "Memo7", "Memo8"})
        EXPECT_EQ(w.size(pane), 12);
    EXPECT_TRUE(w.checkedSizeButtons().isEmpty());

    w.get<TskRadioButton>("skRadioButton5")->click(); // 最大
    EXPECT_EQ(spin->value(), 20);
    EXPECT_EQ(w.size("Memo8"), 20);
    EXPECT_EQ(w.checkedSizeButtons(), QStringList{"5"});

    w.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    spin->setFocus();
    spin->setValue(50); // as typed
    EXPECT_EQ(w.size("skMemo5"), 50);
    w.get("skm1")->setFocus(); // leaving the spinner brings it into range
    EXPECT_EQ(spin->value(), 36);
    EXPECT_EQ(w.size("skMemo5"), 36);

    w.app.modals.answer = [](QDialog& d) {
        if (auto* fonts = qobject_cast<QFontDialog*>(&d)) {
            QFont big = fonts->currentFont();
            big.setPointSize(48);
            fonts->setCurrentFont(big);
            fonts->accept();
        }
    };
    w.get<QAction>("T3")->trigger();
    for (const char* pane : {"skMemo5", "Memo7", "Memo8"})
        EXPECT_EQ(w.size(pane), 36) << "a 48-point font ends at the spinner's maximum";
}

TEST(RhymeWindow, ARestartInSplitViewComesBackAsItWasLeft) {
    Window w;
    w.get<TskCheckBox>("skCheckBox2")->click();
    w.pickEntry("ComboBox2", 2);
    const QString level = w.text("Memo7"), oblique = w.text("Memo8");
    w.get<TskRadioButton>("skRadioButton3")->click();
    w.close();
    w.restart();
    EXPECT_TRUE(w.get<TskCheckBox>("skCheckBox2")->isChecked());
    EXPECT_TRUE(w.get<TskRadioButton>("skrr2")->isChecked());
    EXPECT_EQ(w.listSeen(), "ComboBox2");
    EXPECT_EQ(w.get<QComboBox>("ComboBox2")->currentIndex(), 2);
    EXPECT_EQ(w.text("Memo7"), level);
    EXPECT_EQ(w.text("Memo8"), oblique);
    EXPECT_EQ(w.size("Memo8"), 16);
    EXPECT_EQ(w.checkedSizeButtons(), QStringList{"3"});
    EXPECT_FALSE(w.get<QAction>("C2")->isEnabled());
}

#include <QColorDialog>

TEST(RhymeWindow, ColourCommandsColourAllThreePanesAndComeBack) {
    Window w;
    auto pick = [&](QColor c) {
        w.app.modals.answer = [c](QDialog& d) {
            if (auto* colours = qobject_cast<QColorDialog*>(&d)) {
                colours->setCurrentColor(c);
                colours->accept();
            }
        };
    };
    pick(QColor(200, 0, 0));
    w.get<QAction>("C4")->trigger();
    pick(QColor(240, 240, 200));
    w.get<QAction>("B3")->trigger();
    for (const char* pane : {"skMemo5", "Memo7", "Memo8"}) {
        EXPECT_EQ(skin::fontColour(w.get(pane)), 0x0000C8) << pane;
        EXPECT_EQ(skin::background(w.get(pane)), 0xC8F0F0) << pane;
    }
    // The colour dialog opens on the last colour chosen in the run (whichever command
    // chose it), not on white; cancel changes nothing.
    QList<QColor> shown;
    w.app.modals.answer = [&](QDialog& d) {
        if (auto* colours = qobject_cast<QColorDialog*>(&d))
            shown << colours->currentColor();
        d.reject();
    };
    w.get<QAction>("C4")->trigger();
    w.get<QAction>("B3")->trigger();
    EXPECT_EQ(shown, (QList<QColor>{QColor(240, 240, 200), QColor(240, 240, 200)}));
    EXPECT_EQ(skin::fontColour(w.get("Memo7")), 0x0000C8);

    w.close();
    w.restart();
    EXPECT_EQ(skin::fontColour(w.get("Memo8")), 0x0000C8)
        << "the rhyme pane's colour, for all three";
    EXPECT_EQ(skin::background(w.get("Memo7")), 0xC8F0F0);
}

#include <QAbstractItemView>

TEST(RhymeWindow, DropDownListsShowTwentyRowsAndScroll) {
    Window w;
    for (const char* name :
         {"skdbComboBox1", "skdbComboBox2", "skdbComboBox3", "ComboBox2", "ComboBox3"}) {
        auto* list = w.get<QComboBox>(name);
        ASSERT_GT(list->count(), 10) << name;
        list->show();
        list->showPopup();
        QAbstractItemView* rows = list->view();
        const int shown = rows->viewport()->height() / rows->sizeHintForRow(0);
        EXPECT_EQ(shown, std::min(20, list->count()))
            << name << ": a taller drop-down covers the menu bar";
        EXPECT_EQ(rows->verticalScrollBar()->isVisible(), list->count() > 20) << name;
        list->hidePopup();
    }
}

TEST(RhymeWindow, ListsAreAsHighAsAComboBoxOfTheirRows) {
    // Their size hint measures no row; the height must still be the combo box's own.
    Window w;
    auto* list = w.get<QComboBox>("skdbComboBox1");
    QComboBox plain;
    plain.setStyle(list->style());
    plain.setFont(list->font());
    for (int i = 0; i < list->count(); ++i)
        plain.addItem(list->itemText(i));
    EXPECT_EQ(list->sizeHint().height(), plain.sizeHint().height());
    EXPECT_EQ(list->minimumSizeHint().height(), plain.minimumSizeHint().height());
    EXPECT_EQ(list->height(), plain.sizeHint().height());
}
