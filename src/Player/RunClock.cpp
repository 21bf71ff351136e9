#include "Player/RunClock.h"

namespace KUV::Player {

bool RunLengthExceeded(std::uint32_t nowTick, std::uint32_t startTick)
{
    const std::uint32_t elapsed = nowTick - startTick;
    return elapsed > RunLengthMs;
}

} // namespace KUV::Player
