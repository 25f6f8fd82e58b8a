// The 音乐 menu's player state machine, driven through the real main window with the
// recording MIDI device.

#include "app/ui/music_menu.h"
#include "support/app_fixture.h"
#include "support/recording_midi.h"
#include "support/recording_url_opener.h"

#include <QAction>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Mode = MidiDevice::Mode;

struct MusicWindow {
    AppFixture app;
    RecordingMidi midi;
    RecordingUrlOpener urls;
    std::unique_ptr<TForm1> form;

    MusicWindow() {
        app.tree.mkdir("midi");
        for (const char* piece : {"贝多芬·献给爱丽丝", "春江花月夜"})
            app.tree.put(QStringLiteral("midi/%1.mid").arg(QString::fromUtf8(piece)), "MThd");
        AppContext context{DataRoot(app.tree.path()),
                           app.tree.path("Mqini.ini"),
                           &app.modals,
                           nullptr,
                           &urls,
                           &midi};
        form = std::make_unique<TForm1>(context);
        app.modals.errors.clear();
    }
    QAction* item(const char* name) { return form->findChild<QAction*>(QString::fromLatin1(name)); }
    void click(const char* name) { item(name)->trigger(); }
    bool pauseChecked() { return item("P8")->isChecked(); }
    QString playing() { return QFileInfo(midi.path()).fileName(); }
};

TEST(MusicMenu, APieceOpensItsFileUnderMidiAndPlaysFromTheStart) {
    MusicWindow w;
    w.click("N9");
    EXPECT_EQ(w.midi.mode(), Mode::Playing);
    EXPECT_EQ(w.playing(), QStringLiteral("贝多芬·献给爱丽丝.mid"));
    EXPECT_TRUE(w.app.modals.errors.isEmpty());

    // A second piece while the first plays: the first is closed, the second starts.
    w.midi.advance(5000);
    w.midi.calls.clear();
    w.click("N11");
    EXPECT_EQ(w.midi.calls,
              (QStringList{QStringLiteral("open ") + w.midi.path(), "close", "play"}));
    EXPECT_EQ(w.playing(), QStringLiteral("春江花月夜.mid"));
    EXPECT_EQ(w.midi.position(), 0);
    EXPECT_EQ(w.midi.mode(), Mode::Playing);
}

TEST(MusicMenu, PauseTwiceContinuesFromTheSamePoint) {
    MusicWindow w;
    w.click("N9");
    w.midi.advance(3000);
    w.click("P8");
    EXPECT_TRUE(w.pauseChecked());
    EXPECT_EQ(w.midi.mode(), Mode::Paused);
    w.midi.advance(2000); // time passes; the piece stays where it was
    w.click("P8");
    EXPECT_FALSE(w.pauseChecked());
    EXPECT_EQ(w.midi.mode(), Mode::Playing);
    EXPECT_EQ(w.midi.position(), 3000);
}

TEST(MusicMenu, ANewPieceWhilePauseIsCheckedPlaysAndKeepsTheCheck) {
    MusicWindow w;
    w.click("N9");
    w.click("P8");
    w.click("N11");
    EXPECT_EQ(w.midi.mode(), Mode::Playing);
    EXPECT_TRUE(w.pauseChecked());
    w.click("P8"); // clears the check; the piece goes on
    EXPECT_FALSE(w.pauseChecked());
    EXPECT_EQ(w.midi.mode(), Mode::Playing);
    w.click("P8"); // and now pauses it
    EXPECT_TRUE(w.pauseChecked());
    EXPECT_EQ(w.midi.mode(), Mode::Paused);
}

TEST(MusicMenu, ClearingPauseAfterTheEndReplaysFromTheStart) {
    MusicWindow w;
    w.click("N9");
    w.midi.advance(60000);
    w.midi.finish();
    EXPECT_EQ(w.midi.mode(), Mode::Stopped) << "an ended piece stays open";
    w.click("P8"); // checked: nothing to pause
    EXPECT_EQ(w.midi.mode(), Mode::Stopped);
    w.click("P8");
    EXPECT_EQ(w.midi.mode(), Mode::Playing);
    EXPECT_EQ(w.midi.position(), 0);
    EXPECT_TRUE(w.app.modals.errors.isEmpty());
}

TEST(MusicMenu, PauseBeforeAnyPieceReportsNoDeviceAndStillToggles) {
    MusicWindow w;
    w.click("P8");
    EXPECT_EQ(w.app.modals.errors, QStringList{"No MCI device open"});
    EXPECT_TRUE(w.pauseChecked());
    w.click("P8");
    EXPECT_EQ(w.app.modals.errors.size(), 2);
    EXPECT_FALSE(w.pauseChecked());
}

TEST(MusicMenu, APieceWithoutItsFileIsNotOfferedAndIsToldMissingBeforeTheDeviceIsAsked) {
    MusicWindow w;
    QAction* absent = w.item("sda1"); // 瑶族舞曲 has no file here
    EXPECT_FALSE(absent->isEnabled());
    EXPECT_TRUE(absent->statusTip().startsWith(QStringLiteral("瑶族舞曲：找不到乐曲文件")))
        << absent->statusTip().toStdString();
    EXPECT_TRUE(w.item("N9")->isEnabled());

    // A file that goes while the program runs: the piece playing stops, the device is
    // not asked to open what is not there, and the item is no longer offered.
    w.click("N9");
    ASSERT_TRUE(QFile::remove(w.app.tree.path("midi/春江花月夜.mid")));
    w.midi.calls.clear();
    w.click("N11");
    EXPECT_EQ(w.app.modals.errors,
              QStringList{QStringLiteral("找不到乐曲文件 midi\\春江花月夜.mid，不能播放")});
    EXPECT_EQ(w.midi.calls, QStringList{"close"});
    EXPECT_EQ(w.midi.mode(), Mode::NotOpen) << "nothing plays";
    EXPECT_FALSE(w.item("N11")->isEnabled());
}

TEST(MusicMenu, EachItemNamesItsFileByItsCaption) {
    MusicWindow w;
    const QList<QAction*> items = w.form->actions().pieces;
    ASSERT_EQ(items.size(), 11);
    EXPECT_EQ(MusicMenu::piecePath(items.at(0)), QStringLiteral("midi\\贝多芬·献给爱丽丝.mid"));
    EXPECT_EQ(MusicMenu::piecePath(items.at(2)), QStringLiteral("midi\\春江花月夜.mid"));
    EXPECT_EQ(MusicMenu::piecePath(items.at(10)), QStringLiteral("midi\\瑶族舞曲.mid"));
    for (QAction* item : items) {
        if (item->isEnabled()) {
            EXPECT_EQ(item->statusTip(), item->text()) << "a piece's hint is its caption";
        }
    }
}

} // namespace
