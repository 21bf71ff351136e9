#include "Gfx/cairo/Flatten.h"

#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"

namespace KUV::Gfx::Cairo {

namespace {

// Bounds the work (and memory) spent on one curve whatever its size.
constexpr int kMaxCurveSteps = 1024;

Point CubicAt(Point p0, Point p1, Point p2, Point p3, double t)
{
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return { a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y };
}

void AddCurve(std::vector<Point>& points, Point p1, Point p2, Point p3, double tolerance)
{
    const Point p0 = points.back();
    const int steps = CurveSteps(p0, p1, p2, p3, tolerance);
    for (int i = 1; i < steps; ++i)
        points.push_back(CubicAt(p0, p1, p2, p3, double(i) / steps));
    points.push_back(p3);
}

void FlattenFigure(
    const PathData& path, const FigureSpan& span, const cairo_matrix_t& m, double tolerance, FlatPath& out)
{
    FlatFigure figure { out.points.size(), 0, span.closed };
    ForEachElement(path.Elements(), span.begin, span.end, [&](cairo_path_data_type_t type, const cairo_path_data_t* p) {
        if (type == CAIRO_PATH_MOVE_TO || type == CAIRO_PATH_LINE_TO)
            out.points.push_back(Apply(m, { p[0].point.x, p[0].point.y }));
        else if (type == CAIRO_PATH_CURVE_TO)
            AddCurve(out.points, Apply(m, { p[0].point.x, p[0].point.y }), Apply(m, { p[1].point.x, p[1].point.y }),
                Apply(m, { p[2].point.x, p[2].point.y }), tolerance);
    });
    figure.end = out.points.size();
    out.figures.push_back(figure);
}

} // namespace

int CurveSteps(Point p0, Point p1, Point p2, Point p3, double tolerance)
{
    // A uniform split into n chords strays at most 3/4 * L / n^2, L the larger second difference.
    const double l1 = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
    const double l2 = std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y);
    const double steps = std::ceil(std::sqrt(0.75 * std::max(l1, l2) / tolerance));
    if (!(steps < kMaxCurveSteps)) return std::isnan(steps) ? 1 : kMaxCurveSteps;
    return std::max(1, static_cast<int>(steps));
}

FlatPath Flatten(const PathData& path, const cairo_matrix_t& m, double tolerance, bool filledOnly)
{
    FlatPath out;
    out.points.reserve(path.Elements().size());
    for (const FigureSpan& span : path.Figures())
        if (span.filled || !filledOnly) FlattenFigure(path, span, m, tolerance, out);
    return out;
}

} // namespace KUV::Gfx::Cairo
