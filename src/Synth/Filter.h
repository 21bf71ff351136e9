// A state-variable filter (12 dB per octave, trapezoidal integration: stable at every cutoff).
#pragma once

namespace KUV::Synth {

class Filter {
public:
    enum class Mode { LowPass, HighPass, BandPass };

    Filter(Mode mode, double cutoff, double resonance = 0.7)
        : m_Mode(mode)
        , m_K(1 / resonance)
    {
        SetCutoff(cutoff);
    }

    // Cutoff in Hz; clamped below the Nyquist frequency.
    void SetCutoff(double hz);
    double Process(double in);

private:
    Mode m_Mode;
    double m_K;
    double m_A1 = 0, m_A2 = 0, m_A3 = 0, m_G = 0;
    double m_Ic1 = 0, m_Ic2 = 0;
};

} // namespace KUV::Synth
