#include "Synth/Filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Synth/Audio.h"

namespace KUV::Synth {

void Filter::SetCutoff(double hz)
{
    const double cutoff = std::clamp(hz, 10.0, SampleRate * 0.45);
    m_G = std::tan(std::numbers::pi * cutoff / SampleRate);
    m_A1 = 1 / (1 + m_G * (m_G + m_K));
    m_A2 = m_G * m_A1;
    m_A3 = m_G * m_A2;
}

double Filter::Process(double in)
{
    const double v3 = in - m_Ic2;
    const double v1 = m_A1 * m_Ic1 + m_A2 * v3;
    const double v2 = m_Ic2 + m_A2 * m_Ic1 + m_A3 * v3;
    m_Ic1 = 2 * v1 - m_Ic1;
    m_Ic2 = 2 * v2 - m_Ic2;
    switch (m_Mode) {
    case Mode::LowPass:
        return v2;
    case Mode::BandPass:
        return v1;
    case Mode::HighPass:
        break;
    }
    return in - m_K * v1 - v2;
}

} // namespace KUV::Synth
