// Boolean combinations of geometries.
#pragma once

#include "Gfx/cairo/PathData.h"

namespace KUV::Gfx::Cairo {

// Writes first combined with second (mapped through secondTransform) into sink as closed, filled
// polygons under the alternate rule. Each input is flattened with tolerance and keeps its own fill rule.
HRESULT CombinePaths(const PathData& first, const PathData& second, const cairo_matrix_t& secondTransform,
    D2D1_COMBINE_MODE mode, double tolerance, ID2D1SimplifiedGeometrySink* sink);

} // namespace KUV::Gfx::Cairo
