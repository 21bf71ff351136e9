#include "ImportSvg/FillRule.h"

#include <algorithm>
#include <cmath>

#include <polyclipping/clipper.hpp>

namespace KUV::ImportSvg {

namespace {

double TotalArea(const ClipperLib::Paths& paths)
{
    double area = 0;
    for (const ClipperLib::Path& p : paths)
        area += ClipperLib::Area(p);
    return std::abs(area);
}

ClipperLib::Paths Filled(const ClipperLib::Paths& input, ClipperLib::PolyFillType rule)
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(input, ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, rule, rule);
    return out;
}

double ScaleFor(const Box& box, double tolerance)
{
    const double extent = std::max({ std::abs(box.x0), std::abs(box.x1), std::abs(box.y0), std::abs(box.y1), 1e-9 });
    return std::min(1.0 / std::max(tolerance * 0.05, 1e-12), 1e14 / extent);
}

ClipperLib::Path ToClipper(const std::vector<Pt>& line, double scale)
{
    ClipperLib::Path p;
    for (const Pt& q : line)
        p.push_back({ ClipperLib::cInt(std::llround(q.x * scale)), ClipperLib::cInt(std::llround(q.y * scale)) });
    return p;
}

} // namespace

PathModel FromClipper(const ClipperLib::Paths& paths, double scale)
{
    PathModel out;
    for (const ClipperLib::Path& p : paths) {
        if (p.size() < 3) continue;
        Figure f { { p[0].X / scale, p[0].Y / scale }, {}, true };
        for (std::size_t i = 1; i < p.size(); ++i)
            f.segments.push_back({ false, {}, {}, { p[i].X / scale, p[i].Y / scale } });
        out.push_back(std::move(f));
    }
    return out;
}

PathModel Intersect(const PathModel& area, const std::vector<Pt>& convex, double tolerance)
{
    Box box = Bounds(area);
    for (const Pt& p : convex)
        box.Add(p);
    if (box.Empty()) return {};
    const double scale = ScaleFor(box, tolerance);
    ClipperLib::Clipper clipper;
    for (const std::vector<Pt>& line : Flatten(area, tolerance))
        clipper.AddPath(ToClipper(line, scale), ClipperLib::ptSubject, true);
    clipper.AddPath(ToClipper(convex, scale), ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctIntersection, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return FromClipper(out, scale);
}

std::optional<PathModel> EvenOddAsWinding(const PathModel& path, double tolerance)
{
    const Box box = Bounds(path);
    if (box.Empty()) return std::nullopt;
    const double scale = ScaleFor(box, tolerance);
    ClipperLib::Paths input;
    for (const std::vector<Pt>& line : Flatten(path, tolerance))
        input.push_back(ToClipper(line, scale));
    const ClipperLib::Paths evenOdd = Filled(input, ClipperLib::pftEvenOdd);
    const double a = TotalArea(evenOdd), b = TotalArea(Filled(input, ClipperLib::pftNonZero));
    if (std::abs(a - b) <= 1e-6 * std::max(b, 1.0)) return std::nullopt;
    return FromClipper(evenOdd, scale);
}

} // namespace KUV::ImportSvg
