#pragma once
// The program's MIDI device: FluidSynth plays the piece through a General MIDI sound
// font on the desktop's sound output.

#include "base/core/midi_device.h"

#include <QStringList>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct _fluid_audio_driver_t;

class FluidMidiDevice : public MidiDevice {
  public:
    struct Options {
        // The synthesiser library, loaded when the first device is made (major
        // version 3).
        QString library = QStringLiteral("fluidsynth");
        // The sound outputs tried in order; the first that opens is used.
        QStringList audioDrivers = {QStringLiteral("pulseaudio"), QStringLiteral("alsa")};
        // For the "file" driver: where the sound goes.
        QString audioFile;
        // The sound fonts tried in order (Debian's General MIDI alternatives).
        QStringList soundFonts = {QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3"),
                                  QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2")};
    };

    // Throws AppError when the synthesiser library, a sound font or a sound output to
    // play on is missing.
    FluidMidiDevice();
    explicit FluidMidiDevice(const Options& options);
    ~FluidMidiDevice() override;
    FluidMidiDevice(const FluidMidiDevice&) = delete;
    FluidMidiDevice& operator=(const FluidMidiDevice&) = delete;

    void open(const QString& path) override;
    void close() override;
    void play() override;
    void pause() override;
    void resume() override;
    void seekToStart() override;
    Mode mode() const override;

    // The synthesiser's loudness: FluidSynth's own default (0.2) is faint for a piano
    // on the General MIDI fonts.
    static constexpr double kGain = 0.8;

    // The message shown when no sound output opens.
    static QString noSoundMessage();

    struct Fluid; // the library's functions

  private:
    void requireOpen() const;
    void release();

    const Fluid* m_fluid = nullptr;
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    _fluid_audio_driver_t* m_driver = nullptr;
    _fluid_player_t* m_player = nullptr;
    // FluidSynth reports a paused player as done, the same as one that reached its
    // end, so the pause is kept here.
    bool m_paused = false;
};
