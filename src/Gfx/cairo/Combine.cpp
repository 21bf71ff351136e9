#include "Gfx/cairo/Combine.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Flatten.h"

namespace KUV::Gfx::Cairo {

namespace {

// Clipper works on integers: this many units per device-independent pixel keeps sub-pixel detail.
constexpr double kUnitsPerDip = 1024.0;
// Well inside Clipper's accepted range, so that huge coordinates are clamped instead of refused.
constexpr double kMaxUnits = 1e15;

ClipperLib::cInt ToUnits(double v)
{
    return static_cast<ClipperLib::cInt>(std::clamp(std::round(v * kUnitsPerDip), -kMaxUnits, kMaxUnits));
}

ClipperLib::Paths ToClipper(const FlatPath& flat)
{
    ClipperLib::Paths paths;
    paths.reserve(flat.figures.size());
    for (const FlatFigure& figure : flat.figures) {
        ClipperLib::Path path;
        path.reserve(figure.end - figure.begin);
        for (std::size_t i = figure.begin; i < figure.end; ++i)
            path.emplace_back(ToUnits(flat.points[i].x), ToUnits(flat.points[i].y));
        paths.push_back(std::move(path));
    }
    return paths;
}

ClipperLib::PolyFillType FillTypeOf(const PathData& path)
{
    return path.FillMode() == D2D1_FILL_MODE_WINDING ? ClipperLib::pftNonZero : ClipperLib::pftEvenOdd;
}

bool ClipTypeOf(D2D1_COMBINE_MODE mode, ClipperLib::ClipType* type)
{
    switch (mode) {
    case D2D1_COMBINE_MODE_UNION:
        *type = ClipperLib::ctUnion;
        return true;
    case D2D1_COMBINE_MODE_INTERSECT:
        *type = ClipperLib::ctIntersection;
        return true;
    case D2D1_COMBINE_MODE_XOR:
        *type = ClipperLib::ctXor;
        return true;
    case D2D1_COMBINE_MODE_EXCLUDE:
        *type = ClipperLib::ctDifference;
        return true;
    }
    return false;
}

void WritePolygons(const ClipperLib::Paths& polygons, ID2D1SimplifiedGeometrySink* sink)
{
    sink->SetFillMode(D2D1_FILL_MODE_ALTERNATE);
    std::vector<D2D1_POINT_2F> points;
    for (const ClipperLib::Path& polygon : polygons) {
        if (polygon.size() < 3) continue;
        points.clear();
        for (const ClipperLib::IntPoint& p : polygon)
            points.push_back({ float(double(p.X) / kUnitsPerDip), float(double(p.Y) / kUnitsPerDip) });
        sink->BeginFigure(points[0], D2D1_FIGURE_BEGIN_FILLED);
        sink->AddLines(points.data() + 1, static_cast<UINT32>(points.size() - 1));
        sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    }
}

} // namespace

HRESULT CombinePaths(const PathData& first, const PathData& second, const cairo_matrix_t& secondTransform,
    D2D1_COMBINE_MODE mode, double tolerance, ID2D1SimplifiedGeometrySink* sink)
{
    if (sink == nullptr) return E_POINTER;
    ClipperLib::ClipType type;
    if (!ClipTypeOf(mode, &type)) return E_INVALIDARG;
    if (!first.IsFinite() || !second.IsFinite() || !IsFinite(secondTransform)) return D2DERR_BAD_NUMBER;
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    ClipperLib::Paths result;
    try {
        ClipperLib::Clipper clipper;
        clipper.AddPaths(ToClipper(Flatten(first, identity, tolerance, true)), ClipperLib::ptSubject, true);
        clipper.AddPaths(ToClipper(Flatten(second, secondTransform, tolerance, true)), ClipperLib::ptClip, true);
        // Clipper reports inputs without a single edge as a failure; combining nothing gives nothing.
        if (!clipper.Execute(type, result, FillTypeOf(first), FillTypeOf(second))) result.clear();
    } catch (const ClipperLib::clipperException&) {
        return E_FAIL;
    }
    WritePolygons(result, sink);
    return S_OK;
}

} // namespace KUV::Gfx::Cairo
