#include "music/notation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>

namespace music {

namespace {

[[noreturn]] void fail(int line, const std::string& what) {
    throw NotationError("line " + std::to_string(line) + ": " + what);
}

// Ticks of a written length such as "8", "4." or "16".
int lengthTicks(int line, const std::string& digits, int dots) {
    static const std::map<std::string, int> kBase = {
        {"1", 4 * kTicksPerQuarter}, {"2", 2 * kTicksPerQuarter},  {"4", kTicksPerQuarter},
        {"8", kTicksPerQuarter / 2}, {"16", kTicksPerQuarter / 4}, {"32", kTicksPerQuarter / 8}};
    const auto it = kBase.find(digits);
    if (it == kBase.end())
        fail(line, "unknown length " + digits);
    int ticks = it->second;
    int add = ticks;
    for (int i = 0; i < dots; ++i) {
        add /= 2;
        ticks += add;
    }
    return ticks;
}

// Reads one pitch at `pos` ("dis''", "bes,", "c'"): its MIDI key number.
int readPitch(int line, const std::string& s, size_t& pos) {
    static const std::map<char, int> kStep = {{'c', 0}, {'d', 2}, {'e', 4}, {'f', 5},
                                              {'g', 7}, {'a', 9}, {'b', 11}};
    const auto step = kStep.find(s[pos]);
    if (step == kStep.end())
        fail(line, std::string("not a note: ") + s);
    const char letter = s[pos++];
    int key = 48 + step->second; // the unmarked octave: c is an octave below middle C
    for (;;) {
        if (s.compare(pos, 2, "is") == 0) {
            ++key;
            pos += 2;
        } else if (s.compare(pos, 2, "es") == 0) {
            --key;
            pos += 2;
        } else if ((letter == 'a' || letter == 'e') && pos < s.size() && s[pos] == 's' &&
                   key == 48 + step->second) {
            --key; // "as", "es"
            ++pos;
        } else {
            break;
        }
    }
    while (pos < s.size() && (s[pos] == '\'' || s[pos] == ',')) {
        key += s[pos] == '\'' ? 12 : -12;
        ++pos;
    }
    if (key < 0 || key > 127)
        fail(line, "pitch out of range: " + s);
    return key;
}

// Reads an optional length ("8", "4.", "16") at `pos`; keeps `current` when none.
int readLength(int line, const std::string& s, size_t& pos, int current) {
    std::string digits;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])))
        digits += s[pos++];
    int dots = 0;
    while (pos < s.size() && s[pos] == '.') {
        ++dots;
        ++pos;
    }
    if (digits.empty()) {
        if (dots)
            fail(line, "a dot without a length: " + s);
        return current;
    }
    int ticks = lengthTicks(line, digits, dots);
    // A scaled length, as tuplets are written: 8*2/3 is an eighth of a triplet.
    if (pos < s.size() && s[pos] == '*') {
        int num = 0, den = 0;
        size_t used = 0;
        if (std::sscanf(s.c_str() + pos, "*%d/%d%zn", &num, &den, &used) != 2 || num <= 0 ||
            den <= 0 || (ticks * num) % den != 0)
            fail(line, "a scaled length must be a fraction that divides it evenly: " + s);
        pos += used;
        ticks = ticks * num / den;
    }
    return ticks;
}

struct VoiceBuilder {
    Voice voice;
    int length = kTicksPerQuarter; // the length in force
    int barStart = 0;
    int bars = 0;               // bar lines seen
    std::vector<int> badBars;   // lines of inner bars that did not fill the measure
    std::map<int, size_t> tied; // pitch -> index of a note tied to the next one
    int firstBarLine = 0;
    std::vector<Meter> meters; // its changes of time signature

    void add(int pitch, int ticks, bool tie) {
        const auto open = tied.find(pitch);
        if (open != tied.end() &&
            voice.notes[open->second].start + voice.notes[open->second].length == voice.length) {
            voice.notes[open->second].length += ticks;
            if (!tie)
                tied.erase(open);
            return;
        }
        voice.notes.push_back({voice.length, ticks, pitch});
        if (tie)
            tied[pitch] = voice.notes.size() - 1;
        else
            tied.erase(pitch);
    }
};

void readMusic(int line, const std::string& text, VoiceBuilder& v, int measure) {
    std::istringstream words(text);
    std::string w;
    while (words >> w) {
        if (w == "|") {
            const int bar = v.voice.length - v.barStart;
            if (v.bars > 0 && bar != measure)
                fail(line, "bar " + std::to_string(v.bars + 1) + " of voice " + v.voice.name +
                               " lasts " + std::to_string(bar) + " ticks, not " +
                               std::to_string(measure));
            if (v.bars == 0 && bar > measure)
                fail(line, "the first bar of voice " + v.voice.name + " is too long");
            ++v.bars;
            v.barStart = v.voice.length;
            continue;
        }
        size_t pos = 0;
        std::vector<int> pitches;
        bool rest = false;
        if (w[0] == '<') {
            // A chord may be spread over several words: <c' e' g'>4
            std::string chord = w;
            while (chord.find('>') == std::string::npos) {
                std::string more;
                if (!(words >> more))
                    fail(line, "unclosed chord");
                chord += ' ' + more;
            }
            const size_t close = chord.find('>');
            std::istringstream inner(chord.substr(1, close - 1));
            std::string p;
            while (inner >> p) {
                size_t ppos = 0;
                pitches.push_back(readPitch(line, p, ppos));
                if (ppos != p.size())
                    fail(line, "unexpected text in chord: " + p);
            }
            if (pitches.empty())
                fail(line, "empty chord");
            w = chord.substr(close + 1);
            pos = 0;
        } else if (w[0] == 'r') {
            rest = true;
            pos = 1;
        } else {
            pitches.push_back(readPitch(line, w, pos));
        }
        v.length = readLength(line, w, pos, v.length);
        bool tie = false;
        if (pos < w.size() && w[pos] == '~') {
            tie = true;
            ++pos;
        }
        if (pos != w.size())
            fail(line, "unexpected text: " + w);
        if (rest && tie)
            fail(line, "a tied rest: " + w);
        for (int p : pitches)
            v.add(p, v.length, tie);
        v.voice.length += v.length;
    }
}

} // namespace

int Piece::lengthTicks() const {
    int ticks = 0;
    for (const Voice& v : voices)
        ticks = std::max(ticks, v.length);
    return ticks;
}

double Piece::seconds() const {
    return double(lengthTicks()) / kTicksPerQuarter * 60.0 / tempo;
}

Piece parse(const std::string& text) {
    Piece piece;
    std::vector<VoiceBuilder> voices;
    std::istringstream lines(text);
    std::string raw;
    int lineNo = 0;
    int measure = 0;
    while (std::getline(lines, raw)) {
        ++lineNo;
        const size_t hash = raw.find('#');
        std::string line = raw.substr(0, hash);
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        if (first == "title") {
            std::getline(words >> std::ws, piece.title);
            while (!piece.title.empty() &&
                   std::isspace(static_cast<unsigned char>(piece.title.back())))
                piece.title.pop_back();
        } else if (first == "tempo") {
            if (!(words >> piece.tempo) || piece.tempo <= 0)
                fail(lineNo, "tempo needs quarter notes per minute");
        } else if (first == "time") {
            char slash = 0;
            Meter m;
            if (!(words >> m.numerator >> slash >> m.denominator) || slash != '/' ||
                m.numerator <= 0 ||
                (m.denominator != 2 && m.denominator != 4 && m.denominator != 8))
                fail(lineNo, "time needs a signature such as 3/4");
            if (voices.empty()) {
                piece.timeNumerator = m.numerator;
                piece.timeDenominator = m.denominator;
            } else {
                VoiceBuilder& v = voices.back();
                if (v.bars == 0 || v.voice.length != v.barStart)
                    fail(lineNo, "a change of time must follow a bar line");
                m.tick = v.voice.length;
                v.meters.push_back(m);
                measure = m.numerator * 4 * kTicksPerQuarter / m.denominator;
            }
        } else if (first == "voice") {
            VoiceBuilder v;
            if (!(words >> v.voice.name))
                fail(lineNo, "a voice needs a name");
            std::string key;
            while (words >> key) {
                int value = 0;
                if (!(words >> value))
                    fail(lineNo, key + " needs a number");
                if (key == "program" && value >= 0 && value < 128)
                    v.voice.program = value;
                else if (key == "velocity" && value > 0 && value < 128)
                    v.voice.velocity = value;
                else
                    fail(lineNo, "unknown voice setting " + key);
            }
            voices.push_back(std::move(v));
            measure = piece.timeNumerator * 4 * kTicksPerQuarter / piece.timeDenominator;
        } else {
            if (voices.empty())
                fail(lineNo, "music before the first voice");
            readMusic(lineNo, line, voices.back(), measure);
        }
    }
    if (piece.title.empty())
        fail(lineNo, "the piece has no title");
    if (voices.empty())
        fail(lineNo, "the piece has no voice");
    // The first voice sets the length and the changes of time the others must match.
    const std::string firstName = voices.front().voice.name;
    const int firstLength = voices.front().voice.length;
    piece.meterChanges = voices.front().meters;
    for (VoiceBuilder& v : voices) {
        if (v.voice.notes.empty())
            fail(lineNo, "voice " + v.voice.name + " has no notes");
        if (v.voice.length != firstLength)
            fail(lineNo, "voice " + v.voice.name + " does not end with voice " + firstName);
        if (v.meters != piece.meterChanges)
            fail(lineNo, "voice " + v.voice.name + " does not change time where voice " +
                             firstName + " does");
        piece.voices.push_back(std::move(v.voice));
    }
    if (piece.voices.size() > 15)
        fail(lineNo, "more voices than MIDI channels");
    return piece;
}

namespace {

void put16(std::vector<std::uint8_t>& out, int v) {
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(v >> shift));
}

void putVarLen(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t bytes[5];
    int n = 0;
    bytes[n++] = v & 0x7f;
    while (v >>= 7)
        bytes[n++] = std::uint8_t((v & 0x7f) | 0x80);
    while (n)
        out.push_back(bytes[--n]);
}

struct Event {
    int tick;
    int order; // at one tick: note-offs before note-ons
    std::vector<std::uint8_t> bytes;
};

void putTrack(std::vector<std::uint8_t>& file, std::vector<Event> events, int endTick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    int now = 0;
    for (const Event& e : events) {
        putVarLen(body, std::uint32_t(e.tick - now));
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(body, std::uint32_t(std::max(0, endTick - now)));
    body.insert(body.end(), {0xff, 0x2f, 0x00}); // end of track
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put32(file, std::uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
}

std::vector<std::uint8_t> metaText(int type, const std::string& text) {
    std::vector<std::uint8_t> b = {0xff, std::uint8_t(type)};
    putVarLen(b, std::uint32_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

} // namespace

std::vector<std::uint8_t> toMidiFile(const Piece& piece) {
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd'};
    put32(file, 6);
    put16(file, 1);
    put16(file, int(piece.voices.size()) + 1);
    put16(file, kTicksPerQuarter);

    const int end = piece.lengthTicks();
    const std::uint32_t microsPerQuarter = std::uint32_t(60000000 / piece.tempo);
    const auto timeSignature = [](int numerator, int denominator) {
        int power = 0;
        for (int d = denominator; d > 1; d /= 2)
            ++power;
        return std::vector<std::uint8_t>{
            0xff, 0x58, 0x04, std::uint8_t(numerator), std::uint8_t(power), 24, 8};
    };
    std::vector<Event> tempoTrack = {
        {0, 0, metaText(0x03, piece.title)},
        {0,
         0,
         {0xff, 0x51, 0x03, std::uint8_t(microsPerQuarter >> 16),
          std::uint8_t(microsPerQuarter >> 8), std::uint8_t(microsPerQuarter)}},
        {0, 0, timeSignature(piece.timeNumerator, piece.timeDenominator)}};
    for (const Meter& m : piece.meterChanges)
        tempoTrack.push_back({m.tick, 0, timeSignature(m.numerator, m.denominator)});
    putTrack(file, std::move(tempoTrack), end);

    for (size_t i = 0; i < piece.voices.size(); ++i) {
        const Voice& v = piece.voices[i];
        const std::uint8_t channel = std::uint8_t(i >= 9 ? i + 1 : i); // 10 is percussion
        std::vector<Event> events = {
            {0, 0, metaText(0x03, v.name)},
            {0, 0, {std::uint8_t(0xc0 | channel), std::uint8_t(v.program)}}};
        for (const NoteEvent& n : v.notes) {
            events.push_back(
                {n.start,
                 1,
                 {std::uint8_t(0x90 | channel), std::uint8_t(n.pitch), std::uint8_t(v.velocity)}});
            events.push_back(
                {n.start + n.length, 0, {std::uint8_t(0x80 | channel), std::uint8_t(n.pitch), 0}});
        }
        putTrack(file, std::move(events), end);
    }
    return file;
}

} // namespace music
