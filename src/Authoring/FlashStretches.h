// The stretches of a run whose flashing fails, and the lines that tell them: the
// check prints them, the preview's timeline reads them back.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "Authoring/FlashMeter.h"

namespace KUV::Authoring {

struct FlashStretch {
    FlashKind kind = FlashKind::General;
    std::int64_t first = 0; // the tick of its first transition
    std::int64_t last = 0; // the tick of its last transition
    double rate = 0; // the most flashes a second within it
    double share = 0; // the largest share of the frame flashing more than three times a second

    bool operator==(const FlashStretch&) const = default;
};

// Every failing stretch of frames (ascending ticks), general ones before red ones. A stretch
// reaches back to the first large transition of the second that made it fail, and ends with
// its last large transition.
std::vector<FlashStretch> FailingStretches(const std::vector<FrameMeasure>& frames);

// "FILE: warning: general flashes from 1008 to 2992 ms: 4.0 a second over 100.0 % of the frame"
std::string StretchLine(const std::string& file, const FlashStretch& stretch);
// The stretches of every such line of text (other lines are passed over).
std::vector<FlashStretch> ReadStretches(std::istream& text);

// The run in one line: frames, ticks, failing stretches, and per kind the highest rate that an
// area large enough to count reached and the largest share of the frame flashing too often.
std::string FlashSummary(const std::vector<FrameMeasure>& frames, std::size_t failing);

const char* KindName(FlashKind kind);

} // namespace KUV::Authoring
