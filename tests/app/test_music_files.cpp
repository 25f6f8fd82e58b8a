// The shipped pieces: each notation file compiles to a standard MIDI file that
// FluidSynth renders to sound lasting as long as the notation says; the notation's own
// checks; and the program's FluidSynth device on a file output and on none.

#include "app/core/fluid_midi_device.h"
#include "base/core/app_error.h"
#include "music/notation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <fluidsynth.h>
#include <gtest/gtest.h>

namespace {

const QString kMidiDir = QStringLiteral(LYREVANE_BUILT_APP_DIR "/midi");
const QString kNotationDir = QStringLiteral(LYREVANE_MUSIC_NOTATION_DIR);

QString soundFont() {
    for (const char* f :
         {"/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/default-GM.sf2"})
        if (QFileInfo(QString::fromLatin1(f)).isFile())
            return QString::fromLatin1(f);
    return {};
}

music::Piece readPiece(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return music::parse(f.readAll().toStdString());
}

struct Rendering {
    double seconds = 0;     // until the player reported its end
    double firstSound = -1; // first and last sample above the threshold
    double lastSound = -1;
    int peak = 0;
};

// Renders a MIDI file as fast as the machine allows, timed by the samples written.
Rendering render(const QString& midi, const QString& font) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setnum(settings, "synth.gain", FluidMidiDevice::kGain);
    fluid_synth_t* synth = new_fluid_synth(settings);
    EXPECT_GE(fluid_synth_sfload(synth, QFile::encodeName(font).constData(), 1), 0);
    fluid_player_t* player = new_fluid_player(synth);
    EXPECT_EQ(fluid_player_add(player, QFile::encodeName(midi).constData()), FLUID_OK);
    fluid_player_play(player);
    double rate = 44100;
    fluid_settings_getnum(settings, "synth.sample-rate", &rate);

    Rendering r;
    constexpr int kBlock = 512;
    constexpr int kThreshold = 200; // well above rounding noise, far below a played note
    std::vector<qint16> left(kBlock), right(kBlock);
    long frames = 0;
    while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && frames < rate * 900) {
        fluid_synth_write_s16(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1);
        for (int i = 0; i < kBlock; ++i) {
            const int level = std::max(std::abs(int(left[i])), std::abs(int(right[i])));
            r.peak = std::max(r.peak, level);
            if (level > kThreshold) {
                if (r.firstSound < 0)
                    r.firstSound = (frames + i) / rate;
                r.lastSound = (frames + i) / rate;
            }
        }
        frames += kBlock;
    }
    r.seconds = frames / rate;
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return r;
}

TEST(MusicFiles, EachPieceRendersToSoundLastingAsLongAsItsNotation) {
    const QString font = soundFont();
    ASSERT_FALSE(font.isEmpty()) << "a General MIDI sound font (scripts/setup installs one)";
    const QStringList notations =
        QDir(kNotationDir).entryList({QStringLiteral("*.txt")}, QDir::Files);
    ASSERT_FALSE(notations.isEmpty());
    QStringList generated = QDir(kMidiDir).entryList({QStringLiteral("*.mid")}, QDir::Files);
    for (const QString& name : notations) {
        const music::Piece piece = readPiece(kNotationDir + u'/' + name);
        const QString title = QString::fromStdString(piece.title);
        const QString midi = kMidiDir + u'/' + title + QStringLiteral(".mid");
        SCOPED_TRACE(title.toStdString());
        ASSERT_TRUE(QFileInfo(midi).isFile());
        generated.removeOne(title + QStringLiteral(".mid"));
        EXPECT_TRUE(fluid_is_midifile(QFile::encodeName(midi).constData()));

        const Rendering r = render(midi, font);
        const double expected = piece.seconds();
        EXPECT_GT(r.peak, 1000) << "not silent";
        EXPECT_GE(r.firstSound, 0.0);
        EXPECT_LT(r.firstSound, 1.0) << "sounds from the start";
        // The player reports its end a few seconds after the last event, as the sound
        // dies away.
        EXPECT_GE(r.seconds, expected - 0.05);
        EXPECT_LE(r.seconds, expected + 4.0);
        int lastOnset = 0;
        for (const music::Voice& v : piece.voices)
            for (const music::NoteEvent& n : v.notes)
                lastOnset = std::max(lastOnset, n.start);
        const double lastOnsetSeconds =
            double(lastOnset) / music::kTicksPerQuarter * 60.0 / piece.tempo;
        EXPECT_GE(r.lastSound, lastOnsetSeconds) << "the last note is heard";
    }
    EXPECT_TRUE(generated.isEmpty())
        << "no MIDI file without its notation: " << generated.join(u' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(kMidiDir + QStringLiteral("/瑶族舞曲.mid")))
        << "瑶族舞曲 (1952) is still protected";
}

TEST(MusicNotation, SlipsInTheCopyingAreCaught) {
    const std::string head = "title t\ntempo 60\ntime 3/4\nvoice v\n";
    struct Case {
        const char* music;
        const char* error; // empty: accepted
    };
    const Case cases[] = {
        {"c'4 d' e' | f'2. | g'4", ""},                      // pick-up and short last bar are fine
        {"c'4 d' e' | f'2 | g'4", "bar 2 of voice v lasts"}, // an inner bar one beat short
        {"c'2 d' e' | f'2.", "first bar of voice v is too long"},
        {"c'4 dis'' <c' e' g'>4 | r2.", ""},
        {"c'4 h'", "not a note"},
        {"c'3", "unknown length 3"},
        {"c'4 <c' e'", "unclosed chord"},
        {"c'8*2/3 d' e' f'2 | g'2.", ""}, // a triplet fills one beat
        {"c'8*3/7 d'", "scaled length"},
        {"c'4 d' e' |\ntime 2/4\nf'4 g' | a'2", ""}, // one bar of two beats
        {"c'4 d' e' |\ntime 2/4\nf'2. | a'2", "bar 2 of voice v lasts"},
        {"c'4 d'\ntime 2/4\ne'4 | f'2", "must follow a bar line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.music);
        try {
            music::parse(head + c.music + "\n");
            EXPECT_STREQ(c.error, "");
        } catch (const music::NotationError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
            EXPECT_STRNE(c.error, "");
        }
    }
    EXPECT_THROW(music::parse(head + "c'2. | d'2.\nvoice w\nc'2.\n"), music::NotationError)
        << "voices must end together";
    EXPECT_THROW(music::parse(head + "c'2. |\ntime 2/4\nd'2 | e'2.\nvoice w\nc'2. | d'2. | e'2\n"),
                 music::NotationError)
        << "voices must change time together";
}

TEST(MusicNotation, AChangeOfTimeReachesTheMidiFile) {
    const music::Piece p = music::parse("title t\ntempo 60\ntime 4/4\nvoice v\nc'1 |\n"
                                        "time 5/4\nd'1 r4 |\ntime 4/4\ne'1\n");
    const std::vector<music::Meter> expected = {{4 * music::kTicksPerQuarter, 5, 4},
                                                {9 * music::kTicksPerQuarter, 4, 4}};
    EXPECT_EQ(p.meterChanges, expected);
    EXPECT_DOUBLE_EQ(p.seconds(), 13.0);
    const std::vector<std::uint8_t> midi = music::toMidiFile(p);
    const std::vector<std::uint8_t> fiveFour = {0xff, 0x58, 0x04, 5, 2};
    EXPECT_NE(std::search(midi.begin(), midi.end(), fiveFour.begin(), fiveFour.end()), midi.end());
}

TEST(MusicNotation, PitchesLengthsAndTies) {
    const music::Piece p = music::parse("title t\ntempo 120\ntime 2/4\nvoice v program 40\n"
                                        "c'4 cis'8 bes,8 | a'4.~ a'8 | <c e>2\n");
    const music::Voice& v = p.voices.at(0);
    ASSERT_EQ(v.notes.size(), 6u);
    EXPECT_EQ(v.notes[0].pitch, 60);
    EXPECT_EQ(v.notes[1].pitch, 61);
    EXPECT_EQ(v.notes[2].pitch, 46);
    EXPECT_EQ(v.notes[3].pitch, 69);
    EXPECT_EQ(v.notes[3].length, 2 * music::kTicksPerQuarter) << "a tie joins the two";
    EXPECT_EQ(v.notes[4].pitch, 48);
    EXPECT_EQ(v.notes[5].pitch, 52);
    EXPECT_EQ(v.program, 40);
    EXPECT_DOUBLE_EQ(p.seconds(), 3.0); // three bars of two beats at 120
}

TEST(FluidDevice, NoSoundOutputOrNoSynthesiserGivesAClearErrorAtOnce) {
    FluidMidiDevice::Options noOutput;
    noOutput.audioDrivers = {QStringLiteral("no-such-output")};
    FluidMidiDevice::Options noLibrary; // the library is loaded only now, by name
    noLibrary.library = QStringLiteral("lyrevane-no-such-synthesiser");
    for (const FluidMidiDevice::Options& options : {noOutput, noLibrary}) {
        SCOPED_TRACE(options.library.toStdString());
        try {
            FluidMidiDevice device(options);
            FAIL() << "a device without an output";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), FluidMidiDevice::noSoundMessage());
        }
    }
}

TEST(FluidDevice, PlaysPausesAndReportsTheMciErrorsOnAFileOutput) {
    QTemporaryDir dir;
    FluidMidiDevice::Options options;
    options.audioDrivers = {QStringLiteral("file")};
    options.audioFile = dir.filePath(QStringLiteral("out.raw"));
    FluidMidiDevice device(options);

    using Mode = MidiDevice::Mode;
    EXPECT_EQ(device.mode(), Mode::NotOpen);
    try {
        device.pause();
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("No MCI device open"));
    }
    QFile text(dir.filePath(QStringLiteral("text.mid")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a MIDI file\n");
    text.close();
    for (const QString& bad : {dir.filePath(QStringLiteral("none.mid")), text.fileName()}) {
        try {
            device.open(bad);
            FAIL() << bad.toStdString();
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Cannot find the specified file. Make sure "
                                                  "the path and filename are correct."));
        }
    }

    const QString piece =
        QDir(kMidiDir).entryInfoList({QStringLiteral("*.mid")}).value(0).filePath();
    ASSERT_FALSE(piece.isEmpty());
    device.open(piece);
    device.open(piece); // closes the first before it ever played
    EXPECT_EQ(device.mode(), Mode::Stopped);
    device.play();
    EXPECT_EQ(device.mode(), Mode::Playing);
    device.pause();
    EXPECT_EQ(device.mode(), Mode::Paused) << "FluidSynth calls it done; the device knows better";
    device.resume();
    EXPECT_EQ(device.mode(), Mode::Playing);
    device.close();
    EXPECT_EQ(device.mode(), Mode::NotOpen);
}

} // namespace
