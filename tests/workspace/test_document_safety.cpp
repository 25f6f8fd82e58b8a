// What keeps the user's writing safe in the window: paste from any clipboard, the
// recovery file after a crash, 打开 of a file that is no text, and typing into a
// document whose file could not be read.

#include "support/app_fixture.h"
#include "support/fake_clock.h"
#include "workspace/ui/document_recovery.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QTextEdit* doc(QObject& form, int n) {
    return form.findChild<QTextEdit*>(QStringLiteral("skm%1").arg(n));
}

void type(QTextEdit* d, const char* text) {
    QTextCursor c = d->textCursor();
    c.movePosition(QTextCursor::End);
    c.insertText(QString::fromUtf8(text));
}

// A main window over the fixture's folder whose timers run on `clock`.
std::unique_ptr<TForm1> startOn(AppFixture& app, FakeClock& clock) {
    return std::make_unique<TForm1>(AppContext{.root = DataRoot(app.tree.path()),
                                               .settingsPath = app.tree.path("Mqini.ini"),
                                               .modals = &app.modals,
                                               .clock = &clock});
}

// Answers the recovery question with the button of that caption.
std::function<void(QDialog&)> answerRecovery(const char* button, QString* question = nullptr) {
    return [button, question](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        if (!box || d.objectName() != "RecoveryQuestion")
            return;
        if (question)
            *question = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8(button))
                b->click();
    };
}

// A clipboard whose owning program has gone: it offers no formats, and asking it for
// its data is what brought the text control down.
class OwnerGone : public QMimeData {
  public:
    mutable int reads = 0;

  protected:
    QVariant retrieveData(const QString&, QMetaType) const override {
        ++reads;
        return {};
    }
};

} // namespace

TEST(DocumentPaste, EveryPastePathTakesOnlyWhatItCanSafelyRead) {
    const QString huge = QString::fromUtf8("大江东去浪淘尽千古风流人物\n").repeated(40'000);
    struct Case {
        const char* name;
        std::function<QMimeData*()> clipboard;
        QString pasted; // what the document gains
    };
    const Case cases[] = {
        {"empty", [] { return new QMimeData; }, {}},
        {"owner gone", [] { return new OwnerGone; }, {}},
        {"a picture only",
         [] {
             auto* m = new QMimeData;
             m->setData("image/png", QByteArray("\x89PNG\r\n\x1a\n", 8));
             return m;
         },
         {}},
        {"another program's formatted text",
         [] {
             auto* m = new QMimeData;
             m->setHtml("<span style=\"color:#ff0000;font-size:40pt\">红</span>");
             m->setText(QString::fromUtf8("红"));
             return m;
         },
         QString::fromUtf8("红")},
        {"half a million characters",
         [&] {
             auto* m = new QMimeData;
             m->setText(huge);
             return m;
         },
         huge},
    };
    AppFixture app;
    auto form = app.start();
    form->show();
    QTextEdit* first = doc(*form, 1);
    QWidget* pasteButton = form->findChild<QToolButton*>("ToolButton8"); // 粘贴
    const std::function<void()> paths[] = {
        [&] { QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier); },
        [&] { QTest::keyClick(first, Qt::Key_Insert, Qt::ShiftModifier); },
        [&] { static_cast<QToolButton*>(pasteButton)->click(); },
        [&] { QMetaObject::invokeMethod(first, "paste"); }, // the menus' way
    };
    for (const Case& c : cases) {
        for (int path = 0; path < 4; ++path) {
            SCOPED_TRACE(std::string(c.name) + ", path " + std::to_string(path));
            first->setPlainText(QString::fromUtf8("词"));
            first->moveCursor(QTextCursor::End);
            const QColor caretColour = first->textCursor().charFormat().foreground().color();
            QMimeData* offered = c.clipboard();
            auto* gone = dynamic_cast<OwnerGone*>(offered);
            QApplication::clipboard()->setMimeData(offered);
            paths[path]();
            if (gone) {
                EXPECT_EQ(gone->reads, 0) << "a clipboard without formats is never read";
            }
            ASSERT_EQ(first->toPlainText(), QString::fromUtf8("词") + c.pasted);
            if (!c.pasted.isEmpty()) {
                QTextCursor at(first->document());
                at.setPosition(2);
                EXPECT_EQ(at.charFormat().foreground().color(), caretColour)
                    << "pasted as text in the caret's format";
                first->undo();
                EXPECT_EQ(first->toPlainText(), QString::fromUtf8("词")) << "one undo step";
            }
        }
    }
    QApplication::clipboard()->clear();
}

TEST(DocumentPaste, TextCopiedFromADocumentKeepsItsFormat) {
    AppFixture app;
    auto form = app.start();
    QTextEdit* first = doc(*form, 1);
    first->setHtml("<span style=\"color:#0000ff\">蓝</span>");
    first->selectAll();
    first->copy();
    QTextEdit* second = doc(*form, 2);
    second->setPlainText({});
    QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
    QTextCursor at(second->document());
    at.setPosition(1);
    EXPECT_EQ(second->toPlainText(), QString::fromUtf8("蓝"));
    EXPECT_EQ(at.charFormat().foreground().color(), QColor(0, 0, 255));
    QApplication::clipboard()->clear();
}

TEST(DocumentRecovery, TypingIsKeptAfterAPauseAndOfferedBackAfterACrash) {
    AppFixture app;
    FakeClock clock;
    {
        auto form = startOn(app, clock);
        clock.advance(60'000);
        EXPECT_FALSE(app.tree.exists("save/mqrecover.dat")) << "nothing typed, nothing kept";
        type(doc(*form, 2), "大江东去");
        clock.advance(DocumentRecovery::kPauseMs - 1);
        type(doc(*form, 2), "，浪淘尽");
        clock.advance(DocumentRecovery::kPauseMs - 1);
        EXPECT_FALSE(app.tree.exists("save/mqrecover.dat")) << "written when typing pauses";
        clock.advance(1);
        ASSERT_TRUE(app.tree.exists("save/mqrecover.dat"));
        // The program ends here without its shutdown, as in a crash.
    }
    EXPECT_TRUE(app.tree.get("save/mq2.rtf").contains("\\par}") &&
                !app.tree.get("save/mq2.rtf").contains("\\'b4\\'f3"))
        << "the store file still holds the last clean shutdown";

    QString question;
    app.modals.answer = answerRecovery("恢复", &question);
    auto form = startOn(app, clock);
    EXPECT_TRUE(question.contains(QString::fromUtf8("豪放词"))) << question.toStdString();
    EXPECT_FALSE(question.contains(QString::fromUtf8("婉约词")));
    EXPECT_EQ(doc(*form, 2)->toPlainText(), QString::fromUtf8("大江东去，浪淘尽"));
    ASSERT_TRUE(AppFixture::close(*form));
    EXPECT_FALSE(app.tree.exists("save/mqrecover.dat")) << "a clean shutdown removes it";
    auto again = startOn(app, clock);
    EXPECT_EQ(doc(*again, 2)->toPlainText(), QString::fromUtf8("大江东去，浪淘尽"));
    EXPECT_EQ(app.modals.dialogs.count("RecoveryQuestion"), 1) << "asked once";
}

TEST(DocumentRecovery, DecliningKeepsTheStoredDocuments) {
    AppFixture app;
    FakeClock clock;
    app.tree.put("save/mq1.rtf", "{\\rtf1\\ansi\\ansicpg936 \\'b4\\'ba\\par}"); // 春
    {
        auto form = startOn(app, clock);
        type(doc(*form, 1), "眠");
        clock.advance(DocumentRecovery::kPauseMs);
    }
    app.modals.answer = answerRecovery("不恢复");
    auto form = startOn(app, clock);
    EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("春"));
    EXPECT_FALSE(app.tree.exists("save/mqrecover.dat"));
}

TEST(DocumentRecovery, ADamagedRecoveryFileIsKeptAsideAndSaidSo) {
    AppFixture app;
    FakeClock clock;
    const QByteArray damaged = "lyrevane recovery 1\n2 9223372036854775807\n{\\rtf1 x}\nend\n";
    app.tree.put("save/mqrecover.dat", damaged);
    auto form = startOn(app, clock);
    EXPECT_EQ(app.modals.dialogs.count("RecoveryQuestion"), 0);
    ASSERT_EQ(app.modals.errors.size(), 1);
    EXPECT_TRUE(app.modals.errors.first().contains(QString::fromUtf8("已损坏")))
        << app.modals.errors.first().toStdString();
    EXPECT_TRUE(app.modals.errors.first().contains(QStringLiteral("mqrecover.dat.orig")));
    EXPECT_FALSE(app.tree.exists("save/mqrecover.dat"));
    EXPECT_EQ(app.tree.get("save/mqrecover.dat.orig"), damaged);
}

TEST(DocumentOpen, AFileThatIsNoTextIsRefusedAndTheDocumentKept) {
    AppFixture app;
    // The signature and the start of the header chunk: length, type, width and height.
    const char png[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10";
    app.tree.put("picture.png", QByteArray(png, sizeof png - 1));
    app.tree.put("program", QByteArray("\x7f"
                                       "ELF\x02\x01\x01\0\0\0",
                                       10));
    app.tree.put("archive.zip", QByteArray("PK\x03\x04\x14\0\0\0\x08\0", 10));
    auto form = app.start();
    type(doc(*form, 1), "原有的词");
    for (const char* file : {"picture.png", "program", "archive.zip"}) {
        app.modals.errors.clear();
        app.modals.answer = [&](QDialog& d) {
            if (auto* files = qobject_cast<QFileDialog*>(&d)) {
                files->selectFile(app.tree.path(file));
                static_cast<QDialog*>(files)->accept();
            }
        };
        form->findChild<QAction*>("O1")->trigger();
        ASSERT_EQ(app.modals.errors.size(), 1) << file;
        EXPECT_TRUE(app.modals.errors.first().contains(QString::fromUtf8("没有打开")))
            << app.modals.errors.first().toStdString();
        EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("原有的词")) << file;
    }
}

TEST(DocumentOpen, TheReplacementIsOneUndoStep) {
    AppFixture app;
    app.tree.put("poem.rtf", "{\\rtf1\\ansi\\ansicpg936 \\'b4\\'b2\\par}"); // 床
    auto form = app.start();
    type(doc(*form, 1), "原有的词");
    app.modals.answer = [&](QDialog& d) {
        if (auto* files = qobject_cast<QFileDialog*>(&d)) {
            files->selectFile(app.tree.path("poem.rtf"));
            static_cast<QDialog*>(files)->accept();
        }
    };
    form->findChild<QAction*>("O1")->trigger();
    EXPECT_TRUE(app.modals.errors.isEmpty());
    EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("床"));
    form->findChild<QToolButton*>("ToolButton5")->click(); // 撤消上一步操作
    EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("原有的词"));
}

TEST(UnreadableDocument, WhatWasTypedIsKeptBesideItUnderANewName) {
    AppFixture app;
    // A store file that exists but cannot be read (a folder in its place reads as
    // one without permission, even for root).
    QFile::remove(app.tree.path("save/mq2.rtf"));
    app.tree.mkdir("save/mq2.rtf");
    for (const char* rescued : {"save/mq2.recovered.rtf", "save/mq2.recovered-2.rtf"}) {
        app.modals.errors.clear();
        auto form = app.start();
        ASSERT_EQ(app.modals.errors.value(0), "Cannot open file save\\mq2.rtf");
        type(doc(*form, 2), "不可读");
        ASSERT_TRUE(AppFixture::close(*form));
        ASSERT_EQ(app.modals.errors.size(), 2);
        EXPECT_TRUE(app.modals.errors[1].contains(QString(rescued).replace('/', '\\')))
            << app.modals.errors[1].toStdString();
        EXPECT_TRUE(app.tree.get(rescued).contains("\\'b2\\'bb\\'bf\\'c9")) << "不可 in GBK";
        EXPECT_TRUE(QFileInfo(app.tree.path("save/mq2.rtf")).isDir()) << "left as it was";
    }
    EXPECT_TRUE(app.tree.get("save/mq2.recovered.rtf").contains("\\'b2\\'bb"))
        << "the earlier rescue is not written over";

    app.modals.errors.clear();
    auto untouched = app.start();
    ASSERT_TRUE(AppFixture::close(*untouched));
    EXPECT_EQ(app.modals.errors.size(), 1) << "nothing typed, nothing to keep";
}

TEST(DocumentTypeface, TheSameFaceWhileTypingAndAfterARestart) {
    AppFixture app;
    auto faceAt = [](QTextEdit* d) {
        QTextCursor c(d->document());
        c.setPosition(1);
        return QFontInfo(c.charFormat().font()).family();
    };
    QString typed;
    {
        auto form = app.start();
        type(doc(*form, 1), "词a");
        typed = faceAt(doc(*form, 1));
        ASSERT_TRUE(AppFixture::close(*form));
    }
    auto form = app.start();
    EXPECT_EQ(faceAt(doc(*form, 1)), typed);
    EXPECT_EQ(typed, "Noto Sans Mono CJK SC");
}
