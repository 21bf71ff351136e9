// The window title that reports how fast frames are drawn.
#pragma once

#include <cstdint>
#include <string>

namespace KUV::Player {

inline constexpr const char* FrameRateTitlePrefix = "Velorine: Current Frame Rate (fps) = ";

// The frame rate of a frame that took elapsedMs milliseconds, written as a default output
// stream writes a double ("62.5", "66.6667"); a frame of 0 ms is infinitely fast ("inf").
std::string FrameRateText(std::int32_t elapsedMs);

// The prefix followed by FrameRateText.
std::string FrameRateTitle(std::int32_t elapsedMs);

} // namespace KUV::Player
