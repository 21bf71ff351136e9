#include "Gfx/cairo/Geometry.h"

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Bounds.h"
#include "Gfx/cairo/Combine.h"
#include "Gfx/cairo/HitTest.h"

namespace KUV::Gfx::Cairo {

namespace {

// The distance of a cubic's inner control points that best follows a quarter circle.
constexpr double kQuarterArc = 0.55228474983079339840;

} // namespace

const PathData* PathDataOf(ID2D1Geometry* geometry)
{
    const auto* source = dynamic_cast<const GeometrySource*>(geometry);
    return source != nullptr ? &source->Data() : nullptr;
}

HRESULT GeometryBounds(const PathData& data, const D2D1_MATRIX_3X2_F* world, D2D1_RECT_F* bounds)
{
    return PathBounds(data, ToCairoOrIdentity(world), bounds);
}

HRESULT GeometryWidenedBounds(
    const PathData& data, float strokeWidth, const D2D1_MATRIX_3X2_F* world, float tolerance, D2D1_RECT_F* bounds)
{
    return WidenedPathBounds(data, strokeWidth, ToCairoOrIdentity(world), ToleranceOrDefault(tolerance), bounds);
}

HRESULT GeometryContainsPoint(
    const PathData& data, D2D1_POINT_2F point, const D2D1_MATRIX_3X2_F* world, float tolerance, BOOL* contains)
{
    return PathContainsPoint(data, point, ToCairoOrIdentity(world), ToleranceOrDefault(tolerance), contains);
}

HRESULT GeometryCombine(const PathData& data, ID2D1Geometry* input, D2D1_COMBINE_MODE mode,
    const D2D1_MATRIX_3X2_F* inputTransform, float tolerance, ID2D1SimplifiedGeometrySink* sink)
{
    const PathData* other = PathDataOf(input);
    if (other == nullptr) return E_INVALIDARG;
    return CombinePaths(data, *other, ToCairoOrIdentity(inputTransform), mode, ToleranceOrDefault(tolerance), sink);
}

PathData RectanglePath(const D2D1_RECT_F& r)
{
    PathData path;
    path.BeginFigure({ r.left, r.top }, true);
    path.LineTo({ r.right, r.top });
    path.LineTo({ r.right, r.bottom });
    path.LineTo({ r.left, r.bottom });
    path.EndFigure(true);
    path.Finish();
    return path;
}

PathData EllipsePath(const D2D1_ELLIPSE& e)
{
    const double cx = e.point.x, cy = e.point.y, rx = e.radiusX, ry = e.radiusY;
    const double kx = rx * kQuarterArc, ky = ry * kQuarterArc;
    PathData path;
    path.BeginFigure({ cx + rx, cy }, true);
    path.CurveTo({ cx + rx, cy + ky }, { cx + kx, cy + ry }, { cx, cy + ry });
    path.CurveTo({ cx - kx, cy + ry }, { cx - rx, cy + ky }, { cx - rx, cy });
    path.CurveTo({ cx - rx, cy - ky }, { cx - kx, cy - ry }, { cx, cy - ry });
    path.CurveTo({ cx + kx, cy - ry }, { cx + rx, cy - ky }, { cx + rx, cy });
    path.EndFigure(true);
    path.Finish();
    return path;
}

} // namespace KUV::Gfx::Cairo
