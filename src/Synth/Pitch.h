// Note names ("A4", "C#5", "Bb2") and chord symbols ("Am", "Fmaj7", "Esus4") as MIDI numbers and intervals.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace KUV::Synth {

struct Chord {
    int root = 0; // pitch class, 0 = C
    std::vector<int> intervals; // semitones above the root, ascending, starting with 0
};

// A4 is MIDI 69; octaves 0..8.
std::optional<int> ParseNote(const std::string& text);
std::optional<Chord> ParseChord(const std::string& text);
double MidiToHz(double midi);

} // namespace KUV::Synth
