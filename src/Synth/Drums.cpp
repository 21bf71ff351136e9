#include "Synth/Drums.h"

#include <cmath>
#include <numbers>

namespace KUV::Synth {

namespace {

size_t Frames(double seconds)
{
    return static_cast<size_t>(seconds * SampleRate);
}

// A short linear fade over the last frames, so a cut tail never clicks.
void FadeTail(std::vector<float>& samples)
{
    const size_t fade = std::min<size_t>(samples.size(), 256);
    for (size_t i = 0; i < fade; ++i)
        samples[samples.size() - 1 - i] *= static_cast<float>(i) / fade;
}

} // namespace

void DrumBase::Play(const Note& note, Audio& out)
{
    if (m_Hit.empty()) {
        m_Hit = Hit();
        FadeTail(m_Hit);
    }
    AddPanned(out, Frames(note.start), m_Hit, m_Pan, note.velocity);
}

std::vector<float> Kick::Hit()
{
    const double tau = 0.15 * m_Decay;
    std::vector<float> samples(Frames(tau * 7));
    Filter click(Filter::Mode::LowPass, 3000);
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        phase += (46 + 120 * std::exp(-t / 0.03)) / SampleRate;
        const double body = std::sin(2 * std::numbers::pi * phase) * std::exp(-t / tau) * std::min(1.0, t / 0.001);
        const double snap = click.Process(m_Noise.Next()) * std::exp(-t / 0.003) * 0.5;
        samples[i] = static_cast<float>(std::tanh(1.6 * (body + snap)) / std::tanh(1.6));
    }
    return samples;
}

std::vector<float> Snare::Hit()
{
    const double tau = 0.11 * m_Decay;
    std::vector<float> samples(Frames(tau * 7));
    Filter rattle(Filter::Mode::BandPass, 2600, 0.8);
    Filter body(Filter::Mode::HighPass, 900);
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        phase += (175 + 60 * std::exp(-t / 0.01)) / SampleRate;
        const double tone = std::sin(2 * std::numbers::pi * phase) * std::exp(-t / 0.05) * 0.55;
        const double noise = m_Noise.Next();
        const double hiss = (rattle.Process(noise) * 1.4 + body.Process(noise) * 0.5) * std::exp(-t / tau);
        samples[i] = static_cast<float>((tone + hiss) * std::min(1.0, t / 0.0008));
    }
    return samples;
}

std::vector<float> Hat::Hit()
{
    const double tau = 0.03 * m_Decay;
    std::vector<float> samples(Frames(tau * 7));
    Filter high(Filter::Mode::HighPass, 7500, 0.9);
    Filter shine(Filter::Mode::BandPass, 10500, 1.5);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double noise = m_Noise.Next();
        const double metal = high.Process(noise) + shine.Process(noise) * 0.6;
        samples[i] = static_cast<float>(metal * 0.6 * std::exp(-t / tau) * std::min(1.0, t / 0.0005));
    }
    return samples;
}

} // namespace KUV::Synth
