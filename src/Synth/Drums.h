// Drum sounds made from a swept sine and filtered noise.
#pragma once

#include "Synth/Filter.h"
#include "Synth/Instrument.h"
#include "Synth/Noise.h"

namespace KUV::Synth {

class DrumBase : public InstrumentBase {
public:
    DrumBase(double pan, double decay, std::uint32_t seed)
        : m_Pan(pan)
        , m_Decay(decay)
        , m_Noise(seed)
    {
    }
    void Play(const Note& note, Audio& out) final;

protected:
    // The hit's samples at full velocity.
    virtual std::vector<float> Hit() = 0;

    double m_Pan;
    double m_Decay;
    Noise m_Noise;

private:
    std::vector<float> m_Hit; // made on the first hit; every later hit replays it, as a drum machine does
};

class Kick : public DrumBase {
public:
    using DrumBase::DrumBase;

protected:
    std::vector<float> Hit() override;
};

class Snare : public DrumBase {
public:
    using DrumBase::DrumBase;

protected:
    std::vector<float> Hit() override;
};

class Hat : public DrumBase {
public:
    using DrumBase::DrumBase;

protected:
    std::vector<float> Hit() override;
};

} // namespace KUV::Synth
