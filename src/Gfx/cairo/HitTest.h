// Whether a point lies in the filled area of a geometry.
#pragma once

#include "Gfx/cairo/PathData.h"

namespace KUV::Gfx::Cairo {

// Flattens the filled figures under world with tolerance and applies the path's fill rule;
// points that miss the fill by no more than tolerance count as inside.
HRESULT PathContainsPoint(
    const PathData& path, D2D1_POINT_2F point, const cairo_matrix_t& world, double tolerance, BOOL* contains);

} // namespace KUV::Gfx::Cairo
