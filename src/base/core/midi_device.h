#pragma once
// The multimedia device that plays one MIDI file at a time. The music menu drives it;
// the program's device renders through a synthesiser, tests use a recording one.
// Every failing request throws AppError with the device's message.

#include <QString>

class MidiDevice {
  public:
    enum class Mode { NotOpen, Playing, Paused, Stopped };

    virtual ~MidiDevice() = default;
    // Opens a file, closing any open piece first. A missing or unplayable file throws
    // "Cannot find the specified file. Make sure the path and filename are correct."
    virtual void open(const QString& path) = 0;
    virtual void close() = 0;
    // Plays from the current position; from the start when the piece has ended.
    // With nothing open, throws "No MCI device open" (so do pause and resume).
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void seekToStart() = 0;
    virtual Mode mode() const = 0;
};
