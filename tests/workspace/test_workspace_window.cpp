#include "base/core/gbk.h"
#include "skin/ui/skinned.h"
#include "support/app_fixture.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/ui/richtextdocument.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace workspace;

namespace {

QTextEdit* doc(QObject& form, int n) {
    return form.findChild<QTextEdit*>(QStringLiteral("skm%1").arg(n));
}
QAction* action(QObject& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

RichDocument sample() {
    RichDocument d;
    Paragraph title;
    title.alignment = Alignment::Centre;
    title.append(QString::fromUtf8("念奴娇·赤壁怀古"),
                 {QString::fromUtf8("黑体"), 32, Rgb{200, 0, 0}, true});
    Paragraph body;
    body.append(QString::fromUtf8("大江东去，浪淘尽，"), {QString::fromUtf8("宋体"), 24});
    body.append(QString::fromUtf8("千古风流人物。😀"),
                {QString::fromUtf8("楷体"), 20, Rgb{0, 0, 255}, false, true});
    d.paragraphs = {title, body};
    return d;
}

// Runs `pdftotext` on a PDF and returns its lines, empty ones dropped.
QStringList pdfLines(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000))
        return {};
    QStringList lines;
    for (QString line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        line = line.normalized(QString::NormalizationForm_KC).trimmed();
        if (!line.isEmpty() && line != "\f")
            lines << line.remove('\f');
    }
    return lines;
}

// pdftotext maps some CJK glyphs to radical code points (鸟 → ⻦): such a character
// stands for whichever character is expected there.
bool sameLines(const QStringList& printed, const QStringList& expected) {
    if (printed.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < printed.size(); ++i) {
        if (printed[i].size() != expected[i].size())
            return false;
        for (qsizetype j = 0; j < printed[i].size(); ++j) {
            const char16_t c = printed[i][j].unicode();
            if (c != expected[i][j].unicode() && !(c >= 0x2E80 && c <= 0x2FDF))
                return false;
        }
    }
    return true;
}

// Answers the print dialog with OK and a PDF file as the printer.
std::function<void(QDialog&)> printTo(const QString& pdf) {
    return [pdf](QDialog& d) {
        if (auto* dialog = qobject_cast<QPrintDialog*>(&d)) {
            dialog->accept(); // takes its own choices into the printer first
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(pdf);
        }
    };
}

} // namespace

TEST(WorkspaceDocuments, FormattedTextSurvivesAShutdownAndARestart) {
    AppFixture app;
    {
        auto form = app.start();
        setRichDocument(doc(*form, 1)->document(), sample());
        doc(*form, 5)->setPlainText(QString::fromUtf8("其它"));
        ASSERT_TRUE(AppFixture::close(*form));
    }
    EXPECT_TRUE(app.tree.get("save/mq1.rtf").startsWith("{\\rtf1\\ansi\\ansicpg936"));
    auto form = app.start();
    EXPECT_TRUE(app.modals.errors.isEmpty()) << app.modals.errors.join('|').toStdString();
    const RichDocument back = richDocument(*doc(*form, 1)->document());
    ASSERT_EQ(back.paragraphs.size(), 2u);
    EXPECT_EQ(back.plainText(), sample().plainText());
    EXPECT_EQ(back.paragraphs[0].alignment, Alignment::Centre);
    EXPECT_EQ(back.paragraphs[0].runs[0].format.font, QString::fromUtf8("黑体"));
    EXPECT_EQ(back.paragraphs[0].runs[0].format.colour, (Rgb{200, 0, 0}));
    EXPECT_EQ(back.paragraphs[1].runs.back().format.halfPoints, 20);
    EXPECT_EQ(doc(*form, 5)->toPlainText(), QString::fromUtf8("其它"));
    EXPECT_TRUE(doc(*form, 2)->toPlainText().isEmpty());
}

TEST(WorkspaceDocuments, SaveWritesTheCopiesThatStartUpNeverReads) {
    AppFixture app;
    auto form = app.start();
    doc(*form, 3)->setPlainText(QString::fromUtf8("绝句"));
    action(*form, "S1")->trigger();
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(app.tree.exists(QStringLiteral("save/mq%1.dat").arg(n)));
    EXPECT_TRUE(app.tree.get("save/mq3.dat").contains(gbk::encode(u"绝句").toHex().left(2)));
    doc(*form, 3)->setPlainText(QString::fromUtf8("改过"));
    ASSERT_TRUE(AppFixture::close(*form));
    auto again = app.start();
    EXPECT_EQ(doc(*again, 3)->toPlainText(), QString::fromUtf8("改过"))
        << "the store file, not the copy";
}

TEST(WorkspaceDocuments, OpenReplacesTheFirstDocumentWhateverTabShows) {
    AppFixture app;
    app.tree.put("poem.txt", QString::fromUtf8("床前明月光，\n疑是地上霜。\n").toUtf8());
    auto form = app.start();
    form->findChild<TskTabControl*>("skTabControl1")->setTabIndex(1);
    app.modals.answer = [&](QDialog& d) {
        if (auto* files = qobject_cast<QFileDialog*>(&d)) {
            files->selectFile(app.tree.path("poem.txt"));
            static_cast<QDialog*>(files)->accept();
        }
    };
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    action(*form, "O1")->trigger(); // the hidden item runs as its key does
    EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("床前明月光，\n疑是地上霜。"));
    EXPECT_TRUE(doc(*form, 1)->isHidden());
    EXPECT_FALSE(doc(*form, 2)->isHidden()) << "豪放词 stays on screen";
    ASSERT_TRUE(AppFixture::close(*form));
    const QByteArray stored = app.tree.get("save/mq1.rtf");
    EXPECT_TRUE(stored.startsWith("{\\rtf1")) << "a plain-text file is written back as RTF";
    EXPECT_TRUE(stored.contains("\\'b4\\'b2")) << "床 in GBK";
}

TEST(WorkspaceDocuments, TheStoredTabAndVisibilityComeBack) {
    AppFixture app;
    app.tree.put("Mqini.ini", "[Temp]\r\nlist6=2\r\nvisible18=0\r\nvisible19=0\r\nvisible20="
                              "1\r\nvisible21=0\r\nvisible22=0\r\n");
    auto form = app.start();
    EXPECT_EQ(form->findChild<TskTabControl*>("skTabControl1")->tabIndex(), 2);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(doc(*form, n)->isHidden(), n != 3) << n;
}

TEST(WorkspaceDocuments, AnOpenedFileKeepsTheEditorsSettingsAndItsEditsAreStored) {
    AppFixture app;
    app.tree.put("poem.txt", QString::fromUtf8("床前明月光，\n").toUtf8());
    auto form = app.start();
    QTextEdit* first = doc(*form, 1);
    action(*form, "C3")->trigger();
    first->setFont(QFont(QStringLiteral("黑体"), 20));
    const QFont font = first->document()->defaultFont();
    app.modals.answer = [&](QDialog& d) {
        if (auto* files = qobject_cast<QFileDialog*>(&d)) {
            files->selectFile(app.tree.path("poem.txt"));
            static_cast<QDialog*>(files)->accept();
        }
    };
    action(*form, "O1")->trigger();
    ASSERT_EQ(first->toPlainText(), QString::fromUtf8("床前明月光，"));
    EXPECT_EQ(first->document()->defaultFont(), font);
    EXPECT_EQ(first->document()->defaultTextOption().alignment(), Qt::AlignHCenter)
        << "what is typed on a new line is still centred";
    EXPECT_TRUE(first->document()->isUndoAvailable()) << "打开 is one step that can be undone";

    first->moveCursor(QTextCursor::End);
    first->textCursor().insertText(QString::fromUtf8("疑是地上霜。"));
    ASSERT_TRUE(AppFixture::close(*form));
    workspace::RtfReader stored;
    ASSERT_TRUE(stored.read(app.tree.get("save/mq1.rtf")));
    EXPECT_EQ(stored.document().plainText(), QString::fromUtf8("床前明月光，疑是地上霜。\n"));
}

TEST(WorkspaceDocuments, AlignmentAppliesToAllFiveAndIsNotStored) {
    AppFixture app;
    {
        auto form = app.start();
        doc(*form, 2)->setPlainText(QString::fromUtf8("居中"));
        action(*form, "C3")->trigger();
        EXPECT_TRUE(action(*form, "C3")->isChecked());
        EXPECT_FALSE(action(*form, "L1")->isChecked());
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(doc(*form, n)->document()->begin().blockFormat().alignment() &
                          Qt::AlignHorizontal_Mask,
                      Qt::AlignHCenter);
        ASSERT_TRUE(AppFixture::close(*form));
    }
    auto form = app.start();
    EXPECT_TRUE(action(*form, "L1")->isChecked()) << "左对齐 at every start";
    EXPECT_EQ(doc(*form, 2)->document()->begin().blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter)
        << "the text keeps its alignment";
}

TEST(WorkspaceDocuments, ADamagedStoreFileIsReportedAndKept) {
    AppFixture app;
    app.tree.put("save/mq3.rtf",
                 "{\\rtf1\\ansi\\ansicpg936 \\'c7\\'ef\\'b7\\'e7\\par {\\b cut off");
    auto form = app.start();
    ASSERT_EQ(app.modals.errors.size(), 1);
    EXPECT_TRUE(
        app.modals.errors.first().startsWith(QString::fromUtf8("文件 save\\mq3.rtf 已损坏")))
        << app.modals.errors.first().toStdString();
    EXPECT_TRUE(app.modals.errors.first().contains("save\\mq3.rtf.orig"));
    EXPECT_TRUE(doc(*form, 3)->toPlainText().startsWith(QString::fromUtf8("秋风")));
    EXPECT_TRUE(app.tree.get("save/mq3.rtf.orig").endsWith("cut off"))
        << "the original is kept aside";
    doc(*form, 3)->append(QString::fromUtf8("续写"));
    ASSERT_TRUE(AppFixture::close(*form));
    EXPECT_TRUE(app.tree.get("save/mq3.rtf.orig").endsWith("cut off"));
    auto again = app.start();
    EXPECT_TRUE(doc(*again, 3)->toPlainText().contains(QString::fromUtf8("续写")))
        << "the document is written back with what was added";
}

// Shutdown writes a store file only when its document changed since it was loaded:
// the file's own bytes (here, a spelling our writer would not produce) stay as they are.
TEST(WorkspaceDocuments, ShutdownRewritesOnlyTheDocumentsThatChanged) {
    const QByteArray own = "{\\rtf1\\ansi\\ansicpg936 {\\fonttbl}\\'b4\\'ba\\par}";
    struct Case {
        const char* what;
        std::function<void(QTextEdit*)> change; // on document 2
        bool rewritten;
    };
    const Case cases[] = {
        {"nothing", [](QTextEdit*) {}, false},
        {"typing", [](QTextEdit* d) { d->textCursor().insertText(QString::fromUtf8("雨")); }, true},
        {"replacing the text", [](QTextEdit* d) { d->setPlainText(QString::fromUtf8("雪")); },
         true},
        {"the base font", [](QTextEdit* d) { d->setFont(QFont(QStringLiteral("黑体"), 20)); },
         true},
    };
    for (const Case& c : cases) {
        AppFixture app;
        for (int n = 1; n <= 5; ++n)
            app.tree.put(QStringLiteral("save/mq%1.rtf").arg(n), own);
        const QByteArray damaged = "{\\rtf1\\ansi\\ansicpg936 \\'b4\\'ba\\par {\\b cut";
        app.tree.put("save/mq4.rtf", damaged);
        QFile::remove(app.tree.path("save/mq5.rtf"));
        auto form = app.start();
        c.change(doc(*form, 2));
        ASSERT_TRUE(AppFixture::close(*form)) << c.what;
        EXPECT_EQ(app.tree.get("save/mq1.rtf"), own) << c.what;
        EXPECT_EQ(app.tree.get("save/mq2.rtf") != own, c.rewritten) << c.what;
        EXPECT_NE(app.tree.get("save/mq4.rtf"), damaged)
            << c.what << ": a damaged file read in part is written back";
        EXPECT_TRUE(app.tree.exists("save/mq5.rtf")) << c.what << ": a missing file is written";
    }
}

TEST(WorkspaceDocuments, ALoadedDocumentOpensAtItsFirstLine) {
    AppFixture app;
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936 ";
    for (int i = 0; i < 400; ++i)
        rtf += "\\'b4\\'ba\\'bd\\'ad\\par ";
    app.tree.put("save/mq1.rtf", rtf + "}");
    auto form = app.start();
    form->show();
    QApplication::processEvents();
    EXPECT_EQ(doc(*form, 1)->textCursor().position(), 0);
    EXPECT_EQ(doc(*form, 1)->verticalScrollBar()->value(), 0);
}

TEST(WorkspaceDocuments, EachDamageKeepsItsOwnOriginal) {
    AppFixture app;
    const QByteArray first = "{\\rtf1\\ansi\\ansicpg936 \\'c7\\'ef first cut";
    const QByteArray second = "{\\rtf1\\ansi\\ansicpg936 \\'b7\\'e7 second cut";
    {
        app.tree.put("save/mq3.rtf", first);
        auto form = app.start();
        ASSERT_TRUE(AppFixture::close(*form)); // what could be read is written back
    }
    for (int start = 0; start < 2; ++start) {
        // Damaged again, and started twice without a shutdown in between.
        app.tree.put("save/mq3.rtf", second);
        app.start();
    }
    EXPECT_EQ(app.tree.get("save/mq3.rtf.orig"), first);
    EXPECT_EQ(app.tree.get("save/mq3.rtf.orig.1"), second);
    EXPECT_FALSE(app.tree.exists("save/mq3.rtf.orig.2")) << "the same original is kept once";
    EXPECT_TRUE(app.modals.errors.last().contains("save\\mq3.rtf.orig.1"))
        << app.modals.errors.last().toStdString();
}

TEST(WorkspaceDocuments, UndoNeverEmptiesALoadedDocument) {
    AppFixture app;
    app.tree.put("save/mq1.rtf", "{\\rtf1\\ansi\\ansicpg936 \\'b4\\'ba\\par}");
    auto form = app.start();
    EXPECT_FALSE(doc(*form, 1)->document()->isUndoAvailable());
    form->findChild<QToolButton*>("ToolButton5")->click(); // 撤消上一步操作 on the shown document
    EXPECT_EQ(doc(*form, 1)->toPlainText(), QString::fromUtf8("春"));
}

TEST(WordCount, CountsTheChosenDocumentByGbkBytes) {
    AppFixture app;
    auto form = app.start();
    doc(*form, 2)->setPlainText(QString::fromUtf8("你好，world!"));
    doc(*form, 4)->setPlainText(QString::fromUtf8("a b\nc丂"));
    QStringList seen;
    app.modals.answer = [&](QDialog& d) {
        if (d.objectName() != "Form2")
            return;
        auto* line1 = d.findChild<QLabel*>("Label1");
        auto* line2 = d.findChild<QLabel*>("Label2");
        seen << line1->text() + "|" + line2->text();
        d.findChild<QPushButton*>("CountButton2")->click();
        seen << line1->text() + "|" + line2->text();
        d.findChild<QPushButton*>("CountButton4")->click();
        seen << line1->text() + "|" + line2->text();
        d.findChild<QPushButton*>("CountButton1")->click(); // an empty document leaves both lines
        seen << line1->text() + "|" + line2->text();
        d.findChild<QPushButton*>("QuitButton")->click();
    };
    action(*form, "W2")->trigger();
    EXPECT_EQ(seen, (QStringList{QString::fromUtf8("您的诗词字数为：|"),
                                 QString::fromUtf8("您的诗词字数为：3|输入了 6 个英文字符"),
                                 QString::fromUtf8("您的诗词字数为：0|输入了 4 个英文字符"),
                                 QString::fromUtf8("您的诗词字数为：0|输入了 4 个英文字符")}));
}

TEST(Printing, PrintsTheFirstDocumentLineByLineAndCancelPrintsNothing) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    AppFixture app;
    auto form = app.start();
    form->show();
    doc(*form, 1)->setPlainText(QString::fromUtf8("春眠不觉晓\n处处闻啼鸟\n\n夜来风雨声\n"));
    doc(*form, 2)->setPlainText(QString::fromUtf8("不应打印"));
    form->findChild<TskTabControl*>("skTabControl1")->setTabIndex(1);
    const QString pdf = app.tree.path("out.pdf");

    app.modals.answer = [](QDialog& d) { d.reject(); };
    action(*form, "P5")->trigger();
    EXPECT_FALSE(QFile::exists(pdf)) << "cancel prints nothing";

    app.modals.answer = printTo(pdf);
    action(*form, "P5")->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    const QStringList printed = pdfLines(pdf);
    EXPECT_TRUE(
        sameLines(printed, {QString::fromUtf8("春眠不觉晓"), QString::fromUtf8("处处闻啼鸟"),
                            QString::fromUtf8("夜来风雨声")}))
        << printed.join('|').toStdString();
}

TEST(Printing, ALongDocumentGoesOnToNewPages) {
    AppFixture app;
    auto form = app.start();
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << QString::fromUtf8("第%1行").arg(i);
    doc(*form, 1)->setPlainText(many.join('\n'));
    const QString pdf = app.tree.path("long.pdf");
    app.modals.answer = printTo(pdf);
    action(*form, "P5")->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        GTEST_SKIP() << "poppler's tools are not installed";
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    const QString pages = QString::fromUtf8(info.readAllStandardOutput())
                              .section("Pages:", 1)
                              .section('\n', 0, 0)
                              .trimmed();
    EXPECT_GT(pages.toInt(), 1) << "200 lines do not fit on one page";
    const QStringList lines = pdfLines(pdf);
    EXPECT_TRUE(sameLines(lines, many)) << lines.join('|').toStdString();
}

TEST(EditCommands, OfferedOnlyWhenTheyApply) {
    AppFixture app;
    auto form = app.start();
    form->show();
    QTextEdit* first = doc(*form, 1);
    first->setPlainText(QString::fromUtf8("词"));
    first->setFocus();
    QApplication::setActiveWindow(form.get());
    QApplication::clipboard()->clear();
    auto refresh = [&] { Q_EMIT form->actions().editMenu->aboutToShow(); };
    first->setFocus();
    refresh();
    if (QApplication::focusWidget() != first)
        GTEST_SKIP() << "no keyboard focus on this platform";
    EXPECT_FALSE(action(*form, "X2")->isEnabled()) << "cut needs a selection";
    EXPECT_FALSE(action(*form, "C1")->isEnabled());
    EXPECT_FALSE(action(*form, "V1")->isEnabled()) << "paste needs text on the clipboard";
    first->selectAll();
    QApplication::clipboard()->setText("x");
    refresh();
    EXPECT_TRUE(action(*form, "X2")->isEnabled());
    EXPECT_TRUE(action(*form, "C1")->isEnabled());
    EXPECT_TRUE(action(*form, "V1")->isEnabled());
    action(*form, "P7")->trigger(); // protect
    refresh();
    EXPECT_FALSE(action(*form, "X2")->isEnabled()) << "nothing changes a read-only document";
    EXPECT_TRUE(action(*form, "C1")->isEnabled());
    EXPECT_FALSE(action(*form, "V1")->isEnabled());
    EXPECT_FALSE(action(*form, "Z1")->isEnabled());
}

TEST(WorkspaceDocuments, NewTextIsStoredIn12PixelSong) {
    AppFixture app;
    auto form = app.start();
    doc(*form, 4)->setPlainText(QString::fromUtf8("律"));
    ASSERT_TRUE(AppFixture::close(*form));
    const QByteArray rtf = app.tree.get("save/mq4.rtf");
    EXPECT_TRUE(rtf.contains("\\'cb\\'ce\\'cc\\'e5"))
        << "宋体 in the font table: " << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\fs18")) << "9 points";
}
