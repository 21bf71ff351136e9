// Plays a scene frame by frame as tvs-render draws it and measures how each frame flashes.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "Authoring/FlashMeter.h"

namespace KUV::Authoring {

// The frames to measure: every frame of the update grid from `from` to `until`.
struct FrameRun {
    std::string scene;
    int width = 800;
    int height = 600;
    std::int64_t from = 0;
    std::int64_t until = 154000; // the player's run
};

// Appends the measure of each frame of run to frames; 0, else tvs-render's exit code for what
// failed (a load status, 10 + an update or render result) with the reason on err.
int MeasureFrames(const FrameRun& run, std::vector<FrameMeasure>& frames, std::ostream& err);

} // namespace KUV::Authoring
