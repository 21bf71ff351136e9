#include "Gfx/cairo/HitTest.h"

#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Flatten.h"

namespace KUV::Gfx::Cairo {

namespace {

double Side(Point a, Point b, Point p)
{
    return (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
}

// How the edge a->b changes the winding number around p.
int Crossing(Point a, Point b, Point p)
{
    if (a.y <= p.y) return b.y > p.y && Side(a, b, p) > 0 ? 1 : 0;
    return b.y <= p.y && Side(a, b, p) < 0 ? -1 : 0;
}

double SquaredDistanceToSegment(Point a, Point b, Point p)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

struct Tally {
    int winding = 0;
    bool nearEdge = false;
};

// Every figure counts as closed: filling closes open figures.
void TallyFigure(const FlatPath& flat, const FlatFigure& figure, Point p, double tolerance2, Tally& tally)
{
    for (std::size_t i = figure.begin; i < figure.end; ++i) {
        const Point a = flat.points[i];
        const Point b = flat.points[i + 1 < figure.end ? i + 1 : figure.begin];
        tally.winding += Crossing(a, b, p);
        tally.nearEdge = tally.nearEdge || SquaredDistanceToSegment(a, b, p) <= tolerance2;
    }
}

} // namespace

HRESULT PathContainsPoint(
    const PathData& path, D2D1_POINT_2F point, const cairo_matrix_t& world, double tolerance, BOOL* contains)
{
    if (contains == nullptr) return E_POINTER;
    *contains = FALSE;
    if (!path.IsFinite() || !IsFinite(world) || !std::isfinite(point.x) || !std::isfinite(point.y))
        return D2DERR_BAD_NUMBER;
    const FlatPath flat = Flatten(path, world, tolerance, true);
    Tally tally;
    for (const FlatFigure& figure : flat.figures)
        TallyFigure(flat, figure, { point.x, point.y }, tolerance * tolerance, tally);
    const bool inside = path.FillMode() == D2D1_FILL_MODE_WINDING ? tally.winding != 0 : (tally.winding & 1) != 0;
    *contains = inside || tally.nearEdge ? TRUE : FALSE;
    return S_OK;
}

} // namespace KUV::Gfx::Cairo
