// The soundtrack's score: tempo and metre, the section table, the voices, their patterns and the arrangement.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace KUV::Synth {

struct Section {
    std::string name;
    int startBar;
    int bars;
};

// The sound sources a voice can play; drums read step grids, the others notes and chords.
enum class Instrument { Kick, Snare, Hat, Bass, Pad, Pluck, Lead };

bool IsDrum(Instrument instrument);

struct Voice {
    std::string name;
    Instrument instrument = Instrument::Lead;
    double gainDb = 0;
    double pan = 0; // -1 left .. 1 right
    double delaySend = 0; // 0..1 of the voice sent to the echo
    double reverbSend = 0; // 0..1 of the voice sent to the room
    double decay = 1; // scales the instrument's decay and release times
    double duck = 0; // 0..1: how far the voice ducks under every kick
    int octave = 3; // chords are voiced around the C above this octave
    int arpeggio = 0; // sixteenths per broken-chord tone; 0 plays chords as blocks
};

// One note or chord of a pattern, placed in sixteenth steps from the pattern's start.
struct PatternEvent {
    int step = 0;
    int length = 1;
    double velocity = 1;
    std::vector<int> pitches; // MIDI numbers of a note; empty for a drum hit
    int chordRoot = -1; // pitch class 0..11 of a chord symbol, -1 when a note or a hit
    std::vector<int> chordIntervals; // semitones above the root
};

struct Pattern {
    std::string voice;
    std::string name;
    int steps = 0;
    std::vector<PatternEvent> events;
};

// A pattern repeated over bars [fromBar, toBar) of a section.
struct Part {
    size_t section = 0;
    std::string voice;
    std::string pattern;
    int fromBar = 0;
    int toBar = 0;
    double gainDb = 0;
    double bright = 1; // scales the filter openings of tonal instruments
    int transpose = 0; // semitones added to every note and chord
};

// A master fade in or out over absolute bars [startBar, endBar).
struct Fade {
    int startBar = 0;
    int endBar = 0;
    bool fadeIn = false;
};

struct Score {
    double bpm = 0;
    int beatsPerBar = 0;
    std::string key;
    std::uint32_t seed = 1;
    std::vector<Section> sections;
    std::vector<Voice> voices;
    std::vector<Pattern> patterns;
    std::vector<Part> parts;
    std::vector<Fade> fades;

    double MsPerBar() const;
    double MsPerStep() const { return MsPerBar() / StepsPerBar(); }
    int StepsPerBar() const { return beatsPerBar * 4; }
    std::int64_t SectionStartMs(size_t index) const;
    int TotalBars() const;
    const Voice* FindVoice(const std::string& name) const;
    const Pattern* FindPattern(const std::string& voice, const std::string& name) const;
};

// Reads a score; on failure returns nothing and sets error to "FILE:LINE: message".
std::optional<Score> ReadScore(std::istream& in, const std::string& fileName, std::string& error);
std::optional<Score> ReadScoreFile(const std::string& path, std::string& error);

} // namespace KUV::Synth
