// The reading windows of the 赏析 and 附录 menus and the knowledge pane, on the real main
// window over small data trees.

#include "base/core/gbk.h"
#include "library/ui/TAnthologyForm.h"
#include "library/ui/TReferenceForm.h"
#include "library/ui/Tquhao.h"
#include "library/ui/knowledge_panels.h"
#include "library/ui/library_menus.h"
#include "skin/ui/skinned.h"
#include "skin/ui/title_bar.h"
#include "support/app_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray gbkText(const QString& s) {
    return gbk::encode(s);
}

struct LibraryApp : AppFixture {
    std::unique_ptr<TForm1> form = start();

    void file(const QString& rel, const QString& text) const {
        tree.mkdir(QFileInfo(rel).path());
        tree.put(rel, gbkText(text));
    }
    LibraryMenus& menus() const { return *form->findChild<LibraryMenus*>("libraryMenus"); }
    KnowledgePanels& knowledge() const {
        return *form->findChild<KnowledgePanels*>("knowledgePanels");
    }
    // Chooses 赏析 item n (counting from 1) and returns the window it opened.
    TAnthologyForm* openAnthology(int n) const {
        menus().anthologyItems()[n - 1]->trigger();
        return qobject_cast<TAnthologyForm*>(menus().openedWindows().last());
    }
    template <class W> W* openAppendix(const char* item) const {
        form->findChild<QAction*>(item)->trigger();
        return qobject_cast<W*>(menus().openedWindows().last());
    }
};

// `count` numbered piece files "piece N", with a list.dat of `listed` lines.
void seedNumbered(const LibraryApp& app, const QString& key, int count, int listed) {
    QStringList list;
    for (int i = 1; i <= listed; ++i)
        list << QStringLiteral("第%1首").arg(i);
    app.file(QStringLiteral("enjoy/%1/list.dat").arg(key), list.join("\r\n"));
    app.file(QStringLiteral("enjoy/%1/%1.dat").arg(key), "作者");
    for (int i = 1; i <= count; ++i)
        app.file(QStringLiteral("enjoy/%1/%2.dat").arg(key).arg(i, 2, 10, QChar('0')),
                 QStringLiteral("piece %1").arg(i));
}

} // namespace

TEST(AnthologyMenu, TwentyFiveItemsInSixGroupsWithTheirHints) {
    LibraryApp app;
    const QList<QAction*> items = app.form->actions().anthologyMenu->actions();
    QStringList shape;
    for (QAction* a : items)
        shape << (a->isSeparator() ? "-" : "x");
    EXPECT_EQ(shape.join(""), "xxx-xxxxxx-xxxxxxxx-xxxx-xx-xx");
    const QList<QAction*>& anthologies = app.menus().anthologyItems();
    ASSERT_EQ(anthologies.size(), 25);
    EXPECT_EQ(anthologies[7]->text(), "李煜诗选") << "menu 诗选, window 词选";
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(anthologies[i]->statusTip(), anthologies[i]->text());
    EXPECT_TRUE(anthologies[24]->statusTip().isEmpty());
}

TEST(AnthologyWindow, SameAnthologyTwiceGivesTwoWindowsWithTheSameText) {
    LibraryApp app;
    app.file("enjoy/wangchangling/wangchangling.dat", "出塞\r\n秦时明月汉时关");
    app.file("enjoy/wangchangling/zuozhe.dat", "王昌龄");
    TAnthologyForm* first = app.openAnthology(5);
    TAnthologyForm* second = app.openAnthology(5);
    ASSERT_NE(first, second);
    EXPECT_TRUE(first->isVisible() && second->isVisible());
    EXPECT_EQ(first->pieceText->toPlainText(), "出塞\n秦时明月汉时关");
    EXPECT_EQ(second->pieceText->toPlainText(), first->pieceText->toPlainText());
    EXPECT_EQ(first->noteText->toPlainText(), "王昌龄");
    EXPECT_EQ(first->pieceList, nullptr);
    first->close();
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(app.modals.errors.isEmpty());
}

TEST(AnthologyWindow, ListVariantOpensEmptyWithItsNoteAndStopsAtTheLastPieceFile) {
    struct Case {
        int menu;
        const char* key;
        int files, listed, lastLoading;
    };
    // Anthology 10 gives up to 100 pieces; anthology 4 gives 29.
    for (const Case c : {Case{10, "sushi", 100, 120, 100}, Case{4, "peidi", 29, 31, 29}}) {
        SCOPED_TRACE(c.key);
        LibraryApp app;
        seedNumbered(app, c.key, c.files, c.listed);
        TAnthologyForm* w = app.openAnthology(c.menu);
        ASSERT_EQ(w->pieceList->count(), c.listed);
        EXPECT_EQ(w->pieceList->currentRow(), -1);
        EXPECT_TRUE(w->pieceText->toPlainText().isEmpty());
        EXPECT_EQ(w->noteText->toPlainText(), "作者");
        w->pieceList->setCurrentRow(c.lastLoading - 1);
        EXPECT_EQ(w->pieceText->toPlainText(), QString("piece %1").arg(c.lastLoading));
        for (int row = c.lastLoading; row < c.listed; ++row) {
            w->pieceList->setCurrentRow(row);
            EXPECT_EQ(w->pieceText->toPlainText(), QString("piece %1").arg(c.lastLoading));
        }
        EXPECT_TRUE(app.modals.errors.isEmpty());
    }
}

TEST(AnthologyWindow, NamedPiecesLoadTheirOwnFiles) {
    LibraryApp app;
    app.file("enjoy/tangsong/tangsong.dat", "");
    app.file("enjoy/tangsong/pusaman.dat", "first");
    app.file("enjoy/tangsong/pusaman2.dat", "fourth");
    TAnthologyForm* w = app.openAnthology(25);
    ASSERT_EQ(w->pieceList->count(), 12);
    EXPECT_EQ(w->pieceList->item(3)->text(), "温庭筠：菩萨蛮");
    w->pieceList->setCurrentRow(3);
    EXPECT_EQ(w->pieceText->toPlainText(), "fourth");
    w->pieceList->setCurrentRow(0);
    EXPECT_EQ(w->pieceText->toPlainText(), "first");
    // A missing piece is reported and leaves the text as it was.
    w->pieceList->setCurrentRow(1);
    EXPECT_EQ(w->pieceText->toPlainText(), "first");
    EXPECT_EQ(app.modals.errors, QStringList{"Cannot open file enjoy\\tangsong\\yugezi.dat"});
}

TEST(AnthologyWindow, LayoutsOfTheVariants) {
    LibraryApp app;
    app.file("enjoy/love/love.dat", "关雎");
    TAnthologyForm* love = app.openAnthology(24);
    EXPECT_EQ(love->windowTitle(), "中国古典爱情诗词鉴赏");
    EXPECT_EQ(love->pieceText->toPlainText(), "关雎");
    EXPECT_EQ(love->pieceList, nullptr);
    EXPECT_EQ(love->noteText, nullptr);

    app.file("enjoy/sunzi/list.dat", "始计第一");
    TAnthologyForm* sunzi = app.openAnthology(2);
    EXPECT_EQ(sunzi->listPanel->caption(), "列表");
    EXPECT_EQ(sunzi->textPanel->caption(), "内容");
    EXPECT_EQ(sunzi->noteText, nullptr);

    app.file("enjoy/quyuan/quyuan.dat", "屈原");
    TAnthologyForm* jiuge = app.openAnthology(1);
    EXPECT_EQ(jiuge->pieceList->count(), 11);
    EXPECT_EQ(jiuge->pieceList->item(10)->text(), "九歌（十一）·礼魂");
    EXPECT_EQ(jiuge->notePanel->caption(), "作者简介");

    seedNumbered(app, "qinguan", 1, 1);
    EXPECT_EQ(app.openAnthology(16)->notePanel->caption(), "作者信息");
    EXPECT_EQ(app.openAnthology(23)->windowTitle(), "欧阳修诗词选——纪念欧阳修诞辰一千周年");
}

TEST(AnthologyWindow, AFailedLoadStopsTheRestButTheWindowOpens) {
    LibraryApp app;
    app.file("enjoy/wangchangling/zuozhe.dat", "王昌龄");
    TAnthologyForm* w = app.openAnthology(5);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(app.modals.errors,
              QStringList{"Cannot open file enjoy\\wangchangling\\wangchangling.dat"});
    EXPECT_TRUE(w->noteText->toPlainText().isEmpty()) << "the note comes after the text";
}

TEST(KnowledgePane, TopicsLoadUnderTheirFixedHeadings) {
    LibraryApp app;
    QStringList lines;
    for (int i = 1; i <= 21; ++i)
        lines << (i == 1 ? QStringLiteral("别的名字") : QStringLiteral("topic %1").arg(i));
    app.file("Excursus/changshi/list.dat", lines.join("\r\n"));
    for (const char* n : {"01", "18", "19"})
        app.file(QStringLiteral("Excursus/changshi/%1.dat").arg(n), QStringLiteral("常识 ") + n);
    app.file("Excursus/shiyi/26.dat", "南词");
    app.form = app.start(); // list.dat is read at start-up
    KnowledgePanels& k = app.knowledge();
    ASSERT_EQ(k.basicsList->count(), 21);

    ASSERT_EQ(k.basicsList->currentRow(), 0) << "restored, nothing loaded";
    EXPECT_TRUE(k.topicPane->toPlainText().isEmpty());
    app.form->show();
    QTest::mouseClick(k.basicsList->viewport(), Qt::LeftButton, {},
                      k.basicsList->visualItemRect(k.basicsList->item(0)).center());
    EXPECT_EQ(k.topicPanel->caption(), "诗歌概述") << "whatever list.dat calls it";
    EXPECT_EQ(k.topicPane->toPlainText(), "常识 01");
    k.basicsList->setCurrentRow(17);
    EXPECT_EQ(k.topicPanel->caption(), "");
    EXPECT_EQ(k.topicPane->toPlainText(), "常识 18");
    k.basicsList->setCurrentRow(19);
    EXPECT_EQ(k.topicPane->toPlainText(), "常识 18") << "the 20th line loads nothing";
    k.termsList->setCurrentRow(25);
    EXPECT_EQ(k.termsList->currentItem()->text(), "南词·南乐");
    EXPECT_EQ(k.topicPanel->caption(), "南词·南乐");
    EXPECT_EQ(k.topicPane->toPlainText(), "南词");
    k.termsList->setCurrentRow(0);
    EXPECT_EQ(app.modals.errors, QStringList{"Cannot open file Excursus\\shiyi\\01.dat"});
    EXPECT_EQ(k.topicPane->toPlainText(), "南词");
}

TEST(KnowledgePane, ComesBackAfterARestartWithoutAChoice) {
    LibraryApp app;
    app.file("Excursus/changshi/list.dat", "一\r\n二\r\n三");
    app.file("Excursus/changshi/03.dat", "诗词的韵\r\n第二行");
    app.form = app.start();
    app.knowledge().basicsList->setCurrentRow(2);
    app.knowledge().termsList->blockSignals(true);
    app.knowledge().termsList->setCurrentRow(4);
    ASSERT_TRUE(AppFixture::close(*app.form));

    app.form = app.start();
    KnowledgePanels& k = app.knowledge();
    EXPECT_EQ(k.topicPanel->caption(), "诗词的韵");
    EXPECT_EQ(k.topicPane->toPlainText(), "诗词的韵\n第二行");
    EXPECT_EQ(k.basicsList->currentRow(), 2);
    EXPECT_EQ(k.termsList->currentRow(), 4);
}

TEST(KnowledgePane, TheSizeSpinnerEnlargesOnlyTheText) {
    LibraryApp app;
    KnowledgePanels& k = app.knowledge();
    const QFont list = k.basicsList->font();
    k.sizeSpinner->setValue(20);
    EXPECT_EQ(k.topicPane->font().pointSize(), 20);
    EXPECT_EQ(k.basicsList->font(), list);
    EXPECT_EQ(k.termsList->font(), list);
}

TEST(ReferenceWindow, ShilvOpensEmptyAndLoadsTheChosenTopic) {
    LibraryApp app;
    app.file("Excursus/shilv/05.dat", "粘对的道理");
    auto* w = app.openAppendix<TReferenceForm>("N21");
    EXPECT_EQ(w->windowTitle(), "诗律浅说");
    EXPECT_EQ(w->topicList->count(), 8);
    EXPECT_TRUE(w->topicText->toPlainText().isEmpty());
    w->topicList->setCurrentRow(4);
    EXPECT_EQ(w->topicList->currentItem()->text(), "粘对");
    EXPECT_EQ(w->topicText->toPlainText(), "粘对的道理");
}

TEST(ReferenceWindow, ToolsListComesFromItsFileAndAMissingOneIsReported) {
    LibraryApp app;
    auto* missing = app.openAppendix<TReferenceForm>("N24");
    EXPECT_EQ(app.modals.errors, QStringList{"Cannot open file Excursus\\tools\\list.dat"});
    EXPECT_TRUE(missing->isVisible());
    EXPECT_EQ(missing->topicList->count(), 0);

    app.file("Excursus/tools/list.dat", "二十四节气\r\n天干地支");
    app.file("Excursus/tools/02.dat", "甲乙丙丁");
    auto* w = app.openAppendix<TReferenceForm>("N24");
    EXPECT_EQ(w->topicList->count(), 2);
    w->topicList->setCurrentRow(1);
    EXPECT_EQ(w->topicText->toPlainText(), "甲乙丙丁");
}

TEST(CodeWindows, OpenOnTheMunicipalitiesAndShowOneBlockAtATime) {
    LibraryApp app;
    auto* w = app.openAppendix<AreaCodesWindow>("N22");
    ASSERT_EQ(w->blocks.size(), 29);
    EXPECT_EQ(w->regionList->currentRow(), 0);
    auto shown = [w] {
        QStringList names;
        for (QPlainTextEdit* b : w->blocks)
            if (!b->isHidden())
                names << b->objectName();
        return names;
    };
    EXPECT_EQ(shown(), QStringList{"zhixia"});
    w->show();
    w->regionList->setFocus();
    for (int row = 1; row < w->blocks.size(); ++row) {
        QTest::keyClick(w->regionList, Qt::Key_Down);
        EXPECT_EQ(shown(), QStringList{w->blocks[row]->objectName()});
    }
    EXPECT_EQ(w->blocks.last()->objectName(), "qita");
    EXPECT_EQ(w->blocks.last()->toPlainText(), "香港    00852\n澳门    00853\n台湾    00886");
}

TEST(CodeWindows, ThePostalCodesHaveNoOtherRegionsItem) {
    LibraryApp app;
    auto* w = app.openAppendix<PostalCodesWindow>("N23");
    EXPECT_EQ(w->windowTitle(), "全国邮政编码");
    ASSERT_EQ(w->blocks.size(), 28);
    EXPECT_TRUE(w->regionList->findItems("其它地区", Qt::MatchExactly).isEmpty());
    EXPECT_FALSE(w->blocks[0]->isHidden());
    EXPECT_TRUE(w->blocks[27]->toPlainText().contains(u'\t')) << "新疆 keeps its tab characters";
}

TEST(ReadingWindows, FramedInTheMainWindowsStyleAndClosedByTheirOwnTitleBar) {
    LibraryApp app;
    app.form->actions().skinXp->trigger();
    app.file("enjoy/love/love.dat", "关雎");
    const QList<QWidget*> windows = {app.openAnthology(24), app.openAnthology(1),
                                     app.openAppendix<TReferenceForm>("N21"),
                                     app.openAppendix<TCodeTableForm>("N22")};
    for (QWidget* w : windows) {
        SCOPED_TRACE(qPrintable(w->windowTitle()));
        auto* frame = w->findChild<TskForm*>("skForm1", Qt::FindDirectChildrenOnly);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->uiStyle(), UIStyle::WinXP);
        EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(frame->titleBar()->geometry().top(), TskForm::kEdge);
        EXPECT_GE(w->findChild<QWidget*>("skPanel2")->y(), frame->titleBar()->geometry().bottom())
            << "the contents lie below the title bar";
    }
    // The list variant's author note waits as a 10-pixel bar and opens to its width.
    auto* note = static_cast<TAnthologyForm*>(windows[1])->noteChannel;
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(note->isOpen());
    EXPECT_EQ(note->width(), 10);
    note->open(true);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(note->width(), 170);

    // A later change of the main window's style reaches the open windows.
    app.form->actions().skinProtein->trigger();
    for (QWidget* w : windows)
        EXPECT_EQ(w->findChild<TskForm*>("skForm1")->uiStyle(), UIStyle::Protein);

    // The title bar's close button hides the window; it is not destroyed.
    QPointer<QWidget> first = windows.first();
    static_cast<QAbstractButton*>(first->findChild<TskForm*>("skForm1")->titleBar()->button(2))
        ->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(windows[1]->isVisible());
}

TEST(ReadingWindows, ClosingTheActiveOneHandsTheActivationToThePreviousNotTheMainWindow) {
    LibraryApp app;
    // As the application sees it, once the window system's events have come through.
    auto activeIs = [](QWidget* w) {
        return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 1000);
    };
    auto activate = [&](QWidget* w) {
        w->activateWindow();
        return activeIs(w);
    };
    app.form->show();
    ASSERT_TRUE(activate(app.form.get()));
    QWidget* love = app.openAnthology(24);
    QWidget* shilv = app.openAppendix<TReferenceForm>("N21");
    QWidget* codes = app.openAppendix<TCodeTableForm>("N22");
    ASSERT_TRUE(activeIs(codes));
    ASSERT_TRUE(activate(love));
    ASSERT_TRUE(activate(codes));

    // Not the main window, nor the last one opened (诗律浅说), but the one active before.
    codes->close();
    EXPECT_TRUE(activeIs(love));

    // A window closed while another one is active leaves the activation where it is.
    ASSERT_TRUE(activate(app.form.get()));
    shilv->close();
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activeWindow(), app.form.get());
}
