#include "ImportSvg/Geometry.h"

#include <algorithm>
#include <cmath>

namespace KUV::ImportSvg {

Matrix Matrix::Rotate(double degrees)
{
    const double r = degrees * M_PI / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    return { c, s, -s, c, 0, 0 };
}

Matrix Matrix::operator*(const Matrix& m) const
{
    return { a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d, b * m.c + d * m.d, a * m.e + c * m.f + e,
        b * m.e + d * m.f + f };
}

bool Matrix::Invertible() const
{
    const double det = Determinant();
    return std::isfinite(det) && std::abs(det) > 1e-12;
}

Matrix Matrix::Inverse() const
{
    const double det = Determinant();
    const Matrix m { d / det, -b / det, -c / det, a / det, 0, 0 };
    const Pt t = m.ApplyVector({ e, f });
    return { m.a, m.b, m.c, m.d, -t.x, -t.y };
}

bool Matrix::IsIdentity() const
{
    return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0;
}

bool Matrix::IsFinite() const
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) && std::isfinite(e)
        && std::isfinite(f);
}

double Matrix::MaxStretch() const
{
    const double p = a * a + b * b + c * c + d * d;
    const double q = Determinant();
    return std::sqrt(std::max(0.0, (p + std::sqrt(std::max(0.0, p * p - 4 * q * q))) / 2));
}

void Box::Add(Pt p)
{
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
}

void Box::Add(const Box& o)
{
    if (o.Empty()) return;
    Add(Pt { o.x0, o.y0 });
    Add(Pt { o.x1, o.y1 });
}

bool Box::Overlaps(const Box& o) const
{
    return !Empty() && !o.Empty() && x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1;
}

bool Box::Contains(const Box& o) const
{
    return o.Empty() || (o.x0 >= x0 && o.x1 <= x1 && o.y0 >= y0 && o.y1 <= y1);
}

namespace {

Pt CubicAt(Pt p0, Pt p1, Pt p2, Pt p3, double t)
{
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return { a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y };
}

// Parameters in (0, 1) where one coordinate of the cubic has a turning point.
void AddExtrema(double p0, double p1, double p2, double p3, std::vector<double>& ts)
{
    const double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
    auto keep = [&ts](double t) {
        if (t > 0 && t < 1) ts.push_back(t);
    };
    if (std::abs(a) < 1e-12) {
        if (std::abs(b) > 1e-12) keep(-c / b);
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return;
    keep((-b + std::sqrt(disc)) / (2 * a));
    keep((-b - std::sqrt(disc)) / (2 * a));
}

void AddCubicBounds(Box& box, Pt p0, const Segment& s)
{
    std::vector<double> ts;
    AddExtrema(p0.x, s.c1.x, s.c2.x, s.to.x, ts);
    AddExtrema(p0.y, s.c1.y, s.c2.y, s.to.y, ts);
    for (double t : ts)
        box.Add(CubicAt(p0, s.c1, s.c2, s.to, t));
}

void FlattenCubic(Pt p0, const Segment& s, double tolerance, std::vector<Pt>& out)
{
    const double dd = std::hypot(p0.x - 2 * s.c1.x + s.c2.x, p0.y - 2 * s.c1.y + s.c2.y)
        + std::hypot(s.c1.x - 2 * s.c2.x + s.to.x, s.c1.y - 2 * s.c2.y + s.to.y);
    const double raw = std::ceil(std::sqrt(0.75 * dd / std::max(tolerance, 1e-9)));
    const int n = int(std::clamp(std::isfinite(raw) ? raw : 1.0, 1.0, 1000.0));
    for (int i = 1; i <= n; ++i)
        out.push_back(CubicAt(p0, s.c1, s.c2, s.to, double(i) / n));
}

} // namespace

Box Bounds(const PathModel& path)
{
    Box box;
    for (const Figure& f : path) {
        box.Add(f.start);
        Pt last = f.start;
        for (const Segment& s : f.segments) {
            box.Add(s.to);
            if (s.cubic) AddCubicBounds(box, last, s);
            last = s.to;
        }
    }
    return box;
}

Box MappedBounds(const PathModel& path, const Matrix& m)
{
    Box box;
    for (const Figure& f : path) {
        box.Add(m.Apply(f.start));
        for (const Segment& s : f.segments) {
            box.Add(m.Apply(s.to));
            if (!s.cubic) continue;
            box.Add(m.Apply(s.c1));
            box.Add(m.Apply(s.c2));
        }
    }
    return box;
}

PathModel Transformed(const PathModel& path, const Matrix& m)
{
    PathModel out = path;
    for (Figure& f : out) {
        f.start = m.Apply(f.start);
        for (Segment& s : f.segments) {
            s.c1 = m.Apply(s.c1);
            s.c2 = m.Apply(s.c2);
            s.to = m.Apply(s.to);
        }
    }
    return out;
}

std::vector<std::vector<Pt>> Flatten(const PathModel& path, double tolerance)
{
    std::vector<std::vector<Pt>> lines;
    for (const Figure& f : path) {
        std::vector<Pt> line { f.start };
        for (const Segment& s : f.segments) {
            if (s.cubic)
                FlattenCubic(line.back(), s, tolerance, line);
            else
                line.push_back(s.to);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::size_t SegmentCount(const PathModel& path)
{
    std::size_t n = 0;
    for (const Figure& f : path)
        n += f.segments.size() + 1;
    return n;
}

} // namespace KUV::ImportSvg
