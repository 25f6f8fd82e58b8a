#pragma once
// A MIDI device that plays nothing: it keeps the state a real one would have and
// records every request, so the music menu is tested without sound.

#include "base/core/app_error.h"
#include "base/core/midi_device.h"

#include <QFileInfo>
#include <QStringList>

class RecordingMidi : public MidiDevice {
  public:
    void open(const QString& path) override {
        calls << QStringLiteral("open ") + path;
        close();
        if (!QFileInfo(path).isFile())
            throw AppError(QStringLiteral(
                "Cannot find the specified file. Make sure the path and filename are correct."));
        m_path = path;
        m_mode = Mode::Stopped;
        m_position = 0;
    }
    void close() override {
        if (m_mode != Mode::NotOpen)
            calls << QStringLiteral("close");
        m_mode = Mode::NotOpen;
        m_path.clear();
    }
    void play() override {
        requireOpen();
        calls << QStringLiteral("play");
        if (m_ended) {
            m_position = 0;
            m_ended = false;
        }
        m_mode = Mode::Playing;
    }
    void pause() override {
        requireOpen();
        calls << QStringLiteral("pause");
        if (m_mode == Mode::Playing)
            m_mode = Mode::Paused;
    }
    void resume() override {
        requireOpen();
        calls << QStringLiteral("resume");
        if (m_mode == Mode::Paused)
            m_mode = Mode::Playing;
    }
    void seekToStart() override {
        requireOpen();
        calls << QStringLiteral("seek");
        m_position = 0;
    }
    Mode mode() const override { return m_mode; }

    // Test controls: time passing while playing, and the natural end of the piece.
    void advance(int ms) {
        if (m_mode == Mode::Playing)
            m_position += ms;
    }
    void finish() {
        if (m_mode == Mode::Playing) {
            m_mode = Mode::Stopped;
            m_ended = true;
        }
    }
    int position() const { return m_position; }
    QString path() const { return m_path; }

    QStringList calls;

  private:
    void requireOpen() const {
        if (m_mode == Mode::NotOpen)
            throw AppError(QStringLiteral("No MCI device open"));
    }
    Mode m_mode = Mode::NotOpen;
    QString m_path;
    int m_position = 0;
    bool m_ended = false;
};
