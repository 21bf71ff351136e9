// The even-odd fill rule, which the format's paths (always filled by winding) cannot say.
#pragma once

#include <optional>

#include "ImportSvg/Geometry.h"

namespace KUV::ImportSvg {

// Figures that, filled by winding, cover what path covers by even-odd; empty when the two rules
// already agree on path (then it is drawn as it is, curves kept).
std::optional<PathModel> EvenOddAsWinding(const PathModel& path, double tolerance);

} // namespace KUV::ImportSvg
