#include "ImportSvg/Stroker.h"

#include <algorithm>
#include <cmath>

#include <polyclipping/clipper.hpp>

#include "ImportSvg/FillRule.h"

namespace KUV::ImportSvg {

namespace {

constexpr double MaxClipperCoordinate = 1e14;

Pt Direction(Pt from, Pt to)
{
    const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
    return len > 0 ? Pt { dx / len, dy / len } : Pt {};
}

bool IsZero(Pt d)
{
    return d.x == 0 && d.y == 0;
}

// The tangent directions into and out of each segment, skipping degenerate control points.
struct Tangents {
    Pt in, out;
};

Tangents SegmentTangents(Pt from, const Segment& s)
{
    if (!s.cubic) return { Direction(from, s.to), Direction(from, s.to) };
    Pt in = Direction(from, s.c1);
    if (IsZero(in)) in = Direction(from, s.c2);
    if (IsZero(in)) in = Direction(from, s.to);
    Pt out = Direction(s.c2, s.to);
    if (IsZero(out)) out = Direction(s.c1, s.to);
    if (IsZero(out)) out = Direction(from, s.to);
    return { in, out };
}

// The miter ratio 1 / sin(theta / 2) of a join between the directions a and b.
double MiterRatio(Pt a, Pt b)
{
    const double cosTurn = std::clamp(a.x * b.x + a.y * b.y, -1.0, 1.0);
    const double sinHalf = std::sqrt((1 + cosTurn) / 2); // theta is the angle between -a and b
    return sinHalf > 1e-9 ? 1 / sinHalf : 1e9;
}

// Whether any join lies where the drawing's limit and the format's differ.
bool JoinsAgree(const Figure& f, double limit)
{
    std::vector<Tangents> t;
    Pt from = f.start;
    for (const Segment& s : f.segments) {
        if (s.to.x != from.x || s.to.y != from.y || s.cubic) t.push_back(SegmentTangents(from, s));
        from = s.to;
    }
    const double low = std::min(limit, NativeMiterLimit), high = std::max(limit, NativeMiterLimit);
    const std::size_t joins = f.closed ? t.size() : (t.empty() ? 0 : t.size() - 1);
    for (std::size_t i = 0; i < joins; ++i) {
        const double r = MiterRatio(t[i].out, t[(i + 1) % t.size()].in);
        if (r > low * (1 - 1e-6) && r <= high * (1 + 1e-6)) return false;
    }
    return true;
}

using Poly = std::vector<Pt>;

void EmitDash(const Poly& line, double from, double to, std::vector<Poly>& out)
{
    Poly dash;
    double at = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const double len = std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
        const double a = at, b = at + len;
        at = b;
        if (b < from || a > to || len == 0) continue;
        auto point = [&](double d) {
            const double t = std::clamp((d - a) / len, 0.0, 1.0);
            return Pt { line[i - 1].x + (line[i].x - line[i - 1].x) * t,
                line[i - 1].y + (line[i].y - line[i - 1].y) * t };
        };
        if (dash.empty()) dash.push_back(point(std::max(from, a)));
        dash.push_back(point(std::min(to, b)));
    }
    if (!dash.empty()) out.push_back(std::move(dash));
}

// The dashes of one polyline (already closed back to its start when the figure is closed).
std::vector<Poly> Dashes(const Poly& line, const StrokeStyle& style)
{
    double total = 0, pattern = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
        total += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    for (double d : style.dashes)
        pattern += d;
    std::vector<Poly> out;
    double pos = -std::fmod(style.dashOffset, pattern);
    if (pos > 0) pos -= pattern;
    const std::size_t maxDashes = 200000;
    for (std::size_t i = 0; pos < total && out.size() < maxDashes; i = (i + 1) % style.dashes.size()) {
        const double len = style.dashes[i];
        if (i % 2 == 0 && pos + len >= 0) EmitDash(line, std::max(pos, 0.0), std::min(pos + len, total), out);
        pos += len;
    }
    return out;
}

ClipperLib::Path ToClipper(const Poly& line, double scale)
{
    ClipperLib::Path path;
    for (const Pt& p : line) {
        const ClipperLib::IntPoint q { ClipperLib::cInt(std::llround(p.x * scale)),
            ClipperLib::cInt(std::llround(p.y * scale)) };
        if (path.empty() || path.back().X != q.X || path.back().Y != q.Y) path.push_back(q);
    }
    return path;
}

ClipperLib::EndType OpenEnd(StrokeStyle::Cap cap)
{
    return cap == StrokeStyle::Round ? ClipperLib::etOpenRound
        : cap == StrokeStyle::Square ? ClipperLib::etOpenSquare
                                     : ClipperLib::etOpenButt;
}

ClipperLib::JoinType Join(StrokeStyle::Join join)
{
    return join == StrokeStyle::RoundJoin ? ClipperLib::jtRound
        : join == StrokeStyle::Bevel      ? ClipperLib::jtSquare
                                          : ClipperLib::jtMiter;
}

void AddLine(ClipperLib::ClipperOffset& offset, const ClipperLib::Path& path, bool closed, const StrokeStyle& style)
{
    if (path.empty()) return;
    if (path.size() == 1) {
        // A zero-length piece shows only through round or square caps.
        if (style.cap == StrokeStyle::Butt) return;
        offset.AddPath(path, style.cap == StrokeStyle::Round ? ClipperLib::jtRound : ClipperLib::jtSquare,
            ClipperLib::etOpenSquare);
        return;
    }
    offset.AddPath(path, Join(style.join), closed ? ClipperLib::etClosedLine : OpenEnd(style.cap));
}

} // namespace

bool NativeStrokeFits(const PathModel& path, const StrokeStyle& style)
{
    if (!style.dashes.empty() || style.join == StrokeStyle::RoundJoin) return false;
    for (const Figure& f : path) {
        if (!f.closed && style.cap != StrokeStyle::Butt) return false;
        if (f.segments.empty() && style.cap != StrokeStyle::Butt) return false;
        if (style.join == StrokeStyle::Bevel) {
            if (!JoinsAgree(f, 1.0)) return false;
        } else if (!JoinsAgree(f, style.miterLimit))
            return false;
    }
    return true;
}

PathModel StrokeOutline(const PathModel& path, const StrokeStyle& style, double tolerance)
{
    const Box box = Bounds(path).Grown(style.width * std::max(1.0, style.miterLimit));
    const double extent = std::max({ std::abs(box.x0), std::abs(box.x1), std::abs(box.y0), std::abs(box.y1), 1e-9 });
    const double scale = std::min(1.0 / std::max(tolerance * 0.05, 1e-12), MaxClipperCoordinate / extent);
    ClipperLib::ClipperOffset offset(std::max(style.miterLimit, 1.0), tolerance * scale);
    const std::vector<Poly> lines = Flatten(path, tolerance);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Poly line = lines[i];
        const bool closed = path[i].closed;
        if (style.dashes.empty()) {
            AddLine(offset, ToClipper(line, scale), closed && line.size() > 2, style);
            continue;
        }
        if (closed) line.push_back(line.front());
        for (const Poly& dash : Dashes(line, style))
            AddLine(offset, ToClipper(dash, scale), false, style);
    }
    ClipperLib::Paths solution;
    offset.Execute(solution, style.width / 2 * scale);
    return FromClipper(solution, scale);
}

} // namespace KUV::ImportSvg
