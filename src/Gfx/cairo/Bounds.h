// Bounds of filled and stroked geometries.
#pragma once

#include "Gfx/cairo/PathData.h"

namespace KUV::Gfx::Cairo {

// Direct2D's default limit of 10 counts the miter from the vertex in half stroke widths; cairo
// counts it from the inner corner in full widths, which gives the same ratio, 1 / sin(angle / 2).
constexpr double kCairoMiterLimit = 10.0;

// The tight bounds of every figure under world (curves exact); empty bounds for no figures.
HRESULT PathBounds(const PathData& path, const cairo_matrix_t& world, D2D1_RECT_F* bounds);

// The bounds of the outline stroked at strokeWidth with flat caps and miter joins, widened in
// the geometry's coordinates and then mapped through world.
HRESULT WidenedPathBounds(
    const PathData& path, double strokeWidth, const cairo_matrix_t& world, double tolerance, D2D1_RECT_F* bounds);

} // namespace KUV::Gfx::Cairo
