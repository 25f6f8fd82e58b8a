#include "app/core/fluid_midi_device.h"

#include "base/core/app_error.h"

#include <QFile>
#include <QFileInfo>
#include <fluidsynth.h>

namespace {

const char* const kCannotFind =
    "Cannot find the specified file. Make sure the path and filename are correct.";

} // namespace

QString FluidMidiDevice::noSoundMessage() {
    return QStringLiteral("无法打开声音设备，音乐不能播放。请检查电脑的声音输出");
}

FluidMidiDevice::FluidMidiDevice() : FluidMidiDevice(Options()) {}

FluidMidiDevice::FluidMidiDevice(const Options& options) {
    // Our own error boxes say what went wrong; the library's console chatter is not
    // shown to the user.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);

    QString soundFont;
    for (const QString& candidate : options.soundFonts) {
        if (QFileInfo(candidate).isFile()) {
            soundFont = candidate;
            break;
        }
    }
    if (soundFont.isEmpty())
        throw AppError(QStringLiteral("找不到 General MIDI 音色库，音乐不能播放"));

    m_settings = new_fluid_settings();
    fluid_settings_setnum(m_settings, "synth.gain", kGain);
    m_synth = new_fluid_synth(m_settings);
    if (!m_synth || fluid_synth_sfload(m_synth, QFile::encodeName(soundFont).constData(), 1) < 0) {
        release();
        throw AppError(QStringLiteral("音色库 %1 无法读取，音乐不能播放").arg(soundFont));
    }
    if (!options.audioFile.isEmpty())
        fluid_settings_setstr(m_settings, "audio.file.name",
                              QFile::encodeName(options.audioFile).constData());
    for (const QString& driver : options.audioDrivers) {
        fluid_settings_setstr(m_settings, "audio.driver", driver.toLatin1().constData());
        m_driver = new_fluid_audio_driver(m_settings, m_synth);
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
        delete_fluid_audio_driver(m_driver);
    if (m_synth)
        delete_fluid_synth(m_synth);
    if (m_settings)
        delete_fluid_settings(m_settings);
    m_driver = nullptr;
    m_synth = nullptr;
    m_settings = nullptr;
}

void FluidMidiDevice::open(const QString& path) {
    close();
    // The player reads its file only when it starts, so a missing or unplayable file
    // is caught here.
    const QByteArray name = QFile::encodeName(path);
    if (!QFileInfo(path).isFile() || !fluid_is_midifile(name.constData()))
        throw AppError(QString::fromLatin1(kCannotFind));
    m_player = new_fluid_player(m_synth);
    if (!m_player || fluid_player_add(m_player, name.constData()) != FLUID_OK) {
        close();
        throw AppError(QString::fromLatin1(kCannotFind));
    }
    m_paused = false;
}

void FluidMidiDevice::close() {
    if (!m_player)
        return;
    fluid_player_stop(m_player);
    fluid_player_join(m_player);
    delete_fluid_player(m_player);
    m_player = nullptr;
    m_paused = false;
    fluid_synth_all_sounds_off(m_synth, -1);
}

void FluidMidiDevice::requireOpen() const {
    if (!m_player)
        throw AppError(QStringLiteral("No MCI device open"));
}

void FluidMidiDevice::play() {
    requireOpen();
    if (mode() == Mode::Playing)
        return;
    if (!m_paused && fluid_player_get_total_ticks(m_player) > 0 &&
        fluid_player_get_current_tick(m_player) >= fluid_player_get_total_ticks(m_player))
        fluid_player_seek(m_player, 0); // at its end: from the start again
    m_paused = false;
    fluid_player_play(m_player);
}

void FluidMidiDevice::pause() {
    requireOpen();
    if (mode() != Mode::Playing)
        return;
    fluid_player_stop(m_player); // keeps the position
    fluid_synth_all_notes_off(m_synth, -1);
    m_paused = true;
}

void FluidMidiDevice::resume() {
    requireOpen();
    if (!m_paused)
        return;
    m_paused = false;
    fluid_player_play(m_player);
}

void FluidMidiDevice::seekToStart() {
    requireOpen();
    fluid_player_seek(m_player, 0);
}

MidiDevice::Mode FluidMidiDevice::mode() const {
    if (!m_player)
        return Mode::NotOpen;
    if (m_paused)
        return Mode::Paused;
    return fluid_player_get_status(m_player) == FLUID_PLAYER_PLAYING ? Mode::Playing
                                                                     : Mode::Stopped;
}
