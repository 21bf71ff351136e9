#include "Synth/Effects.h"

namespace KUV::Synth {

PingPongDelay::PingPongDelay(double seconds, double feedback, double damping)
    : m_Length(static_cast<size_t>(seconds * SampleRate))
    , m_Feedback(feedback)
    , m_Damping(damping)
{
}

Audio PingPongDelay::Process(const std::vector<float>& send)
{
    // The send enters on the left; each repeat crosses to the other side, a little darker.
    Audio wet(send.size());
    std::vector<double> lineLeft(m_Length, 0), lineRight(m_Length, 0);
    double toneLeft = 0, toneRight = 0;
    for (size_t i = 0, at = 0; i < send.size(); ++i, at = at + 1 == m_Length ? 0 : at + 1) {
        const double outLeft = lineLeft[at], outRight = lineRight[at];
        toneLeft += (outRight - toneLeft) * (1 - m_Damping);
        toneRight += (outLeft - toneRight) * (1 - m_Damping);
        lineLeft[at] = send[i] + toneLeft * m_Feedback;
        lineRight[at] = toneRight * m_Feedback;
        wet.left[i] = static_cast<float>(outLeft);
        wet.right[i] = static_cast<float>(outRight);
    }
    return wet;
}

namespace {

class Comb {
public:
    Comb(size_t length, double feedback, double damping)
        : m_Line(length, 0)
        , m_Feedback(feedback)
        , m_Damping(damping)
    {
    }
    double Process(double in)
    {
        const double out = m_Line[m_At];
        m_Store = out * (1 - m_Damping) + m_Store * m_Damping;
        m_Line[m_At] = in + m_Store * m_Feedback;
        if (++m_At == m_Line.size()) m_At = 0;
        return out;
    }

private:
    std::vector<double> m_Line;
    double m_Feedback, m_Damping, m_Store = 0;
    size_t m_At = 0;
};

class AllPass {
public:
    explicit AllPass(size_t length)
        : m_Line(length, 0)
    {
    }
    double Process(double in)
    {
        const double delayed = m_Line[m_At];
        m_Line[m_At] = in + delayed * 0.5;
        if (++m_At == m_Line.size()) m_At = 0;
        return delayed - in;
    }

private:
    std::vector<double> m_Line;
    size_t m_At = 0;
};

} // namespace

std::vector<float> Reverb::Channel(const std::vector<float>& send, int spread) const
{
    static const int combLengths[] = { 1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617 };
    static const int allPassLengths[] = { 556, 441, 341, 225 };
    std::vector<Comb> combs;
    for (int length : combLengths)
        combs.emplace_back(length + spread, 0.7 + 0.28 * m_RoomSize, m_Damping);
    std::vector<AllPass> allPasses;
    for (int length : allPassLengths)
        allPasses.emplace_back(length + spread);
    std::vector<float> out(send.size());
    for (size_t i = 0; i < send.size(); ++i) {
        double sum = 0;
        for (auto& comb : combs)
            sum += comb.Process(send[i] * 0.015);
        for (auto& allPass : allPasses)
            sum = allPass.Process(sum);
        out[i] = static_cast<float>(sum);
    }
    return out;
}

Audio Reverb::Process(const std::vector<float>& send) const
{
    Audio wet;
    wet.left = Channel(send, 0);
    wet.right = Channel(send, 23);
    return wet;
}

} // namespace KUV::Synth
