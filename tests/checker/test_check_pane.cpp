// The check command in the real window: it checks the poem at the cursor in the shown
// document against the pattern on show (on a thread of its own, showing only a check of
// the text and cursor as they still are), draws each mark under its character at any
// width, and choosing a finding or a character selects it in the text without changing
// the text.

#include "checker/ui/check_pane.h"
#include "checker/ui/marked_poem_view.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>
#include <set>

namespace {

// Does what asks for a check and waits for the check to be on show; false after ten
// seconds without one.
template <typename Ask> bool shownAfter(TForm1& form, Ask ask) {
    QSignalSpy shown(form.findChild<CheckPane*>(QStringLiteral("checkPane")), &CheckPane::checked);
    ask();
    return shown.wait(10000);
}

TEST(CheckPane, ChecksTheShownDocumentAgainstThePatternOnShow) {
    AppFixture app;
    app.seedTemplateFiles();
    auto form = app.start();
    form->findChild<QListWidget*>(QStringLiteral("skListBox1"))->setCurrentRow(13); // 蝶恋花
    auto* doc = form->findChild<QTextEdit*>(QStringLiteral("skm1"));
    ASSERT_NE(doc, nullptr);
    // Sixty entering tones: every position that asks for 平 is a clash, strict or 宽.
    const QString text = QString(30, u'月') + u'\n' + QString(30, u'月');
    doc->setPlainText(text);
    auto* action = form->findChild<QAction*>(QStringLiteral("checkAction"));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    ASSERT_TRUE(shownAfter(*form, [action] { action->trigger(); }));

    auto* pane = form->findChild<QWidget*>(QStringLiteral("checkPane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->isHidden());
    auto* findings = form->findChild<QListWidget*>(QStringLiteral("checkFindings"));
    ASSERT_GT(findings->count(), 0);
    // A clash the Song poets often made is marked 宽 (△), the others fail (Ｘ).
    QListWidgetItem* firstLenient = nullptr;
    QListWidgetItem* firstFailing = nullptr;
    for (int i = 0; i < findings->count(); ++i) {
        QListWidgetItem* item = findings->item(i);
        if (!firstLenient && item->text().startsWith(QStringLiteral("△ 宽：「月」入声，此处应平")))
            firstLenient = item;
        if (!firstFailing && item->text().startsWith(QStringLiteral("Ｘ 「月」入声，此处应平")))
            firstFailing = item;
    }
    ASSERT_NE(firstLenient, nullptr);
    ASSERT_NE(firstFailing, nullptr);
    findings->setCurrentItem(firstFailing);
    emit findings->itemClicked(firstFailing);
    // The clash is selected in the document, on the first line.
    EXPECT_GE(doc->textCursor().selectionStart(), 1);
    EXPECT_LT(doc->textCursor().selectionStart(), 30);
    EXPECT_EQ(doc->textCursor().selectedText(), QStringLiteral("月"));
    EXPECT_EQ(doc->toPlainText(), text);

    // Typing, another pattern or another document: a check is due once the typing pauses.
    auto* due = pane->findChild<QTimer*>(QStringLiteral("checkDebounce"));
    ASSERT_NE(due, nullptr);
    EXPECT_FALSE(due->isActive());
    doc->insertPlainText(QStringLiteral("月"));
    EXPECT_TRUE(due->isActive());
    due->stop();
    form->findChild<QListWidget*>(QStringLiteral("skListBox1"))->setCurrentRow(12); // 虞美人
    EXPECT_TRUE(due->isActive());

    // 同调作品 from the pattern panel: a reading window with the tune's poems.
    form->findChild<QToolButton*>(QStringLiteral("tunePoemsStripButton"))->click();
    auto* reader = form->findChild<QWidget*>(QStringLiteral("tunePoemsWindow"));
    ASSERT_NE(reader, nullptr);
    auto* poems = reader->findChild<QListWidget*>(QStringLiteral("tunePoemsList"));
    if (poems->count() == 0)
        GTEST_SKIP() << "generated without the dataset";
    EXPECT_GT(poems->count(), 100);
    EXPECT_FALSE(reader->findChild<QPlainTextEdit*>(QStringLiteral("tunePoemText"))
                     ->toPlainText()
                     .isEmpty());
    EXPECT_TRUE(reader->findChild<QPlainTextEdit*>(QStringLiteral("tunePoemText"))->isReadOnly());
}

// Two 蝶恋花 as the dataset gives them (欧阳修, 苏轼), each under the tune's name.
const QString kTwoPoems =
    QStringLiteral("蝶恋花\n"
                   "独倚危楼风细细。望极离愁，黯黯生天际。草色山光残照里。无人会得凭阑意。\n"
                   "也拟疏狂图一醉。对酒当歌，强饮还无味。衣带渐宽都不悔。况伊销得人憔悴。\n"
                   "\n"
                   "蝶恋花\n"
                   "花褪残红青杏小。燕子飞时，绿水人家绕。枝上柳绵吹又少。天涯何处无芳草。\n"
                   "墙里秋千墙外道。墙外行人，墙里佳人笑。笑渐不闻声渐悄。多情却被无情恼。\n");

TEST(CheckPane, ChecksThePoemAtTheCursorAndFollowsIt) {
    AppFixture app;
    app.seedTemplateFiles();
    auto form = app.start();
    form->show(); // a pane out of sight does not follow the cursor
    form->findChild<QListWidget*>(QStringLiteral("skListBox1"))->setCurrentRow(13); // 蝶恋花
    auto* doc = form->findChild<QTextEdit*>(QStringLiteral("skm1"));
    doc->setPlainText(kTwoPoems);
    QTextCursor end(doc->document());
    end.movePosition(QTextCursor::End);
    doc->setTextCursor(end);
    auto* action = form->findChild<QAction*>(QStringLiteral("checkAction"));
    ASSERT_TRUE(shownAfter(*form, [action] { action->trigger(); }));

    auto* summary = form->findChild<QLabel*>(QStringLiteral("checkSummary"));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("检查光标所在的第2首（共2首）")))
        << summary->text().toStdString();
    EXPECT_TRUE(summary->text().contains(QStringLiteral("标题「蝶恋花」不计")));
    EXPECT_FALSE(form->findChild<QLabel*>(QStringLiteral("checkRhymes"))->text().isEmpty());

    // Every finding points at the character it quotes, in the second poem.
    const int second = int(kTwoPoems.indexOf(u'花', kTwoPoems.indexOf(QStringLiteral("\n\n"))));
    auto* findings = form->findChild<QListWidget*>(QStringLiteral("checkFindings"));
    const QRegularExpression quoted(QStringLiteral("「(.)」"));
    for (int i = 0; i < findings->count(); ++i) {
        const int offset = findings->item(i)->data(Qt::UserRole).toInt();
        const auto m = quoted.match(findings->item(i)->text());
        if (offset < 0 || !m.hasMatch())
            continue;
        EXPECT_GT(offset, second);
        EXPECT_EQ(kTwoPoems.mid(offset, 1), m.captured(1))
            << findings->item(i)->text().toStdString();
    }

    // Each character drawn is the document's character at its offset, and a click on it
    // selects it there.
    auto* view = form->findChild<MarkedPoemView*>(QStringLiteral("checkView"));
    ASSERT_NE(view, nullptr);
    const int last = int(kTwoPoems.lastIndexOf(u'恼'));
    EXPECT_FALSE(view->charRect(last).isEmpty());
    EXPECT_TRUE(view->charRect(int(kTwoPoems.indexOf(u'悴'))).isEmpty()); // nor the first poem
    emit view->characterChosen(last, 1);
    EXPECT_EQ(doc->textCursor().selectedText(), QStringLiteral("恼"));

    // Into the first poem: once the cursor rests, the pane checks that one.
    auto* due = form->findChild<QTimer*>(QStringLiteral("checkDebounce"));
    EXPECT_FALSE(due->isActive()); // a selection within the poem on show asks for nothing
    QTextCursor first(doc->document());
    first.setPosition(10);
    doc->setTextCursor(first);
    EXPECT_TRUE(due->isActive());
    ASSERT_TRUE(shownAfter(*form, [due] { QMetaObject::invokeMethod(due, "timeout"); }));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("检查光标所在的第1首（共2首）")))
        << summary->text().toStdString();
    EXPECT_FALSE(view->charRect(10).isEmpty());
    EXPECT_EQ(doc->toPlainText(), kTwoPoems);
}

// A check is asked for, and the cursor moves before it is back: into the other poem, and
// the pane never shows the one it left; within the same poem, and the check is shown once.
TEST(CheckPane, ShowsOnlyACheckOfTheTextAndCursorAsTheyAre) {
    AppFixture app;
    app.seedTemplateFiles();
    auto form = app.start();
    form->show();
    form->findChild<QListWidget*>(QStringLiteral("skListBox1"))->setCurrentRow(13); // 蝶恋花
    auto* doc = form->findChild<QTextEdit*>(QStringLiteral("skm1"));
    doc->setPlainText(kTwoPoems);
    auto* pane = form->findChild<CheckPane*>(QStringLiteral("checkPane"));
    auto* due = form->findChild<QTimer*>(QStringLiteral("checkDebounce"));
    auto* summary = form->findChild<QLabel*>(QStringLiteral("checkSummary"));
    auto moveTo = [doc](qsizetype offset) {
        QTextCursor c(doc->document());
        c.setPosition(int(offset));
        doc->setTextCursor(c);
    };
    const qsizetype inSecond = kTwoPoems.lastIndexOf(u'恼');

    // The second poem asked for; before it is back, the first: only the first is shown.
    moveTo(inSecond);
    QSignalSpy shown(pane, &CheckPane::checked);
    pane->action()->trigger();
    moveTo(10);
    ASSERT_TRUE(due->isActive());
    QMetaObject::invokeMethod(due, "timeout");
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(summary->text().contains(QStringLiteral("第1首"))) << summary->text().toStdString();

    // The second asked for; the cursor moves on within it before the check is back: the
    // pause's check asks for nothing new, and the one under way is shown.
    shown.clear();
    moveTo(inSecond);
    QMetaObject::invokeMethod(due, "timeout");
    moveTo(inSecond - 1);
    QMetaObject::invokeMethod(due, "timeout");
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("第2首"))) << summary->text().toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(doc->toPlainText(), kTwoPoems);
}

TEST(MarkedPoemView, KeepsEveryMarkUnderItsCharacterAtAnyWidth) {
    // Two lines of 苏轼's 蝶恋花 with a mark of every kind under their characters.
    const QString text = QStringLiteral("花褪残红青杏小。燕子飞时，绿水人家绕。\n"
                                        "枝上柳绵吹又少。天涯何处无芳草。");
    const QList<checker::Status> kinds{checker::Status::Ok, checker::Status::Clash,
                                       checker::Status::Uncertain, checker::Status::Free,
                                       checker::Status::Unchecked};
    checker::Result r;
    for (const checker::TextChar& c : checker::poemChars(text))
        r.marks.append({.offset = c.offset,
                        .length = c.length,
                        .ch = c.ch,
                        .slot = int(r.marks.size()),
                        .status = kinds[r.marks.size() % kinds.size()],
                        .rhyme = c.ch == U'绕'});
    const int clash = int(text.indexOf(u'褪'));
    r.findings.append({.kind = checker::Finding::Clash,
                       .offset = clash,
                       .length = 1,
                       .message = QStringLiteral("「褪」去声，此处应平")});
    MarkedPoemView view;
    view.setPoem(QString(text), 100, r); // the view keeps its own copy of the text
    view.show();
    for (const int width : {900, 260, 120}) {
        view.resize(width, 300);
        const int inside = view.viewport()->width();
        for (const checker::CharMark& m : r.marks) {
            const QRect ch = view.charRect(100 + m.offset);
            const QRect mark = view.markRect(100 + m.offset);
            ASSERT_FALSE(ch.isEmpty()) << width;
            EXPECT_EQ(mark.left(), ch.left()) << width << " at " << m.offset;
            EXPECT_EQ(mark.width(), ch.width());
            EXPECT_EQ(mark.top(), ch.bottom() + 1);
            EXPECT_LE(ch.right(), inside) << width << " at " << m.offset;
        }
        if (width == 900)
            EXPECT_EQ(view.rowCount(), 2);
        else
            EXPECT_GT(view.rowCount(), 2) << width;
    }
    EXPECT_TRUE(view.markRect(100 + int(text.indexOf(u'。'))).isEmpty()); // no mark on a stop

    // A character's tip: its verdict, and the findings on it.
    auto tipOf = [&view](int offset) {
        const QPoint at = view.charRect(offset).center();
        QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view.viewport(), &help);
        return QToolTip::text();
    };
    view.resize(900, 300);
    EXPECT_EQ(tipOf(100 + clash), QStringLiteral("不合：「褪」去声，此处应平"));
    EXPECT_EQ(tipOf(100), QStringLiteral("合"));

    // Without colour: 合, 韵脚, 错, 请自审, 可平可仄 and 未查 each have a shape of their own.
    std::set<QString> shapes;
    for (const checker::CharMark& m : r.marks)
        shapes.insert(markLook(m).symbol);
    EXPECT_EQ(int(shapes.size()), int(kinds.size()) + 1);
}

TEST(CheckPane, ComesBackAsItWasLeft) {
    AppFixture app;
    app.seedTemplateFiles();
    {
        auto form = app.start();
        form->findChild<QAction*>(QStringLiteral("checkAction"))->trigger();
        form->findChild<QComboBox*>(QStringLiteral("checkStandard"))->setCurrentIndex(2);
        ASSERT_TRUE(AppFixture::close(*form));
    }
    auto form = app.start();
    EXPECT_FALSE(form->findChild<QWidget*>(QStringLiteral("checkPane"))->isHidden());
    EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("checkStandard"))->currentText(),
              QStringLiteral("平水韵"));
}

} // namespace
