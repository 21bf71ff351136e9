#include "Synth/Pitch.h"

#include <cctype>
#include <cmath>
#include <utility>

namespace KUV::Synth {

namespace {

// Reads a letter A-G with an optional sharp or flat from the front of text; returns the pitch class.
std::optional<int> ParsePitchClass(const std::string& text, size_t& used)
{
    static const int classes[] = { 9, 11, 0, 2, 4, 5, 7 }; // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G') return std::nullopt;
    int pitch = classes[text[0] - 'A'];
    used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pitch += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    return (pitch + 12) % 12;
}

const std::vector<std::pair<std::string, std::vector<int>>>& Qualities()
{
    static const std::vector<std::pair<std::string, std::vector<int>>> qualities = {
        { "", { 0, 4, 7 } },
        { "m", { 0, 3, 7 } },
        { "7", { 0, 4, 7, 10 } },
        { "m7", { 0, 3, 7, 10 } },
        { "maj7", { 0, 4, 7, 11 } },
        { "sus2", { 0, 2, 7 } },
        { "sus4", { 0, 5, 7 } },
        { "add9", { 0, 4, 7, 14 } },
        { "madd9", { 0, 3, 7, 14 } },
        { "dim", { 0, 3, 6 } },
    };
    return qualities;
}

} // namespace

std::optional<int> ParseNote(const std::string& text)
{
    size_t used = 0;
    const auto pitch = ParsePitchClass(text, used);
    if (!pitch || text.size() != used + 1 || !std::isdigit(static_cast<unsigned char>(text[used]))) return std::nullopt;
    const int octave = text[used] - '0';
    if (octave > 8) return std::nullopt;
    // B#/Cb cross the octave boundary with their letter, not their sound.
    int midi = (octave + 1) * 12 + *pitch;
    if (text[0] == 'B' && *pitch == 0) midi += 12;
    if (text[0] == 'C' && *pitch == 11) midi -= 12;
    return midi;
}

std::optional<Chord> ParseChord(const std::string& text)
{
    size_t used = 0;
    const auto pitch = ParsePitchClass(text, used);
    if (!pitch) return std::nullopt;
    const std::string quality = text.substr(used);
    for (const auto& [name, intervals] : Qualities())
        if (name == quality) return Chord { *pitch, intervals };
    return std::nullopt;
}

double MidiToHz(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

} // namespace KUV::Synth
