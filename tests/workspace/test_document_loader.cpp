// A large store file shows its head at start-up and becomes whole as soon as the rest is
// built, without anything reaching the head meanwhile: not typing, not the shutdown, not
// the recovery of a crashed run.

#include "support/app_fixture.h"
#include "support/fake_clock.h"
#include "workspace/core/recovery_file.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/ui/document_loader.h"
#include "workspace/ui/document_recovery.h"
#include "workspace/ui/richtextdocument.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <gtest/gtest.h>

#include <future>

using namespace workspace;

namespace {

QTextEdit* doc(QObject& form, int n) {
    return form.findChild<QTextEdit*>(QStringLiteral("skm%1").arg(n));
}

// `count` paragraphs "第1段：…" of `length` characters each, every third one bold.
RichDocument paragraphs(int count, int length = 12) {
    RichDocument d;
    for (int i = 1; i <= count; ++i) {
        Paragraph p;
        QString text = QString::fromUtf8("第%1段：").arg(i);
        while (text.size() < length)
            text += QString::fromUtf8("春");
        CharFormat f{QString::fromUtf8("宋体"), 24};
        f.bold = i % 3 == 0;
        p.append(text, f);
        d.paragraphs.push_back(p);
    }
    return d;
}

QString plainText(const RichDocument& d) {
    QStringList lines;
    for (const Paragraph& p : d.paragraphs) {
        QString line;
        for (const Run& r : p.runs)
            line += r.text;
        lines << line;
    }
    return lines.join('\n');
}

// Runs the event loop until `done` holds or `ms` pass.
template <typename F> bool settle(F done, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

TEST(DocumentLoading, ALargeFileIsBuiltOnlyAsFarAsItsHead) {
    const HeadSize head{.paragraphs = 50, .characters = 2000};
    struct Case {
        const char* what;
        RichDocument source;
        qsizetype cut; // bytes cut off the end of the file
        bool whole, partial;
        int blocks; // in the head
    };
    const Case cases[] = {
        {"a short file", paragraphs(3), 0, true, false, 3},
        {"exactly the head", paragraphs(50), 0, true, false, 50},
        {"many paragraphs", paragraphs(400), 0, true, true, 50},
        {"long paragraphs", paragraphs(30, 300), 0, true, true, 7},
        {"damaged past the head", paragraphs(400), 40, false, true, 50},
    };
    for (const Case& c : cases) {
        TempTree tree;
        tree.mkdir("save");
        const QByteArray rtf = RtfWriter::toRtf(c.source);
        tree.put("save/mq1.rtf", rtf.left(rtf.size() - c.cut));
        const auto prepared =
            WorkspaceCommands::prepare(DataRoot(tree.path()), 1, QThread::currentThread(), &head);
        EXPECT_EQ(prepared.whole, c.whole) << c.what;
        EXPECT_EQ(prepared.partial, c.partial) << c.what;
        RichDocument expected = c.source;
        expected.paragraphs.resize(c.blocks);
        EXPECT_EQ(prepared.document->toPlainText(), plainText(expected)) << c.what;
    }
}

TEST(DocumentLoading, InputWaitsForTheWholeDocumentExceptEscape) {
    TempTree tree;
    tree.mkdir("save");
    const RichDocument full = paragraphs(400);
    tree.put("save/mq1.rtf", RtfWriter::toRtf(full));
    for (int n = 2; n <= 5; ++n)
        tree.put(QStringLiteral("save/mq%1.rtf").arg(n), "{\\rtf1\\ansi\\ansicpg936 \\par}");
    std::promise<void> gate;
    std::shared_future<void> opened = gate.get_future().share();
    DocumentLoader loader(DataRoot(tree.path()), {.paragraphs = 20, .characters = 100000},
                          [opened] { opened.wait(); });
    auto prepared = loader.takePrepared();
    ASSERT_TRUE(prepared[0].partial);
    ASSERT_FALSE(prepared[1].partial);
    QTextEdit editor;
    adoptRichDocument(&editor, std::move(prepared[0].document));
    loader.deliverTo(
        [&](int n, DocumentLoader::Whole whole) {
            ASSERT_EQ(n, 1);
            adoptRichDocument(&editor, std::move(whole));
        },
        &editor);
    editor.show();
    gate.set_value(); // built from here on, but never delivered by the loop, which
                      // does not run: events are sent straight to the editor
    auto key = [&](Qt::Key k, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(&editor, &press);
    };
    key(Qt::Key_Escape);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &move);
    QWidget elsewhere; // another window, such as the splash
    elsewhere.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&elsewhere, &press);
    EXPECT_TRUE(loader.pending()) << "neither edits nor shows anything";
    EXPECT_EQ(editor.document()->blockCount(), 20);

    key(Qt::Key_X, QStringLiteral("x"));
    EXPECT_FALSE(loader.pending());
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("x") + plainText(full))
        << "the key went to the whole document, at its start";
}

// A window whose documents' rest is built only once `gate` opens, or after `wait`.
std::unique_ptr<TForm1> startHeld(AppFixture& app, std::shared_future<void> gate,
                                  std::chrono::milliseconds wait, Clock* clock = nullptr) {
    return std::make_unique<TForm1>(
        AppContext{.root = DataRoot(app.tree.path()),
                   .settingsPath = app.tree.path("Mqini.ini"),
                   .modals = &app.modals,
                   .clock = clock,
                   .beforeDocumentRest = [gate, wait] { gate.wait_for(wait); }});
}

TEST(DocumentLoading, TheWindowShowsTheWholeDocumentAndWritesItOnlyWhenItMust) {
    AppFixture app;
    const RichDocument full = paragraphs(2000);
    // Ending in a line break our writer would not add: a rewrite would show.
    const QByteArray rtf = RtfWriter::toRtf(full) + "\r\n";
    const QByteArray damaged = rtf.left(rtf.size() - 32);
    app.tree.put("save/mq1.rtf", rtf);
    app.tree.put("save/mq2.rtf", damaged);
    {
        std::promise<void> gate;
        auto form = startHeld(app, gate.get_future().share(), std::chrono::minutes(1));
        EXPECT_LT(doc(*form, 1)->document()->blockCount(), 2000) << "the head, the rest held";
        gate.set_value();
        // Closed at once: the damaged file is written back whole, the other left alone.
        ASSERT_TRUE(AppFixture::close(*form));
        EXPECT_TRUE(app.tree.get("save/mq1.rtf") == rtf) << "unchanged: not written";
        EXPECT_TRUE(app.tree.get("save/mq2.rtf.orig") == damaged);
        EXPECT_TRUE(app.tree.get("save/mq2.rtf")
                        .contains(RtfWriter::toRtf(paragraphs(1990)).mid(200, 2000)));
    }
    std::promise<void> gate;
    auto form = startHeld(app, gate.get_future().share(), std::chrono::minutes(1));
    form->show();
    gate.set_value();
    ASSERT_TRUE(settle([&] { return doc(*form, 1)->toPlainText() == plainText(full); }));
    EXPECT_EQ(doc(*form, 1)->textCursor().position(), 0);
    EXPECT_FALSE(doc(*form, 1)->document()->isUndoAvailable());
    EXPECT_TRUE(doc(*form, 2)->toPlainText().startsWith(plainText(full).left(20000)))
        << "what was read of the damaged file, past its head";
    ASSERT_TRUE(AppFixture::close(*form));
    EXPECT_TRUE(app.tree.get("save/mq1.rtf") == rtf) << "whole and unchanged: not written";
}

TEST(DocumentLoading, RecoveredTextIsNotReplacedByTheRestOfTheFile) {
    AppFixture app;
    app.tree.put("save/mq1.rtf", RtfWriter::toRtf(paragraphs(2000)));
    RichDocument typed;
    Paragraph p;
    p.append(QString::fromUtf8("崩溃前写下的一句"), {QString::fromUtf8("宋体"), 24});
    typed.paragraphs = {p};
    app.tree.put(DocumentRecovery::path().replace('\\', '/'),
                 encodeRecovery({{1, RtfWriter::toRtf(typed)}}));
    app.modals.answer = [](QDialog& d) {
        if (auto* box = qobject_cast<QMessageBox*>(&d); box && d.objectName() == "RecoveryQuestion")
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8("恢复"))
                    b->click();
    };
    FakeClock clock;
    // The rest comes a second after the heads: long after the offer, unless the offer
    // waits for it.
    std::promise<void> never;
    auto form = startHeld(app, never.get_future().share(), std::chrono::seconds(1), &clock);
    form->show();
    settle([] { return false; }, 2000); // a rest still to come would have come
    EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("崩溃前写下的一句"));
}

// The rest waits for the window to be shown: a document made whole on a window not yet
// on screen is laid out otherwise than the one the user then sees.
TEST(DocumentLoading, TheRestWaitsForTheWindowToShow) {
    AppFixture app;
    const RichDocument full = paragraphs(2000);
    app.tree.put("save/mq1.rtf", RtfWriter::toRtf(full));
    std::promise<void> open;
    open.set_value();
    auto form = startHeld(app, open.get_future().share(), std::chrono::seconds(0));
    settle([] { return false; }, DocumentLoader::kLatestRestStartMs + 500);
    EXPECT_LT(doc(*form, 1)->document()->blockCount(), 2000) << "still the head";
    form->show();
    EXPECT_TRUE(settle([&] { return doc(*form, 1)->toPlainText() == plainText(full); }));
}
