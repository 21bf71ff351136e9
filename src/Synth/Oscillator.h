// Band-limited oscillators: the saw and square carry polynomial corrections at their edges, so high notes
// do not alias into harsh tones.
#pragma once

namespace KUV::Synth {

enum class Wave { Sine, Saw, Square };

class Oscillator {
public:
    explicit Oscillator(Wave wave, double phase = 0)
        : m_Wave(wave)
        , m_Phase(phase)
    {
    }

    // The next sample at the given frequency, in [-1, 1].
    double Next(double hz);

private:
    Wave m_Wave;
    double m_Phase;
};

} // namespace KUV::Synth
