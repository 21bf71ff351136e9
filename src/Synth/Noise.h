// Seeded white noise: the same seed gives the same samples on every run.
#pragma once

#include <cstdint>

namespace KUV::Synth {

class Noise {
public:
    explicit Noise(std::uint32_t seed)
        : m_State(seed ? seed : 0x9e3779b9u)
    {
    }

    // Uniform in [-1, 1).
    float Next()
    {
        m_State ^= m_State << 13;
        m_State ^= m_State >> 17;
        m_State ^= m_State << 5;
        return static_cast<float>(m_State >> 8) / 8388608.0f - 1.0f;
    }

private:
    std::uint32_t m_State;
};

} // namespace KUV::Synth
