#include "ImportSvg/Shapes.h"

#include <algorithm>
#include <cmath>

#include "ImportSvg/PathData.h"

namespace KUV::ImportSvg {

namespace {

double Length(const Element& e, const char* key, Axis axis, const LengthContext& context, double fallback = 0)
{
    const std::string* text = e.Attribute(key);
    if (text == nullptr) return fallback;
    const auto v = ParseLength(*text, axis, context);
    return v ? *v : fallback;
}

std::optional<double> OptionalLength(const Element& e, const char* key, Axis axis, const LengthContext& context)
{
    const std::string* text = e.Attribute(key);
    if (text == nullptr || Trim(*text) == "auto") return std::nullopt;
    return ParseLength(*text, axis, context);
}

// Quarter arcs as cubics (the circle constant of a cubic quarter ellipse).
constexpr double Kappa = 0.5522847498307936;

void AddEllipseFigure(PathModel& path, double cx, double cy, double rx, double ry)
{
    Figure f { { cx + rx, cy }, {}, true };
    const double kx = rx * Kappa, ky = ry * Kappa;
    f.segments.push_back({ true, { cx + rx, cy + ky }, { cx + kx, cy + ry }, { cx, cy + ry } });
    f.segments.push_back({ true, { cx - kx, cy + ry }, { cx - rx, cy + ky }, { cx - rx, cy } });
    f.segments.push_back({ true, { cx - rx, cy - ky }, { cx - kx, cy - ry }, { cx, cy - ry } });
    f.segments.push_back({ true, { cx + kx, cy - ry }, { cx + rx, cy - ky }, { cx + rx, cy } });
    path.push_back(std::move(f));
}

std::optional<ShapeGeometry> Rect(const Element& e, const LengthContext& c)
{
    ShapeGeometry s;
    s.x = Length(e, "x", Axis::X, c);
    s.y = Length(e, "y", Axis::Y, c);
    s.w = Length(e, "width", Axis::X, c);
    s.h = Length(e, "height", Axis::Y, c);
    if (!(s.w > 0) || !(s.h > 0)) return std::nullopt;
    auto rx = OptionalLength(e, "rx", Axis::X, c), ry = OptionalLength(e, "ry", Axis::Y, c);
    if (rx && *rx < 0) rx.reset();
    if (ry && *ry < 0) ry.reset();
    double rxv = rx ? *rx : ry ? *ry : 0, ryv = ry ? *ry : rx ? *rx : 0;
    rxv = std::min(rxv, s.w / 2);
    ryv = std::min(ryv, s.h / 2);
    const double x0 = s.x, y0 = s.y, x1 = s.x + s.w, y1 = s.y + s.h;
    if (rxv <= 0 || ryv <= 0) {
        s.kind = GeometryRecord::Rectangle;
        s.path.push_back({ { x0, y0 },
            { { false, {}, {}, { x1, y0 } }, { false, {}, {}, { x1, y1 } }, { false, {}, {}, { x0, y1 } } }, true });
        return s;
    }
    const double kx = rxv * Kappa, ky = ryv * Kappa;
    Figure f { { x0 + rxv, y0 }, {}, true };
    f.segments.push_back({ false, {}, {}, { x1 - rxv, y0 } });
    f.segments.push_back({ true, { x1 - rxv + kx, y0 }, { x1, y0 + ryv - ky }, { x1, y0 + ryv } });
    f.segments.push_back({ false, {}, {}, { x1, y1 - ryv } });
    f.segments.push_back({ true, { x1, y1 - ryv + ky }, { x1 - rxv + kx, y1 }, { x1 - rxv, y1 } });
    f.segments.push_back({ false, {}, {}, { x0 + rxv, y1 } });
    f.segments.push_back({ true, { x0 + rxv - kx, y1 }, { x0, y1 - ryv + ky }, { x0, y1 - ryv } });
    f.segments.push_back({ false, {}, {}, { x0, y0 + ryv } });
    f.segments.push_back({ true, { x0, y0 + ryv - ky }, { x0 + rxv - kx, y0 }, { x0 + rxv, y0 } });
    s.path.push_back(std::move(f));
    return s;
}

std::optional<ShapeGeometry> EllipseShape(const Element& e, const LengthContext& c, bool circle)
{
    ShapeGeometry s;
    s.kind = GeometryRecord::Ellipse;
    s.x = Length(e, "cx", Axis::X, c);
    s.y = Length(e, "cy", Axis::Y, c);
    if (circle) {
        s.w = s.h = Length(e, "r", Axis::Other, c);
    } else {
        auto rx = OptionalLength(e, "rx", Axis::X, c), ry = OptionalLength(e, "ry", Axis::Y, c);
        if (rx && *rx < 0) rx.reset(); // a negative radius counts as auto
        if (ry && *ry < 0) ry.reset();
        s.w = rx ? *rx : ry ? *ry : 0;
        s.h = ry ? *ry : rx ? *rx : 0;
    }
    if (!(s.w > 0) || !(s.h > 0)) return std::nullopt;
    AddEllipseFigure(s.path, s.x, s.y, s.w, s.h);
    return s;
}

std::optional<ShapeGeometry> Poly(const Element& e, bool closed)
{
    const std::string* points = e.Attribute("points");
    if (points == nullptr) return std::nullopt;
    std::vector<double> v = ParseNumberList(*points);
    if (v.size() % 2 != 0) v.pop_back();
    if (v.size() < 4) return std::nullopt;
    ShapeGeometry s;
    Figure f { { v[0], v[1] }, {}, closed };
    for (std::size_t i = 2; i + 1 < v.size(); i += 2)
        f.segments.push_back({ false, {}, {}, { v[i], v[i + 1] } });
    s.path.push_back(std::move(f));
    return s;
}

std::optional<ShapeGeometry> PathShape(const Element& e, Diagnostics& diagnostics)
{
    const std::string* d = e.Attribute("d");
    if (d == nullptr) return std::nullopt;
    ParsedPath parsed = ParsePathData(*d);
    if (!parsed.error.empty())
        diagnostics.Warn(e.line, "path data: " + parsed.error + "; drawn up to there, as browsers do");
    if (parsed.path.empty()) return std::nullopt;
    ShapeGeometry s;
    s.path = std::move(parsed.path);
    return s;
}

} // namespace

bool IsShape(const std::string& name)
{
    return name == "path" || name == "rect" || name == "circle" || name == "ellipse" || name == "line"
        || name == "polyline" || name == "polygon";
}

std::optional<ShapeGeometry> ShapeOf(const Element& e, const LengthContext& c, Diagnostics& diagnostics)
{
    if (e.name == "rect") return Rect(e, c);
    if (e.name == "circle") return EllipseShape(e, c, true);
    if (e.name == "ellipse") return EllipseShape(e, c, false);
    if (e.name == "polyline") return Poly(e, false);
    if (e.name == "polygon") return Poly(e, true);
    if (e.name == "path") return PathShape(e, diagnostics);
    if (e.name == "line") {
        ShapeGeometry s;
        Figure f { { Length(e, "x1", Axis::X, c), Length(e, "y1", Axis::Y, c) }, {}, false };
        f.segments.push_back({ false, {}, {}, { Length(e, "x2", Axis::X, c), Length(e, "y2", Axis::Y, c) } });
        s.path.push_back(std::move(f));
        return s;
    }
    return std::nullopt;
}

} // namespace KUV::ImportSvg
