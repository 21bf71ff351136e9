// The rhythm in which the authoring tools play a scene: an update every 16 ms from tick 0,
// one frame of a 60 Hz screen, so that what they show is what the player shows on one.
#pragma once

#include <cstdint>

namespace KUV::Authoring {

inline constexpr std::int64_t UpdateStep = 16;

} // namespace KUV::Authoring
