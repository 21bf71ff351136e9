// Strokes the format cannot draw itself (caps, joins and miter limits other than its own,
// dashes) as filled outlines, offset by Clipper.
#pragma once

#include <vector>

#include "ImportSvg/Geometry.h"

namespace KUV::ImportSvg {

struct StrokeStyle {
    double width = 1;
    enum Cap { Butt, Round, Square } cap = Butt;
    enum Join { Miter, RoundJoin, Bevel } join = Miter;
    double miterLimit = 4;
    std::vector<double> dashes; // empty: solid; otherwise an even count of positive total
    double dashOffset = 0;
};

// The miter limit of the format's own stroke (joins longer than this many half-widths bevel).
constexpr double NativeMiterLimit = 10;

// Whether the format's own stroke (butt caps, miter joins with its limit, no dashes) draws
// this style on this path exactly.
bool NativeStrokeFits(const PathModel& path, const StrokeStyle& style);

// The stroke's area as closed figures to fill with the winding rule; tolerance is in user units.
PathModel StrokeOutline(const PathModel& path, const StrokeStyle& style, double tolerance);

} // namespace KUV::ImportSvg
