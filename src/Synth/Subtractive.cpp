#include "Synth/Subtractive.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Synth/Filter.h"
#include "Synth/Oscillator.h"
#include "Synth/Pitch.h"

namespace KUV::Synth {

SubtractivePatch PatchFor(Instrument instrument)
{
    SubtractivePatch patch;
    switch (instrument) {
    case Instrument::Bass:
        patch = { 1, 0, 0.3, 0.7, { 0.003, 0.18, 0.55, 0.06 }, 130, 900, 0.14, 0.9, 0.5, 0, 0, 0, 0, 0.8 };
        break;
    case Instrument::Pad:
        patch = { 3, 16, 0, 0, { 0.45, 1.2, 0.85, 1.3 }, 850, 450, 1.2, 0.6, 0.3, 0.7, 0.3, 6, 0, 0.7 };
        break;
    case Instrument::Pluck:
        patch = { 2, 9, 0.5, 0, { 0.002, 0.2, 0, 0.08 }, 450, 3200, 0.11, 1.1, 0.5, 0.35, 0, 0, 0, 0.8 };
        break;
    default:
        patch = { 2, 8, 0.35, 0.2, { 0.012, 0.35, 0.7, 0.22 }, 1100, 2200, 0.35, 0.8, 0.6, 0.25, 5.2, 14, 0.22, 0.7 };
        break;
    }
    return patch;
}

// One note's oscillators and filters, left and right.
struct Subtractive::Render {
    const SubtractivePatch& patch;
    double hz;
    std::vector<Oscillator> saws;
    std::vector<double> sawPans; // -1 .. 1 inside the voice's width
    std::vector<double> sawRatios; // frequency ratios of the detuned saws
    Oscillator square { Wave::Square };
    Oscillator sub { Wave::Sine };
    Filter left { Filter::Mode::LowPass, patch.cutoff, patch.resonance };
    Filter right { Filter::Mode::LowPass, patch.cutoff, patch.resonance };

    Render(const SubtractivePatch& patch, double hz, Noise& noise)
        : patch(patch)
        , hz(hz)
    {
        for (int i = 0; i < patch.saws; ++i) {
            saws.emplace_back(Wave::Saw, (noise.Next() + 1) / 2);
            sawPans.push_back(patch.saws == 1 ? 0 : 2.0 * i / (patch.saws - 1) - 1);
            sawRatios.push_back(std::exp2(sawPans.back() * patch.detuneCents / 2 / 1200));
        }
    }

    void SetCutoff(double t, double bright)
    {
        const double track = std::pow(hz / 261.6, patch.keyTrack);
        const double cutoff = (patch.cutoff + patch.cutoffEnv * std::exp(-t / patch.cutoffDecay)) * bright * track;
        left.SetCutoff(cutoff);
        right.SetCutoff(cutoff);
    }

    // The next left and right samples before the amplitude envelope, with the pitch bent by cents.
    std::pair<double, double> Next(double cents)
    {
        const double bent = cents == 0 ? hz : hz * std::exp2(cents / 1200);
        double l = 0, r = 0;
        for (size_t i = 0; i < saws.size(); ++i) {
            const double value = saws[i].Next(bent * sawRatios[i]);
            const double toRight = (1 + sawPans[i] * patch.width) / 2;
            l += value * (1 - toRight);
            r += value * toRight;
        }
        const double scale = 2.0 / saws.size();
        double mono = 0;
        if (patch.square > 0) mono += square.Next(hz) * patch.square;
        if (patch.sub > 0) mono += sub.Next(hz / 2) * patch.sub;
        return { left.Process(l * scale + mono), right.Process(r * scale + mono) };
    }
};

void Subtractive::Play(const Note& note, Audio& out)
{
    const Envelope envelope(m_Patch.amp, note.length);
    const size_t frames = static_cast<size_t>(envelope.Length() * SampleRate);
    Render render(m_Patch, MidiToHz(note.midi), m_Noise);
    std::vector<float> left(frames), right(frames);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        if (i % 32 == 0) render.SetCutoff(t, note.bright);
        const double vibrato = t < m_Patch.vibratoDelay
            ? 0
            : m_Patch.vibratoCents * std::min(1.0, (t - m_Patch.vibratoDelay) * 3)
                * std::sin(2 * std::numbers::pi * m_Patch.vibratoHz * t);
        const auto [l, r] = render.Next(vibrato);
        const double level = envelope.At(t) * m_Patch.level * note.velocity;
        left[i] = static_cast<float>(l * level);
        right[i] = static_cast<float>(r * level);
    }
    const size_t start = static_cast<size_t>(note.start * SampleRate);
    AddPanned(out, start, left, std::max(-1.0, m_Pan - m_Patch.width * 0.8));
    AddPanned(out, start, right, std::min(1.0, m_Pan + m_Patch.width * 0.8));
}

} // namespace KUV::Synth
