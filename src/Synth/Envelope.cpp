#include "Synth/Envelope.h"

#include <algorithm>
#include <cmath>

namespace KUV::Synth {

double Envelope::Held(double t) const
{
    if (t < m_Shape.attack) return t / m_Shape.attack;
    const double falling = (t - m_Shape.attack) / std::max(m_Shape.decay, 1e-4);
    return m_Shape.sustain + (1 - m_Shape.sustain) * std::exp(-3 * falling);
}

double Envelope::At(double t) const
{
    if (t < 0) return 0;
    if (t < m_Gate) return Held(t);
    const double released = (t - m_Gate) / std::max(m_Shape.release, 1e-4);
    return released >= 1 ? 0 : Held(m_Gate) * (1 - released);
}

} // namespace KUV::Synth
