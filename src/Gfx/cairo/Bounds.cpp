#include "Gfx/cairo/Bounds.h"

#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Flatten.h"

namespace KUV::Gfx::Cairo {

namespace {

class BoundsBuilder {
public:
    void Add(Point p)
    {
        m_Left = std::min(m_Left, p.x);
        m_Top = std::min(m_Top, p.y);
        m_Right = std::max(m_Right, p.x);
        m_Bottom = std::max(m_Bottom, p.y);
        m_Empty = false;
    }
    HRESULT Store(D2D1_RECT_F* bounds) const
    {
        *bounds = EmptyBounds();
        if (m_Empty) return S_OK;
        const D2D1_RECT_F rect = { float(m_Left), float(m_Top), float(m_Right), float(m_Bottom) };
        if (!IsFinite(rect)) return D2DERR_BAD_NUMBER;
        *bounds = rect;
        return S_OK;
    }

private:
    double m_Left = HUGE_VAL, m_Top = HUGE_VAL, m_Right = -HUGE_VAL, m_Bottom = -HUGE_VAL;
    bool m_Empty = true;
};

double Along(double p0, double p1, double p2, double p3, double t)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// The parameters in (0, 1) where one coordinate of the cubic turns.
int CubicTurns(double p0, double p1, double p2, double p3, double t[2])
{
    const double a = p1 - p0, b = p2 - p1, c = p3 - p2;
    const double qa = a - 2 * b + c, qb = 2 * (b - a), qc = a;
    int count = 0;
    auto keep = [&](double root) {
        if (root > 0 && root < 1) t[count++] = root;
    };
    if (std::abs(qa) < 1e-12 * (std::abs(a) + std::abs(b) + std::abs(c))) {
        if (qb != 0) keep(-qc / qb);
        return count;
    }
    const double disc = qb * qb - 4 * qa * qc;
    if (disc < 0) return 0;
    const double root = std::sqrt(disc);
    keep((-qb + root) / (2 * qa));
    keep((-qb - root) / (2 * qa));
    return count;
}

void AddCubic(BoundsBuilder& b, Point p0, Point p1, Point p2, Point p3)
{
    double t[2];
    const int nx = CubicTurns(p0.x, p1.x, p2.x, p3.x, t);
    for (int i = 0; i < nx; ++i)
        b.Add({ Along(p0.x, p1.x, p2.x, p3.x, t[i]), Along(p0.y, p1.y, p2.y, p3.y, t[i]) });
    const int ny = CubicTurns(p0.y, p1.y, p2.y, p3.y, t);
    for (int i = 0; i < ny; ++i)
        b.Add({ Along(p0.x, p1.x, p2.x, p3.x, t[i]), Along(p0.y, p1.y, p2.y, p3.y, t[i]) });
    b.Add(p3);
}

// Removes repeated points; a closed figure also loses a last point equal to its first.
std::vector<Point> DistinctPoints(const FlatPath& flat, const FlatFigure& figure)
{
    std::vector<Point> points;
    for (std::size_t i = figure.begin; i < figure.end; ++i) {
        const Point p = flat.points[i];
        if (points.empty() || p.x != points.back().x || p.y != points.back().y) points.push_back(p);
    }
    if (figure.closed && points.size() > 1 && points.back().x == points.front().x
        && points.back().y == points.front().y)
        points.pop_back();
    return points;
}

Point UnitDirection(Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    return { dx / length, dy / length };
}

void AddSegment(BoundsBuilder& b, const cairo_matrix_t& world, Point p, Point q, double halfWidth)
{
    const Point d = UnitDirection(p, q);
    const Point n = { -d.y * halfWidth, d.x * halfWidth };
    for (Point corner : { Point { p.x + n.x, p.y + n.y }, Point { p.x - n.x, p.y - n.y },
             Point { q.x + n.x, q.y + n.y }, Point { q.x - n.x, q.y - n.y } })
        b.Add(Apply(world, corner));
}

// The miter tip at v between the segments a->v and v->c, when within the limit (cairo bevels beyond it).
void AddJoin(BoundsBuilder& b, const cairo_matrix_t& world, Point a, Point v, Point c, double halfWidth)
{
    const Point d1 = UnitDirection(a, v), d2 = UnitDirection(v, c);
    const double dot = d1.x * d2.x + d1.y * d2.y, cross = d1.x * d2.y - d1.y * d2.x;
    if ((1 + dot) * kCairoMiterLimit * kCairoMiterLimit < 2) return;
    const double side = cross > 0 ? -1 : 1;
    const Point n1 = { -d1.y * side, d1.x * side }, n2 = { -d2.y * side, d2.x * side };
    const double scale = halfWidth / (1 + n1.x * n2.x + n1.y * n2.y);
    b.Add(Apply(world, { v.x + (n1.x + n2.x) * scale, v.y + (n1.y + n2.y) * scale }));
}

void AddStrokedFigure(
    BoundsBuilder& b, const std::vector<Point>& p, bool closed, const cairo_matrix_t& world, double halfWidth)
{
    const std::size_t n = p.size();
    if (n < 2) return;
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i)
        AddSegment(b, world, p[i], p[(i + 1) % n], halfWidth);
    for (std::size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i)
        AddJoin(b, world, p[(i + n - 1) % n], p[i], p[(i + 1) % n], halfWidth);
}

} // namespace

HRESULT PathBounds(const PathData& path, const cairo_matrix_t& world, D2D1_RECT_F* bounds)
{
    if (bounds == nullptr) return E_POINTER;
    *bounds = EmptyBounds();
    if (!path.IsFinite() || !IsFinite(world)) return D2DERR_BAD_NUMBER;
    BoundsBuilder b;
    Point current { 0, 0 };
    auto point = [&](const cairo_path_data_t& e) { return Apply(world, { e.point.x, e.point.y }); };
    ForEachElement(
        path.Elements(), 0, path.Elements().size(), [&](cairo_path_data_type_t type, const cairo_path_data_t* p) {
            if (type == CAIRO_PATH_MOVE_TO || type == CAIRO_PATH_LINE_TO) {
                current = point(p[0]);
                b.Add(current);
            } else if (type == CAIRO_PATH_CURVE_TO) {
                AddCubic(b, current, point(p[0]), point(p[1]), point(p[2]));
                current = point(p[2]);
            }
        });
    return b.Store(bounds);
}

HRESULT WidenedPathBounds(
    const PathData& path, double strokeWidth, const cairo_matrix_t& world, double tolerance, D2D1_RECT_F* bounds)
{
    if (bounds == nullptr) return E_POINTER;
    *bounds = EmptyBounds();
    if (!path.IsFinite() || !IsFinite(world) || !std::isfinite(strokeWidth)) return D2DERR_BAD_NUMBER;
    const double stretch = MaxStretch(world);
    const double localTolerance = stretch > 0 && std::isfinite(tolerance / stretch) ? tolerance / stretch : tolerance;
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    const FlatPath flat = Flatten(path, identity, localTolerance, false);
    BoundsBuilder b;
    for (const FlatFigure& figure : flat.figures)
        AddStrokedFigure(b, DistinctPoints(flat, figure), figure.closed, world, std::abs(strokeWidth) / 2);
    return b.Store(bounds);
}

} // namespace KUV::Gfx::Cairo
