// The tonal instruments: detuned band-limited oscillators through an enveloped low-pass filter.
#pragma once

#include "Synth/Envelope.h"
#include "Synth/Instrument.h"
#include "Synth/Noise.h"

namespace KUV::Synth {

struct SubtractivePatch {
    int saws = 1; // detuned saw oscillators
    double detuneCents = 0; // spread between the outermost saws
    double square = 0; // level of a square at the note's pitch
    double sub = 0; // level of a sine an octave below
    EnvelopeShape amp;
    double cutoff = 1000; // Hz with the filter envelope closed
    double cutoffEnv = 0; // Hz added at the note's start
    double cutoffDecay = 0.2; // seconds for the filter envelope to fall by e^-1
    double resonance = 0.7;
    double keyTrack = 0; // 1 moves the cutoff with the pitch
    double width = 0; // 0 mono .. 1 the saws spread fully left and right
    double vibratoHz = 0;
    double vibratoCents = 0;
    double vibratoDelay = 0;
    double level = 1;
};

SubtractivePatch PatchFor(Instrument instrument);

class Subtractive : public InstrumentBase {
public:
    Subtractive(const SubtractivePatch& patch, double pan, std::uint32_t seed)
        : m_Patch(patch)
        , m_Pan(pan)
        , m_Noise(seed)
    {
    }
    void Play(const Note& note, Audio& out) override;

private:
    struct Render;

    SubtractivePatch m_Patch;
    double m_Pan;
    Noise m_Noise;
};

} // namespace KUV::Synth
