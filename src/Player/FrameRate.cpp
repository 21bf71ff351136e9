#include "Player/FrameRate.h"

#include <limits>
#include <sstream>

namespace KUV::Player {

std::string FrameRateText(std::int32_t elapsedMs)
{
    // Spelled out rather than left to the division so that a 0 ms frame is defined behaviour.
    const double rate = elapsedMs == 0 ? std::numeric_limits<double>::infinity() : 1000.0 / elapsedMs;
    std::ostringstream text;
    text << rate;
    return text.str();
}

std::string FrameRateTitle(std::int32_t elapsedMs)
{
    return FrameRateTitlePrefix + FrameRateText(elapsedMs);
}

} // namespace KUV::Player
