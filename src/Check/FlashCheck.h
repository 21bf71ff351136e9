// tvs-check --flashes: plays a scene frame by frame as tvs-render draws it and finds the
// stretches that flash too often over too large an area for photosensitive viewers.
#pragma once

#include <ostream>
#include <string>

#include "Authoring/FlashRun.h"

namespace KUV::Check {

struct FlashOptions {
    Authoring::FrameRun run;
    std::string plot; // empty: no plot
    bool noFail = false;
};

// Prints one warning line per failing stretch and a summary on out; returns 0 when nothing
// fails (or noFail), 1 when something does, else the renderer's exit code (a load status,
// 10 + an update or render result, 73 when the plot cannot be written).
int RunFlashCheck(const FlashOptions& options, std::ostream& out, std::ostream& err);

} // namespace KUV::Check
