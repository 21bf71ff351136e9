// Points, affine matrices and paths of cubic and straight segments: the shapes the importer
// works on before it writes them out.
#pragma once

#include <vector>

namespace KUV::ImportSvg {

struct Pt {
    double x = 0, y = 0;
};

// An affine map in the drawing's convention: x' = a x + c y + e, y' = b x + d y + f.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static Matrix Translate(double x, double y) { return { 1, 0, 0, 1, x, y }; }
    static Matrix Scale(double x, double y) { return { x, 0, 0, y, 0, 0 }; }
    static Matrix Rotate(double degrees);
    Pt Apply(Pt p) const { return { a * p.x + c * p.y + e, b * p.x + d * p.y + f }; }
    Pt ApplyVector(Pt p) const { return { a * p.x + c * p.y, b * p.x + d * p.y }; }
    // this applied after inner: (this * inner)(p) = this(inner(p)).
    Matrix operator*(const Matrix& inner) const;
    double Determinant() const { return a * d - b * c; }
    bool Invertible() const;
    Matrix Inverse() const;
    bool IsIdentity() const;
    bool IsFinite() const;
    // The largest factor by which the map stretches a length.
    double MaxStretch() const;
};

struct Segment {
    bool cubic = false;
    Pt c1, c2; // control points of a cubic
    Pt to;
};

struct Figure {
    Pt start;
    std::vector<Segment> segments;
    bool closed = false;
};

using PathModel = std::vector<Figure>;

struct Box {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    bool Empty() const { return x0 > x1 || y0 > y1; }
    void Add(Pt p);
    void Add(const Box& other);
    Box Grown(double by) const { return { x0 - by, y0 - by, x1 + by, y1 + by }; }
    bool Overlaps(const Box& other) const;
    bool Contains(const Box& other) const;
};

// The exact bounds of the path (curve extrema included).
Box Bounds(const PathModel& path);
// The bounds after mapping through m (from the control polygon, which holds the curve).
Box MappedBounds(const PathModel& path, const Matrix& m);
PathModel Transformed(const PathModel& path, const Matrix& m);
// Polylines of each figure, the curves cut so that no chord strays more than tolerance.
std::vector<std::vector<Pt>> Flatten(const PathModel& path, double tolerance);
std::size_t SegmentCount(const PathModel& path);

} // namespace KUV::ImportSvg
