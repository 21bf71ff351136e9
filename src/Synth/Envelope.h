// Attack-decay-sustain-release: a linear attack, an exponential fall to the sustain level, and a linear
// release that reaches exactly zero, so every note ends in silence.
#pragma once

namespace KUV::Synth {

struct EnvelopeShape {
    double attack = 0.005; // seconds
    double decay = 0.2;
    double sustain = 1; // level 0..1
    double release = 0.1;
};

class Envelope {
public:
    Envelope(const EnvelopeShape& shape, double gate)
        : m_Shape(shape)
        , m_Gate(gate)
    {
    }

    // The level at t seconds after the note starts.
    double At(double t) const;
    // How long the note sounds in all, release included.
    double Length() const { return m_Gate + m_Shape.release; }

private:
    double Held(double t) const;

    EnvelopeShape m_Shape;
    double m_Gate;
};

} // namespace KUV::Synth
