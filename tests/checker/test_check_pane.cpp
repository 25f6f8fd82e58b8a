// The check command in the real window: it checks the shown document against the pattern
// on show, and choosing a finding selects its character without changing the text.

#include "support/app_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TEST(CheckPane, ChecksTheShownDocumentAgainstThePatternOnShow) {
    AppFixture app;
    app.seedTemplateFiles();
    auto form = app.start();
    form->findChild<QListWidget*>(QStringLiteral("skListBox1"))->setCurrentRow(13); // 蝶恋花
    auto* doc = form->findChild<QTextEdit*>(QStringLiteral("skm1"));
    ASSERT_NE(doc, nullptr);
    // Sixty entering tones: every position that asks for 平 is a clash.
    const QString text = QString(30, u'月') + u'\n' + QString(30, u'月');
    doc->setPlainText(text);
    auto* action = form->findChild<QAction*>(QStringLiteral("checkAction"));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    action->trigger();

    auto* pane = form->findChild<QWidget*>(QStringLiteral("checkPane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->isHidden());
    auto* findings = form->findChild<QListWidget*>(QStringLiteral("checkFindings"));
    ASSERT_GT(findings->count(), 0);
    EXPECT_TRUE(findings->item(0)->text().startsWith(QStringLiteral("「月」入声，此处应平")));
    findings->setCurrentRow(0);
    emit findings->itemClicked(findings->item(0));
    EXPECT_EQ(doc->textCursor().selectionStart(), 3); // ◎●◎○: the fourth character
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
