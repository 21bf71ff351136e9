#include "Synth/Arrangement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace KUV::Synth {

namespace {

double Mean(const std::vector<int>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// The chord broken into steps: up and down through its tones and the same tones an octave higher.
void AddArpeggio(std::vector<Note>& notes, const Note& chord, const std::vector<int>& tones, double stepSeconds)
{
    std::vector<int> ladder = tones;
    for (int tone : tones)
        ladder.push_back(tone + 12);
    const int span = static_cast<int>(ladder.size());
    const int count = static_cast<int>(std::lround(chord.length / stepSeconds));
    for (int i = 0; i < count; ++i) {
        const int turn = i % (2 * span - 2);
        Note note = chord;
        note.start = chord.start + i * stepSeconds;
        note.length = stepSeconds * 0.9;
        note.midi = ladder[turn < span ? turn : 2 * span - 2 - turn];
        notes.push_back(note);
    }
}

void AddEvent(std::vector<Note>& notes, const Score& score, const Voice& voice, const Part& part,
    const PatternEvent& event, Note note)
{
    if (event.chordRoot < 0) {
        note.midi = event.pitches.empty() ? 0 : event.pitches[0] + part.transpose;
        notes.push_back(note);
        return;
    }
    auto tones = VoiceChord(event.chordRoot, event.chordIntervals, voice.octave);
    for (int& tone : tones)
        tone += part.transpose;
    if (voice.arpeggio > 0) return AddArpeggio(notes, note, tones, voice.arpeggio * score.MsPerStep() / 1000);
    for (int tone : tones) {
        note.midi = tone;
        notes.push_back(note);
    }
}

// The pattern loops from the section's first bar, so a part over later bars plays the pattern's later bars.
void AddPart(std::vector<Note>& notes, const Score& score, const Voice& voice, const Part& part)
{
    const Pattern& pattern = *score.FindPattern(part.voice, part.pattern);
    const double stepSeconds = score.MsPerStep() / 1000;
    const int sectionStep = score.sections[part.section].startBar * score.StepsPerBar();
    const int first = sectionStep + part.fromBar * score.StepsPerBar();
    const int end = sectionStep + part.toBar * score.StepsPerBar();
    const double gain = std::pow(10.0, part.gainDb / 20);
    for (int repeat = sectionStep; repeat < end; repeat += pattern.steps) {
        for (const auto& event : pattern.events) {
            // A note still sounding where the part begins enters there; the part's end cuts every note.
            const int step = std::max(first, repeat + event.step);
            const int stop = std::min(end, repeat + event.step + event.length);
            if (step >= stop) continue;
            Note note { step * stepSeconds, (stop - step) * stepSeconds, 0, event.velocity * gain, part.bright };
            AddEvent(notes, score, voice, part, event, note);
        }
    }
}

} // namespace

std::vector<int> VoiceChord(int root, const std::vector<int>& intervals, int octave)
{
    const double middle = (octave + 2) * 12;
    std::vector<int> best;
    for (size_t inversion = 0; inversion < intervals.size(); ++inversion) {
        std::vector<int> tones;
        for (size_t i = 0; i < intervals.size(); ++i)
            tones.push_back((octave + 1) * 12 + root + intervals[i] + (i < inversion ? 12 : 0));
        std::sort(tones.begin(), tones.end());
        for (int shift : { -12, 0, 12 }) {
            std::vector<int> shifted = tones;
            for (int& tone : shifted)
                tone += shift;
            if (best.empty() || std::fabs(Mean(shifted) - middle) < std::fabs(Mean(best) - middle)) best = shifted;
        }
    }
    return best;
}

std::vector<Note> VoiceNotes(const Score& score, const Voice& voice)
{
    std::vector<Note> notes;
    for (const auto& part : score.parts)
        if (part.voice == voice.name) AddPart(notes, score, voice, part);
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.start < b.start; });
    return notes;
}

double FadeLevel(const Score& score, double t)
{
    const double barSeconds = score.MsPerBar() / 1000;
    double level = 1;
    for (const auto& fade : score.fades) {
        const double from = fade.startBar * barSeconds, to = fade.endBar * barSeconds;
        const double x = std::clamp((t - from) / (to - from), 0.0, 1.0);
        level *= fade.fadeIn ? x * x : (1 - x) * (1 - x);
    }
    return level;
}

double ScoreSeconds(const Score& score)
{
    return score.TotalBars() * score.MsPerBar() / 1000;
}

} // namespace KUV::Synth
