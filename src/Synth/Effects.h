// The send effects: a ping-pong echo and a small room, each turning a mono send into a stereo return.
#pragma once

#include <vector>

#include "Synth/Audio.h"

namespace KUV::Synth {

class PingPongDelay {
public:
    PingPongDelay(double seconds, double feedback, double damping);
    // The wet echo of the whole send.
    Audio Process(const std::vector<float>& send);

private:
    size_t m_Length;
    double m_Feedback;
    double m_Damping;
};

// Parallel damped combs into series all-passes per channel, the right channel's lines slightly longer.
class Reverb {
public:
    Reverb(double roomSize, double damping)
        : m_RoomSize(roomSize)
        , m_Damping(damping)
    {
    }
    // The wet room of the whole send.
    Audio Process(const std::vector<float>& send) const;

private:
    std::vector<float> Channel(const std::vector<float>& send, int spread) const;

    double m_RoomSize;
    double m_Damping;
};

} // namespace KUV::Synth
