// The pictures a failed pixel check leaves behind: what was expected, what was drawn,
// where they differ, and the three side by side (expected | actual | difference).
#pragma once

#include <string>
#include <vector>

#include "support/Pixels.h"

namespace kuvtest {

// A probe set as a picture: each probe a 5 x 5 block of its expected colour, on transparent.
Image ProbePicture(const std::vector<PixelExpectation>& probes, int width, int height);

// The frame dimmed to grey, with each probe a 5 x 5 block: red where it is wrong, green where right.
Image ProbeMarks(const Image& frame, const std::vector<PixelExpectation>& probes, int tolerance);

// Black where the images agree; a channel that differs within tolerance dim, beyond it bright.
Image DifferencePicture(const Image& expected, const Image& actual, int tolerance);

constexpr int SideBySideGutter = 4;

// The panes left to right, SideBySideGutter dark pixels apart, over a chequerboard that shows transparency.
Image SideBySide(const std::vector<const Image*>& panes);

// Saves expected, actual, difference and their side-by-side under one failure's stem;
// returns the saved paths for the failure message.
std::string SaveFailurePictures(const Image& expected, const Image& actual, const Image& difference);

} // namespace kuvtest
