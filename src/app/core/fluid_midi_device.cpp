#include "app/core/fluid_midi_device.h"

#include "base/core/app_error.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <fluidsynth.h>
#include <map>
#include <memory>

namespace {

const char* const kCannotFind =
    "Cannot find the specified file. Make sure the path and filename are correct.";

// FluidSynth pulls in some forty libraries of its own (sound servers, codecs, glib),
// so the program does not link it: it is loaded when the first piece is asked for,
// and the functions used here are looked up by name. The header still gives their
// types.
#define LYREVANE_FLUID_FUNCTIONS(X)                                                                \
    X(fluid_set_log_function)                                                                      \
    X(new_fluid_settings)                                                                          \
    X(delete_fluid_settings)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_settings_setstr)                                                                       \
    X(new_fluid_synth)                                                                             \
    X(delete_fluid_synth)                                                                          \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_all_notes_off)                                                                   \
    X(fluid_synth_all_sounds_off)                                                                  \
    X(new_fluid_audio_driver)                                                                      \
    X(delete_fluid_audio_driver)                                                                   \
    X(fluid_is_midifile)                                                                           \
    X(new_fluid_player)                                                                            \
    X(delete_fluid_player)                                                                         \
    X(fluid_player_add)                                                                            \
    X(fluid_player_play)                                                                           \
    X(fluid_player_stop)                                                                           \
    X(fluid_player_join)                                                                           \
    X(fluid_player_seek)                                                                           \
    X(fluid_player_get_status)                                                                     \
    X(fluid_player_get_current_tick)                                                               \
    X(fluid_player_get_total_ticks)

} // namespace

struct FluidMidiDevice::Fluid {
#define LYREVANE_FLUID_MEMBER(name) decltype(&::name) name = nullptr;
    LYREVANE_FLUID_FUNCTIONS(LYREVANE_FLUID_MEMBER)
#undef LYREVANE_FLUID_MEMBER
};

namespace {

// The library, loaded once per name; null when it is missing or lacks a function.
const FluidMidiDevice::Fluid* loadFluid(const QString& name) {
    static std::map<QString, std::unique_ptr<FluidMidiDevice::Fluid>> loaded;
    if (auto it = loaded.find(name); it != loaded.end())
        return it->second.get();
    std::unique_ptr<FluidMidiDevice::Fluid>& result = loaded[name];
    QLibrary library(name, 3); // stays loaded after this object goes
    if (!library.load())
        return nullptr;
    auto f = std::make_unique<FluidMidiDevice::Fluid>();
    bool complete = true;
#define LYREVANE_FLUID_RESOLVE(name)                                                               \
    f->name = reinterpret_cast<decltype(f->name)>(library.resolve(#name));                         \
    complete = complete && f->name;
    LYREVANE_FLUID_FUNCTIONS(LYREVANE_FLUID_RESOLVE)
#undef LYREVANE_FLUID_RESOLVE
    if (complete)
        result = std::move(f);
    return result.get();
}

} // namespace

QString FluidMidiDevice::noSoundMessage() {
    return QStringLiteral("无法打开声音设备，音乐不能播放。请检查电脑的声音输出");
}

FluidMidiDevice::FluidMidiDevice() : FluidMidiDevice(Options()) {}

FluidMidiDevice::FluidMidiDevice(const Options& options) {
    // Without the synthesiser there is no sound to play on, as without an output.
    m_fluid = loadFluid(options.library);
    if (!m_fluid)
        throw AppError(noSoundMessage());
    // Our own error boxes say what went wrong; the library's console chatter is not
    // shown to the user.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        m_fluid->fluid_set_log_function(level, nullptr, nullptr);

    QString soundFont;
    for (const QString& candidate : options.soundFonts) {
        if (QFileInfo(candidate).isFile()) {
            soundFont = candidate;
            break;
        }
    }
    if (soundFont.isEmpty())
        throw AppError(QStringLiteral("找不到 General MIDI 音色库，音乐不能播放"));

    m_settings = m_fluid->new_fluid_settings();
    m_fluid->fluid_settings_setnum(m_settings, "synth.gain", kGain);
    m_synth = m_fluid->new_fluid_synth(m_settings);
    if (!m_synth ||
        m_fluid->fluid_synth_sfload(m_synth, QFile::encodeName(soundFont).constData(), 1) < 0) {
        release();
        throw AppError(QStringLiteral("音色库 %1 无法读取，音乐不能播放").arg(soundFont));
    }
    if (!options.audioFile.isEmpty())
        m_fluid->fluid_settings_setstr(m_settings, "audio.file.name",
                                       QFile::encodeName(options.audioFile).constData());
    for (const QString& driver : options.audioDrivers) {
        m_fluid->fluid_settings_setstr(m_settings, "audio.driver", driver.toLatin1().constData());
        m_driver = m_fluid->new_fluid_audio_driver(m_settings, m_synth);
        if (m_driver)
            break;
    }
    if (!m_driver) {
        release();
        throw AppError(noSoundMessage());
    }
}

FluidMidiDevice::~FluidMidiDevice() {
    release();
}

void FluidMidiDevice::release() {
    close();
    if (m_driver)
        m_fluid->delete_fluid_audio_driver(m_driver);
    if (m_synth)
        m_fluid->delete_fluid_synth(m_synth);
    if (m_settings)
        m_fluid->delete_fluid_settings(m_settings);
    m_driver = nullptr;
    m_synth = nullptr;
    m_settings = nullptr;
}

void FluidMidiDevice::open(const QString& path) {
    close();
    // The player reads its file only when it starts, so a missing or unplayable file
    // is caught here.
    const QByteArray name = QFile::encodeName(path);
    if (!QFileInfo(path).isFile() || !m_fluid->fluid_is_midifile(name.constData()))
        throw AppError(QString::fromLatin1(kCannotFind));
    m_player = m_fluid->new_fluid_player(m_synth);
    if (!m_player || m_fluid->fluid_player_add(m_player, name.constData()) != FLUID_OK) {
        close();
        throw AppError(QString::fromLatin1(kCannotFind));
    }
    m_paused = false;
}

void FluidMidiDevice::close() {
    if (!m_player)
        return;
    m_fluid->fluid_player_stop(m_player);
    m_fluid->fluid_player_join(m_player);
    m_fluid->delete_fluid_player(m_player);
    m_player = nullptr;
    m_paused = false;
    m_fluid->fluid_synth_all_sounds_off(m_synth, -1);
}

void FluidMidiDevice::requireOpen() const {
    if (!m_player)
        throw AppError(QStringLiteral("No MCI device open"));
}

void FluidMidiDevice::play() {
    requireOpen();
    if (mode() == Mode::Playing)
        return;
    if (!m_paused && m_fluid->fluid_player_get_total_ticks(m_player) > 0 &&
        m_fluid->fluid_player_get_current_tick(m_player) >=
            m_fluid->fluid_player_get_total_ticks(m_player))
        m_fluid->fluid_player_seek(m_player, 0); // at its end: from the start again
    m_paused = false;
    m_fluid->fluid_player_play(m_player);
}

void FluidMidiDevice::pause() {
    requireOpen();
    if (mode() != Mode::Playing)
        return;
    m_fluid->fluid_player_stop(m_player); // keeps the position
    m_fluid->fluid_synth_all_notes_off(m_synth, -1);
    m_paused = true;
}

void FluidMidiDevice::resume() {
    requireOpen();
    if (!m_paused)
        return;
    m_paused = false;
    m_fluid->fluid_player_play(m_player);
}

void FluidMidiDevice::seekToStart() {
    requireOpen();
    m_fluid->fluid_player_seek(m_player, 0);
}

MidiDevice::Mode FluidMidiDevice::mode() const {
    if (!m_player)
        return Mode::NotOpen;
    if (m_paused)
        return Mode::Paused;
    return m_fluid->fluid_player_get_status(m_player) == FLUID_PLAYER_PLAYING ? Mode::Playing
                                                                              : Mode::Stopped;
}
