// 诗词检索 in the real main window: the 附录 item and 前人用例 open the window, which
// shows hits with the phrase marked, counts and the whole poem; a missing corpus is
// reported once and the window still opens; damage a search finds is shown instead of
// hits.

#include "search/core/index_format.h"
#include "search/ui/search_window.h"
#include "search_fixture.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

QAction* action(TForm1& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

TSearchForm* searchWindow(TForm1& form) {
    return form.findChild<TSearchForm*>(QStringLiteral("TSearchForm"));
}

TEST(SearchWindow, ShowsHitsCountsAndThePoem) {
    AppFixture app;
    app.tree.mkdir(QStringLiteral("data/search"));
    app.tree.put(QStringLiteral("data/search/poems.idx"), search_fixture::bytes());
    auto form = app.start();
    ASSERT_TRUE(action(*form, "PoemSearch"));
    action(*form, "PoemSearch")->trigger();
    TSearchForm* w = searchWindow(*form);
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());

    w->searchFor(QStringLiteral("花"));
    EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("5 处，见于 4 首")));
    const QString hits = w->hitList->toPlainText();
    EXPECT_TRUE(hits.startsWith(QStringLiteral("孟浩然《春晓》（唐）"))) << hits.toStdString();
    EXPECT_TRUE(hits.contains(QStringLiteral("夜來風雨聲，花落知多少。")));
    EXPECT_TRUE(w->hitList->toHtml().contains(QStringLiteral("color:#c00000")));
    ASSERT_EQ(w->poetCounts->count(), 4);
    EXPECT_EQ(w->poetCounts->item(0)->text(), QStringLiteral("温庭筠　2"));
    EXPECT_EQ(w->tuneCounts->count(), 2);
    EXPECT_TRUE(w->poemText->toPlainText().contains(QStringLiteral("春眠不覺曉"))); // the first hit
    EXPECT_TRUE(w->poemText->isReadOnly());
    w->showHit(1);
    EXPECT_TRUE(w->poemText->toPlainText().contains(QStringLiteral("小山重叠金明灭")));

    // Filters narrow it; a name in the counts narrows it to that name.
    w->dynastyBox->setCurrentText(QStringLiteral("唐"));
    w->runSearch();
    EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("2 处")))
        << w->statusLabel->text().toStdString();
    w->dynastyBox->setCurrentIndex(0);
    w->searchFor(QStringLiteral("花"));
    Q_EMIT w->tuneCounts->itemActivated(w->tuneCounts->item(0));
    EXPECT_EQ(w->tuneEdit->text(), QStringLiteral("菩萨蛮"));
    EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("2 处，见于 1 首")));
    w->tuneEdit->clear();

    struct Case {
        QString query;
        const char* says;
    };
    for (const Case& c :
         {Case{QStringLiteral("花落知少"), "没有找到用例"},
          Case{QStringLiteral("，。"), "只有标点"}, Case{QString(1000, u'花'), "最多 20 字"},
          Case{QStringLiteral("花😀"), "GBK"}}) {
        w->queryEdit->setText(c.query);
        w->runSearch();
        EXPECT_TRUE(w->statusLabel->text().contains(QString::fromUtf8(c.says)))
            << w->statusLabel->text().toStdString();
        EXPECT_EQ(w->poetCounts->count(), 0);
    }
    EXPECT_TRUE(app.modals.errors.isEmpty());
}

TEST(SearchWindow, PrecedentsSearchesTheSelectionOfTheDocument) {
    AppFixture app;
    app.tree.mkdir(QStringLiteral("data/search"));
    app.tree.put(QStringLiteral("data/search/poems.idx"), search_fixture::bytes());
    auto form = app.start();
    auto* doc = form->findChild<QTextEdit*>(QStringLiteral("skm1"));
    ASSERT_TRUE(doc);
    doc->setPlainText(QStringLiteral("一夜宫花落"));
    QTextCursor c = doc->textCursor();
    c.setPosition(2);
    c.setPosition(4, QTextCursor::KeepAnchor);
    doc->setTextCursor(c);
    QAction* precedents = action(*form, "Precedents");
    ASSERT_TRUE(precedents);
    EXPECT_FALSE(precedents->shortcut().isEmpty());
    EXPECT_TRUE(form->QWidget::actions().contains(precedents)); // its key works outside the menu
    precedents->trigger();
    TSearchForm* w = searchWindow(*form);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->queryEdit->text(), QStringLiteral("宫花"));
    EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("1 处")))
        << w->statusLabel->text().toStdString();

    c.clearSelection();
    doc->setTextCursor(c);
    precedents->trigger();
    EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("请先在文稿中选定")));
}

TEST(SearchWindow, AMissingCorpusIsReportedOnceAndTheWindowStillOpens) {
    AppFixture app;
    auto form = app.start();
    action(*form, "PoemSearch")->trigger();
    TSearchForm* w = searchWindow(*form);
    ASSERT_TRUE(w);
    EXPECT_TRUE(app.modals.errors.isEmpty()); // not opened until a search needs it
    w->searchFor(QStringLiteral("花"));
    w->searchFor(QStringLiteral("月"));
    ASSERT_EQ(app.modals.errors.size(), 1);
    EXPECT_TRUE(app.modals.errors.first().contains(QStringLiteral("找不到")));
    EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("找不到")));
    EXPECT_TRUE(AppFixture::close(*form));
}

TEST(SearchWindow, DamageASearchFindsIsShownInPlaceOfHits) {
    // A block in the middle of the poem table, which only a search reads.
    QByteArray bad = search_fixture::repeated(1000);
    const auto& h = *reinterpret_cast<const search::format::Header*>(bad.constData());
    const qsizetype at =
        qsizetype(h.offset[search::format::Poems] + h.size[search::format::Poems] / 2);
    bad[at] = char(bad[at] ^ 0x10);
    AppFixture app;
    app.tree.mkdir(QStringLiteral("data/search"));
    app.tree.put(QStringLiteral("data/search/poems.idx"), bad);
    auto form = app.start();
    action(*form, "PoemSearch")->trigger();
    TSearchForm* w = searchWindow(*form);
    ASSERT_TRUE(w);
    for (const QString& phrase : {QStringLiteral("花"), QStringLiteral("月")}) {
        w->searchFor(phrase);
        EXPECT_TRUE(w->statusLabel->text().contains(QStringLiteral("已损坏")))
            << w->statusLabel->text().toStdString();
        EXPECT_TRUE(w->hitList->toPlainText().isEmpty());
        EXPECT_EQ(w->poetCounts->count(), 0);
    }
    EXPECT_TRUE(AppFixture::close(*form));
}

} // namespace
