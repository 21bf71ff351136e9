#include "Synth/Oscillator.h"

#include <cmath>
#include <numbers>

#include "Synth/Audio.h"

namespace KUV::Synth {

namespace {

// The correction around a step of height 2 at phase 0, for a phase increment dt.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

double Square(double phase, double dt)
{
    double value = phase < 0.5 ? 1 : -1;
    value += PolyBlep(phase, dt);
    value -= PolyBlep(std::fmod(phase + 0.5, 1.0), dt);
    return value;
}

} // namespace

double Oscillator::Next(double hz)
{
    const double dt = std::fmin(hz / SampleRate, 0.45);
    double value = 0;
    switch (m_Wave) {
    case Wave::Sine:
        value = std::sin(2 * std::numbers::pi * m_Phase);
        break;
    case Wave::Saw:
        value = 2 * m_Phase - 1 - PolyBlep(m_Phase, dt);
        break;
    case Wave::Square:
        value = Square(m_Phase, dt);
        break;
    }
    m_Phase += dt;
    if (m_Phase >= 1) m_Phase -= 1;
    return value;
}

} // namespace KUV::Synth
