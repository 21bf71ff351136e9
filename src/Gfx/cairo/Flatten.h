// Curves turned into polylines, for measuring, hit testing and combining.
#pragma once

#include <cstddef>
#include <vector>

#include "Gfx/cairo/PathData.h"

namespace KUV::Gfx::Cairo {

struct FlatFigure {
    std::size_t begin;
    std::size_t end;
    bool closed;
};

struct FlatPath {
    std::vector<Point> points;
    std::vector<FlatFigure> figures;
};

// Maps every point of path through m and replaces curves by chords that stray at most tolerance
// from them; with filledOnly, hollow figures are left out.
FlatPath Flatten(const PathData& path, const cairo_matrix_t& m, double tolerance, bool filledOnly);

// The number of chords that keep the cubic p0..p3 within tolerance, at least 1.
int CurveSteps(Point p0, Point p1, Point p2, Point p3, double tolerance);

} // namespace KUV::Gfx::Cairo
