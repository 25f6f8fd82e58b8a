#include "base/core/gbk.h"
#include "base/core/settings_file.h"
#include "favourites/core/favourites_store.h"
#include "favourites/ui/add_favourite_window.h"
#include "favourites/ui/clear_favourites_window.h"
#include "favourites/ui/edit_favourites_window.h"
#include "skin/ui/message_dialog.h"
#include "skin/ui/skinned.h"
#include "support/app_fixture.h"
#include "support/run_cli.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using favourites::Contents;

namespace {

const QString kExamples = QStringLiteral("昨夜雨疏风骤，\n浓睡不消残酒。");
const QString kPattern = QStringLiteral("◎●◎○○●▲，\n◎●●○○▲。");

template <class T = QWidget> T* child(QObject& form, const QString& name) {
    T* c = form.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

QListWidget* list(TForm1& form) {
    return child<QListWidget>(form, "skListBox4");
}

QStringList rows(TForm1& form) {
    QStringList out;
    for (int i = 0; i < list(form)->count(); ++i)
        out << list(form)->item(i)->text();
    return out;
}

// What the favourite's panes show: the title, the poem and the pattern.
Contents shown(TForm1& form) {
    return {child<TskPanel>(form, "skPanel8")->caption(),
            child<QPlainTextEdit>(form, "skMmemo1")->toPlainText(),
            child<QPlainTextEdit>(form, "skMmemo3")->toPlainText()};
}

// Selects `row` afresh, as a click on it does.
Contents showRow(TForm1& form, int row) {
    list(form)->setCurrentRow(-1);
    list(form)->setCurrentRow(row);
    return shown(form);
}

void trigger(TForm1& form, const char* item) {
    child<QAction>(form, QString::fromLatin1(item))->trigger();
}

struct Favourites : AppFixture {
    std::unique_ptr<TForm1> form = start();

    // Shutdown and start-up again over the same folder.
    void restart() {
        ASSERT_TRUE(close(*form)) << modals.errors.join(" | ").toStdString();
        form.reset();
        form = start();
    }

    // 添加收藏 with the three fields filled and 添加 pressed.
    void add(const QString& name, const QString& examples, const QString& pattern) {
        modals.answer = [&](QDialog& d) {
            if (auto* w = qobject_cast<AddFavouriteWindow*>(&d)) {
                w->nameField->setText(name);
                w->examplesField->setPlainText(examples);
                w->patternField->setPlainText(pattern);
                w->addButton->click();
            }
        };
        trigger(*form, "N2");
        modals.answer = nullptr;
    }

    // 修改收藏列表 with the box's text replaced, then 确定; returns what the box showed.
    QString editList(const QString& text) {
        QString before;
        modals.answer = [&](QDialog& d) {
            if (auto* w = qobject_cast<EditFavouritesWindow*>(&d)) {
                before = w->namesField->toPlainText();
                w->namesField->setPlainText(text);
                w->okButton->click();
            }
        };
        trigger(*form, "L3");
        modals.answer = nullptr;
        return before;
    }

    Contents slot(int n) const {
        return favourites::readSlot(SettingsFile(tree.path("Mqini.ini")), n);
    }
    QStringList sectionKeys(const char* section) const {
        return SettingsFile(tree.path("Mqini.ini")).keys(QString::fromUtf8(section));
    }
};

} // namespace

TEST(Favourites, AddingToAnEmptyCollectionStoresTheNameAndSlotOne) {
    Favourites app;
    child<TskRadioButton>(*app.form, "skRadioButton6")->setSkChecked(true);
    app.add("如梦令", kExamples, kPattern);
    EXPECT_TRUE(app.modals.errors.isEmpty()) << app.modals.errors.join(" | ").toStdString();

    EXPECT_EQ(app.tree.get("user.dat"), gbk::encode(QStringLiteral("如梦令\r\n")));
    EXPECT_EQ(app.slot(1), (Contents{"如梦令", kExamples, kPattern}));
    for (const char* section : {"标题", "诗词", "词谱"})
        EXPECT_EQ(app.sectionKeys(section), QStringList{"1"}) << section;

    TForm1& form = *app.form;
    EXPECT_TRUE(child<TskRadioButton>(form, "skRadioButton7")->isChecked()) << "诗/藏 view";
    EXPECT_FALSE(child(form, "Panel1")->isVisibleTo(&form));
    EXPECT_TRUE(child(form, "skPanel8")->isVisibleTo(&form));
    EXPECT_TRUE(child(form, "skMmemo3")->isVisibleTo(&form));
    EXPECT_FALSE(child(form, "skPanel6")->isVisibleTo(&form));
    EXPECT_EQ(list(form)->currentRow(), 0);
    EXPECT_EQ(shown(form), app.slot(1));

    // The shown texts and the slot both come back whole after a restart.
    app.restart();
    EXPECT_EQ(rows(*app.form), QStringList{"如梦令"});
    EXPECT_EQ(shown(*app.form), (Contents{"如梦令", kExamples, kPattern}));
    EXPECT_TRUE(child(*app.form, "skPanel8")->isVisibleTo(app.form.get()));
    child<QPlainTextEdit>(*app.form, "skMmemo3")->clear();
    EXPECT_EQ(showRow(*app.form, 0).pattern, kPattern);
}

TEST(Favourites, AFavouriteTakesTheCentreUntilTheVerseListOrTheCiViewGiveItBack) {
    Favourites app;
    app.seedTemplateFiles();
    app.add("如梦令", kExamples, kPattern);
    TForm1& form = *app.form;
    auto* lineBreak = child<QAction>(form, "H1");
    auto centreShows = [&](const char* panel, const char* pane) {
        return child(form, panel)->isVisibleTo(&form) && child(form, pane)->isVisibleTo(&form);
    };

    child<TskRadioButton>(form, "skRadioButton6")->setSkChecked(true);
    lineBreak->trigger(); // the template strip gives way to the template-file column
    ASSERT_FALSE(child(form, "skPanel7")->isVisibleTo(&form));
    child<TskRadioButton>(form, "skRadioButton7")->setSkChecked(true);
    showRow(form, 0);
    EXPECT_TRUE(centreShows("skPanel8", "skMmemo3"));
    EXPECT_FALSE(child(form, "skPanel6")->isVisibleTo(&form));
    EXPECT_TRUE(child(form, "skPanel7")->isVisibleTo(&form));
    EXPECT_FALSE(child(form, "skPanel11")->isVisibleTo(&form));
    EXPECT_FALSE(lineBreak->isEnabled());
    EXPECT_TRUE(lineBreak->isChecked()) << "its check mark stays";

    child<QListWidget>(form, "skListBox3")->setCurrentRow(1);
    EXPECT_TRUE(centreShows("skPanel6", "skMemo3"));
    EXPECT_FALSE(child(form, "skPanel8")->isVisibleTo(&form));
    EXPECT_TRUE(lineBreak->isEnabled());

    showRow(form, 0);
    child<TskRadioButton>(form, "skRadioButton6")->setSkChecked(true);
    EXPECT_TRUE(centreShows("skPanel6", "skMemo3"));
    EXPECT_FALSE(child(form, "skMmemo3")->isVisibleTo(&form));
    EXPECT_TRUE(lineBreak->isEnabled());
    EXPECT_TRUE(app.modals.errors.isEmpty()) << app.modals.errors.join(" | ").toStdString();
}

TEST(Favourites, TheAddWindowWantsANameAndAPatternAndEnterMovesOn) {
    struct Case {
        QString name, pattern, message;
    } cases[] = {
        {"", "P", "请填写词牌名！"},
        {"如梦令", "", "请填写词谱！"},
    };
    for (const Case& c : cases) {
        Favourites app;
        app.add(c.name, kExamples, c.pattern);
        EXPECT_EQ(app.modals.messages, QStringList{c.message});
        EXPECT_TRUE(rows(*app.form).isEmpty());
        EXPECT_TRUE(app.tree.get("user.dat").isEmpty());
        EXPECT_TRUE(app.sectionKeys("词谱").isEmpty());
    }

    Favourites app;
    app.modals.answer = [](QDialog& d) {
        auto* w = qobject_cast<AddFavouriteWindow*>(&d);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->width(), 317);
        w->show();
        w->nameField->setFocus();
        QTest::keyClick(w->nameField, Qt::Key_Return);
        EXPECT_EQ(w->focusWidget(), w->examplesField);
        w->examplesField->setPlainText("一");
        QTest::keyClick(w->examplesField, Qt::Key_Return);
        EXPECT_EQ(w->examplesField->toPlainText(), "一") << "Enter writes nothing";
        EXPECT_EQ(w->focusWidget(), w->patternField);
        QTest::keyClick(w->patternField, Qt::Key_Enter);
        EXPECT_EQ(w->focusWidget(), w->addButton);
        EXPECT_TRUE(w->patternField->toPlainText().isEmpty());
    };
    trigger(*app.form, "N2");
}

TEST(Favourites, EditsInTheUnlockedBoxesAreSavedAndCancellingAnAddSavesThemToo) {
    Favourites app;
    app.add("如梦令", kExamples, kPattern);
    app.add("忆江南", "", "○●●");
    trigger(*app.form, "M3"); // unlock
    list(*app.form)->setCurrentRow(0);
    child<QPlainTextEdit>(*app.form, "skMmemo3")->setPlainText("改过的词谱");
    trigger(*app.form, "V2");
    EXPECT_EQ(app.slot(1), (Contents{"如梦令", kExamples, "改过的词谱"}));
    EXPECT_EQ(app.slot(2).pattern, "○●●");

    list(*app.form)->setCurrentRow(1);
    child<QPlainTextEdit>(*app.form, "skMmemo1")->setPlainText("新例句");
    trigger(*app.form, "N2"); // closed without adding
    EXPECT_EQ(app.slot(2), (Contents{"忆江南", "新例句", "○●●"}));
    EXPECT_EQ(app.tree.get("user.dat"), gbk::encode(QStringLiteral("如梦令\r\n忆江南\r\n")));
}

TEST(Favourites, TheListEditorKeepsEveryNameWithItsOwnText) {
    Favourites app;
    for (const char* name : {"如梦令", "忆江南", "长相思"})
        app.add(name, QString::fromUtf8(name) + "例", QString::fromUtf8(name) + "谱");
    auto own = [](const QString& name) { return Contents{name, name + "例", name + "谱"}; };
    app.restart();

    struct Step {
        const char* what;
        QString text;
        QStringList rows;
        QStringList owners; // whose text each row shows; empty for none
    } steps[] = {
        {"the first deleted", "忆江南\n长相思\n", {"忆江南", "长相思"}, {"忆江南", "长相思"}},
        {"one inserted",
         "忆江南\n新调\n长相思",
         {"忆江南", "新调", "长相思"},
         {"忆江南", "", "长相思"}},
        {"reordered",
         "长相思\n忆江南\n新调\n",
         {"长相思", "忆江南", "新调"},
         {"长相思", "忆江南", ""}},
        {"one renamed in place",
         "长相思\n改名二\n新调\n",
         {"长相思", "改名二", "新调"},
         {"长相思", "忆江南", ""}},
    };
    for (const Step& s : steps) {
        app.editList(s.text);
        EXPECT_EQ(rows(*app.form), s.rows) << s.what;
        EXPECT_EQ(gbk::decode(app.tree.get("user.dat")), QString(s.text).replace("\n", "\r\n"))
            << s.what << ": the box's text as it stands";
        app.restart();
        ASSERT_EQ(rows(*app.form), s.rows) << s.what;
        for (int row = 0; row < s.rows.size(); ++row) {
            const QString& owner = s.owners[row];
            EXPECT_EQ(showRow(*app.form, row), owner.isEmpty() ? Contents{} : own(owner))
                << s.what << ": " << s.rows[row].toStdString();
        }
        EXPECT_EQ(app.sectionKeys("标题").size(), s.rows.size()) << s.what;
    }
}

TEST(Favourites, TheShownFavouriteStaysSelectedOnItsNewRowSoItsEditsGoWithIt) {
    Favourites app;
    app.add("如梦令", "", "甲");
    app.add("忆江南", "", "乙");
    trigger(*app.form, "M3");
    list(*app.form)->setCurrentRow(1);
    app.editList("忆江南\n如梦令\n");
    EXPECT_EQ(list(*app.form)->currentRow(), 0);
    child<QPlainTextEdit>(*app.form, "skMmemo3")->setPlainText("乙二");
    trigger(*app.form, "V2");
    EXPECT_EQ(app.slot(1).pattern, "乙二");
    EXPECT_EQ(app.slot(2).pattern, "甲");

    app.restart();
    EXPECT_EQ(showRow(*app.form, 0), (Contents{"忆江南", "", "乙二"}));
    EXPECT_EQ(showRow(*app.form, 1), (Contents{"如梦令", "", "甲"}));
}

TEST(Favourites, ClearThenTheEditorBringsTheNamesBackWithTheirText) {
    Favourites app;
    app.add("如梦令", kExamples, kPattern);
    app.add("忆江南", "", "○●●");
    app.modals.answer = [](QDialog& d) {
        auto* w = qobject_cast<ClearFavouritesWindow*>(&d);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->focusWidget(), w->cancelButton) << "the focus starts on 取消";
        w->okButton->click();
    };
    trigger(*app.form, "D3");
    app.modals.answer = nullptr;
    EXPECT_TRUE(rows(*app.form).isEmpty());
    EXPECT_EQ(shown(*app.form), (Contents{"忆江南", "", ""})) << "the title caption stays";

    EXPECT_EQ(app.editList("如梦令\n忆江南\n"), "如梦令\n忆江南\n") << "read from user.dat";
    EXPECT_EQ(rows(*app.form), QStringList({"如梦令", "忆江南"}));
    EXPECT_EQ(showRow(*app.form, 0), (Contents{"如梦令", kExamples, kPattern}));
}

TEST(Favourites, AfterClearAndShutdownNoLaterFavouriteShowsOldText) {
    Favourites app;
    app.add("如梦令", kExamples, kPattern);
    app.add("忆江南", "", "○●●");
    app.modals.answer = [](QDialog& d) {
        qobject_cast<ClearFavouritesWindow*>(&d)->okButton->click();
    };
    trigger(*app.form, "D3");
    app.modals.answer = nullptr;
    app.restart();
    EXPECT_TRUE(app.tree.get("user.dat").isEmpty());
    for (const char* section : {"标题", "诗词", "词谱"})
        EXPECT_TRUE(app.sectionKeys(section).isEmpty()) << section;

    app.editList("如梦令\n忆江南\n");
    EXPECT_EQ(showRow(*app.form, 0), (Contents{}));
    EXPECT_EQ(showRow(*app.form, 1), (Contents{}));
}

TEST(Favourites, LockingMakesTheBoxesReadOnlyAndEitherAnswerUnlocks) {
    for (const char* answer : {"Button1", "Button2"}) {
        Favourites app;
        auto* poem = child<QPlainTextEdit>(*app.form, "skMmemo1");
        auto* pattern = child<QPlainTextEdit>(*app.form, "skMmemo3");
        EXPECT_TRUE(poem->isReadOnly() && pattern->isReadOnly()) << "locked at first start";
        QString text;
        app.modals.answer = [&](QDialog& d) {
            auto* w = qobject_cast<TskMessageWindow*>(&d);
            ASSERT_NE(w, nullptr) << d.objectName().toStdString();
            text = w->messageText;
            child<QPushButton>(d, answer)->click();
        };
        trigger(*app.form, "M3");
        app.modals.answer = nullptr;
        EXPECT_EQ(app.modals.dialogs.last(), "skMessageDialog2");
        EXPECT_TRUE(text.startsWith("现在，您的个人收藏可以在诗词栏和词谱栏随意修改")) << answer;
        EXPECT_FALSE(poem->isReadOnly() || pattern->isReadOnly()) << answer;
        app.restart();
        EXPECT_FALSE(child<QAction>(*app.form, "M3")->isChecked());
        EXPECT_FALSE(child<QPlainTextEdit>(*app.form, "skMmemo3")->isReadOnly());
        const qsizetype dialogs = app.modals.dialogs.size();
        trigger(*app.form, "M3"); // locking asks nothing
        EXPECT_EQ(app.modals.dialogs.size(), dialogs);
        EXPECT_TRUE(child<QPlainTextEdit>(*app.form, "skMmemo1")->isReadOnly());
    }
}

TEST(Favourites, TheFiftyFirstFavouriteIsStoredAndComesBack) {
    Favourites app;
    QStringList fifty;
    for (int i = 1; i <= 50; ++i)
        fifty << QStringLiteral("调%1").arg(i);
    app.form.reset(); // no shutdown: it would write the names it loaded
    app.tree.put("user.dat", gbk::encode(fifty.join("\r\n") + "\r\n"));
    app.form = app.start();
    app.add("第五十一", kExamples, kPattern);
    app.restart();
    ASSERT_EQ(list(*app.form)->count(), 51);
    EXPECT_EQ(showRow(*app.form, 50), (Contents{"第五十一", kExamples, kPattern}));

    const CliRun run = runCli({"favourites", app.tree.path(), "--json"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonArray all = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(all.size(), 51);
    const QJsonObject last = all.last().toObject();
    EXPECT_EQ(last["position"].toInt(), 50);
    EXPECT_EQ(last["name"].toString(), "第五十一");
    EXPECT_EQ(last["examples"].toString(), kExamples);
    EXPECT_EQ(last["pattern"].toString(), kPattern);
}

TEST(Favourites, AFailedWriteKeepsWhatWasTypedAndWhatWasOnDisk) {
    struct Case {
        const char* what;
        const char* blocked; // made a folder after start-up, so it cannot be written
        const char* error;
    } cases[] = {
        {"settings file", "Mqini.ini", "Unable to write to "},
        {"names file", "user.dat", "Cannot create file "},
    };
    for (const Case& c : cases) {
        Favourites app;
        app.add("如梦令", kExamples, kPattern);
        const QByteArray names = app.tree.get("user.dat");
        const QByteArray ini = app.tree.get("Mqini.ini");
        QFile::remove(app.tree.path(c.blocked));
        app.tree.mkdir(c.blocked);

        QString kept;
        app.modals.answer = [&](QDialog& d) {
            auto* w = qobject_cast<AddFavouriteWindow*>(&d);
            w->nameField->setText("忆江南");
            w->patternField->setPlainText("○●●");
            w->addButton->click();
            EXPECT_EQ(d.result(), -1) << c.what << ": the window stays open";
            kept = w->nameField->text() + w->patternField->toPlainText();
        };
        trigger(*app.form, "N2");
        ASSERT_FALSE(app.modals.errors.isEmpty()) << c.what;
        EXPECT_TRUE(app.modals.errors.first().startsWith(c.error)) << c.what;
        EXPECT_EQ(kept, "忆江南○●●") << c.what;
        EXPECT_EQ(rows(*app.form), QStringList{"如梦令"}) << c.what;

        // The list editor keeps its text the same way.
        QString editorText;
        app.modals.answer = [&](QDialog& d) {
            auto* w = qobject_cast<EditFavouritesWindow*>(&d);
            w->namesField->setPlainText("忆江南\n如梦令\n");
            w->okButton->click();
            editorText = w->namesField->toPlainText();
            EXPECT_EQ(d.result(), -1) << c.what;
        };
        trigger(*app.form, "L3");
        if (QString(c.blocked) == "Mqini.ini") {
            EXPECT_EQ(editorText, "忆江南\n如梦令\n") << c.what;
        }
        EXPECT_EQ(rows(*app.form), QStringList{"如梦令"}) << c.what;

        QDir(app.tree.path()).rmdir(c.blocked);
        if (QString(c.blocked) == "user.dat")
            EXPECT_EQ(app.tree.get("Mqini.ini"), ini) << c.what << ": the slots put back";
        else
            EXPECT_EQ(app.tree.get("user.dat"), names) << c.what;
    }
}

TEST(Favourites, TheCommandLineSaysWhenThereAreNone) {
    AppFixture app;
    const CliRun none = runCli({"favourites", app.tree.path()});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_EQ(runCli({"favourites", app.tree.path("nowhere")}).code, 1);
    EXPECT_EQ(runCli({"favourites", "--xml"}).code, 2);

    app.tree.put("user.dat", gbk::encode(QStringLiteral("如梦令\r\n")));
    SettingsFile(app.tree.path("Mqini.ini")).writeString("词谱", "1", kPattern);
    const CliRun one = runCli({"favourites", app.tree.path()});
    EXPECT_EQ(one.code, 0);
    EXPECT_EQ(one.out, QString("0 如梦令\n  title: \n  examples: \n  pattern: ◎●◎○○●▲，\n"
                               "           ◎●●○○▲。\n"));
}
