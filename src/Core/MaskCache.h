// Cached antialiased coverage masks of static geometries.
#pragma once

#include <memory>

#include "Gfx/D2D1.h"

namespace KUV {

class GeometryBase;

struct MaskData {
    std::shared_ptr<ID2D1Bitmap> bitmap; // A8 coverage
    D2D_MATRIX_3X2_F placement; // mask-bitmap coordinates to geometry coordinates
};

// The fill mask of a static geometry, made once; null when it has none.
std::shared_ptr<ID2D1Bitmap> GetFillMask(GeometryBase& geometry, ID2D1RenderTarget* renderTarget);
// The stroke mask for width w, made once per width; null when there is none.
std::shared_ptr<ID2D1Bitmap> GetStrokeMask(GeometryBase& geometry, ID2D1RenderTarget* renderTarget, float width);
// The placement of the fill mask (identity when none).
D2D_MATRIX_3X2_F GetFillMaskPlacement(const GeometryBase& geometry);
// The placement of the stroke mask stored for width (identity when none).
D2D_MATRIX_3X2_F GetStrokeMaskPlacement(const GeometryBase& geometry, float width);

// Places a mask on the render target for its lifetime: the target draws in mask
// coordinates and the brush paints as it would have without the mask.
class MaskPlacementScope {
public:
    MaskPlacementScope(ID2D1RenderTarget* renderTarget, ID2D1Brush* brush, const D2D_MATRIX_3X2_F& placement);
    ~MaskPlacementScope();
    MaskPlacementScope(const MaskPlacementScope&) = delete;
    MaskPlacementScope& operator=(const MaskPlacementScope&) = delete;

private:
    ID2D1RenderTarget* m_RT;
    ID2D1Brush* m_Brush;
    D2D_MATRIX_3X2_F m_SavedTarget;
    D2D_MATRIX_3X2_F m_SavedBrush;
};

} // namespace KUV
