#pragma once
// The readable notation of the music menu's pieces, and the standard MIDI file it
// becomes. A piece file holds a header (title, tempo, time) and one or more voices:
//
//   title 贝多芬·献给爱丽丝
//   tempo 72              quarter notes per minute
//   time 3/8
//   voice right program 0 velocity 84
//   e''16 dis'' | e'' dis'' e'' b' d'' c'' | a'8 r16 c' e' a' |
//
// Notes are written with absolute pitch: c' is middle C, each ' an octave up and each
// , an octave down from the unmarked octave below it; "is" raises a note a semitone
// and "es" (or a bare "s" after a or e) lowers it. A length (1, 2, 4, 8, 16, 32, with
// dots, and scaled as tuplets are: 8*2/3 is an eighth of a triplet) stays in force
// until the next one. "r" is a rest, <c' e' g'>4 a chord, a
// trailing ~ ties a note to the next of the same pitch, | a bar line. Every bar but
// a voice's first and last must fill the time signature, and all voices must end
// together, so a slip in the copying shows at once. # starts a comment.
//
// A "time" line inside a voice, right after a bar line, changes the signature from
// that bar on, as some scores do for a single bar; every voice must change it at the
// same places.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace music {

struct NoteEvent {
    int start = 0;  // in ticks
    int length = 0; // in ticks
    int pitch = 60; // MIDI key number
};

struct Voice {
    std::string name;
    int program = 0; // General MIDI instrument, 0-based
    int velocity = 80;
    std::vector<NoteEvent> notes;
    int length = 0; // in ticks
};

// A change of time signature at a bar line after the first.
struct Meter {
    int tick = 0;
    int numerator = 4;
    int denominator = 4;
    bool operator==(const Meter&) const = default;
};

struct Piece {
    std::string title;
    int tempo = 120; // quarter notes per minute
    int timeNumerator = 4;
    int timeDenominator = 4;
    std::vector<Meter> meterChanges; // in the order they come
    std::vector<Voice> voices;

    int lengthTicks() const;
    double seconds() const; // how long the notation lasts
};

constexpr int kTicksPerQuarter = 480;

// A mistake in a piece file, with its line number.
struct NotationError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Piece parse(const std::string& text);
// Format 1: a tempo track, then one track per voice on its own channel.
std::vector<std::uint8_t> toMidiFile(const Piece& piece);

} // namespace music
