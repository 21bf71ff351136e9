// The flash check as a picture: the frames' luminance and red over time, the flash rates
// and the flashing area against their limits, and the failing stretches marked.
#pragma once

#include <string>
#include <vector>

#include "Authoring/FlashStretches.h"

namespace KUV::Check {

// Writes the plot of frames (ascending ticks) as a PNG at path; false with a reason in *error.
bool WriteFlashPlot(const std::string& path, const std::string& title,
    const std::vector<Authoring::FrameMeasure>& frames, const std::vector<Authoring::FlashStretch>& stretches,
    std::string* error);

} // namespace KUV::Check
