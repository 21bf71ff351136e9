// Glyph outlines from FreeType written into a geometry sink.
#pragma once

#include <ft2build.h>
#include FT_OUTLINE_H

#include "Gfx/D2D1.h"

namespace KUV::Gfx::Text {

// Where font units land: x' = originX + x * scale, y' = originY - y * scale (y grows down).
struct OutlinePlacement {
    double originX;
    double originY;
    double scale;
};

// Writes every contour of outline as a filled, closed figure; quadratic segments become
// the equivalent cubic Béziers. Returns false when FreeType rejects the outline.
bool WriteOutline(const FT_Outline& outline, const OutlinePlacement& placement, ID2D1SimplifiedGeometrySink* sink);

} // namespace KUV::Gfx::Text
