// The even-odd fill rule, which the format's paths (always filled by winding) cannot say.
#pragma once

#include <optional>
#include <vector>

#include <polyclipping/clipper.hpp>

#include "ImportSvg/Geometry.h"

namespace KUV::ImportSvg {

// Figures that, filled by winding, cover what path covers by even-odd; empty when the two rules
// already agree on path (then it is drawn as it is, curves kept).
std::optional<PathModel> EvenOddAsWinding(const PathModel& path, double tolerance);

// What of area (filled by winding) lies inside the convex polygon; the result is filled by winding.
PathModel Intersect(const PathModel& area, const std::vector<Pt>& convex, double tolerance);

// Clipper's integer polygons, scaled up by scale, back as closed straight figures; polygons of
// fewer than three points are dropped.
PathModel FromClipper(const ClipperLib::Paths& paths, double scale);

} // namespace KUV::ImportSvg
