// The fixed length of the production's run.
#pragma once

#include <cstdint>

namespace KUV::Player {

inline constexpr std::uint32_t RunLengthMs = 154000;

// Whether more than RunLengthMs have passed from startTick to nowTick. Tick counts wrap
// around after 2^32 ms, so the difference is taken in unsigned 32-bit arithmetic.
bool RunLengthExceeded(std::uint32_t nowTick, std::uint32_t startTick);

} // namespace KUV::Player
