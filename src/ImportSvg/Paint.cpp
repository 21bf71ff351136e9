#include "ImportSvg/Paint.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "ImportSvg/Importer.h"
#include "ImportSvg/Transforms.h"
#include "ImportSvg/Units.h"

namespace KUV::ImportSvg {

namespace {

constexpr int MaxHrefChain = 32;

std::optional<std::string> UrlId(std::string_view value, std::string_view* rest)
{
    value = Trim(value);
    if (value.rfind("url(", 0) != 0) return std::nullopt;
    const std::size_t close = value.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view inner = Trim(value.substr(4, close - 4));
    if (!inner.empty() && (inner.front() == '"' || inner.front() == '\'')) inner = inner.substr(1, inner.size() - 2);
    if (rest != nullptr) *rest = Trim(value.substr(close + 1));
    if (inner.empty() || inner.front() != '#') return std::string();
    return std::string(inner.substr(1));
}

Rgba CurrentColor(const Properties& style)
{
    const auto it = style.find("color");
    if (it != style.end())
        if (const auto c = ParseColor(it->second)) return *c;
    return { 0, 0, 0, 1 };
}

std::optional<PaintSpec> ColorPaint(std::string_view value, const Properties& style)
{
    value = Trim(value);
    if (value == "none") return PaintSpec {};
    if (Lower(value) == "currentcolor")
        return PaintSpec { PaintSpec::Color, CurrentColor(style), nullptr, std::nullopt };
    if (const auto c = ParseColor(value)) return PaintSpec { PaintSpec::Color, *c, nullptr, std::nullopt };
    return std::nullopt;
}

bool IsGradient(const Element* e)
{
    return e != nullptr && (e->name == "linearGradient" || e->name == "radialGradient");
}

// The gradient elements along the href chain, the given one first.
std::vector<const Element*> Chain(const Element* gradient, const IdMap& ids)
{
    std::vector<const Element*> chain { gradient };
    std::set<const Element*> seen { gradient };
    while (chain.size() < MaxHrefChain) {
        const std::string* href = chain.back()->Attribute("href");
        if (href == nullptr || href->empty() || (*href)[0] != '#') break;
        const auto it = ids.find(href->substr(1));
        if (it == ids.end() || !IsGradient(it->second) || !seen.insert(it->second).second) break;
        chain.push_back(it->second);
    }
    return chain;
}

const std::string* Inherited(const std::vector<const Element*>& chain, const std::string& key, bool radialOnly)
{
    for (const Element* e : chain) {
        if (radialOnly && e->name != chain.front()->name) continue;
        if (const std::string* v = e->Attribute(key)) return v;
    }
    return nullptr;
}

// An element's style where it stands in the document (paint servers are not drawn where used).
Properties CascadeFromRoot(const Element& e, const StyleSheet& sheet)
{
    std::vector<const Element*> line;
    for (const Element* a = &e; a != nullptr; a = a->parent)
        line.push_back(a);
    Properties style;
    for (auto it = line.rbegin(); it != line.rend(); ++it)
        style = Cascade(**it, style, sheet);
    return style;
}

std::vector<GradientStop> Stops(const std::vector<const Element*>& chain, const StyleSheet& sheet, double opacity)
{
    for (const Element* e : chain) {
        std::vector<GradientStop> stops;
        const Properties gradientStyle = CascadeFromRoot(*e, sheet);
        for (const auto& child : e->children) {
            if (child->name != "stop") continue;
            const Properties style = Cascade(*child, gradientStyle, sheet);
            GradientStop stop;
            if (const std::string* off = child->Attribute("offset")) {
                const std::string_view t = Trim(*off);
                const bool percent = !t.empty() && t.back() == '%';
                const auto v = ParseNumber(percent ? t.substr(0, t.size() - 1) : t);
                stop.position = v ? (percent ? *v / 100 : *v) : 0;
            }
            stop.position = std::clamp(stop.position, 0.0, 1.0);
            if (!stops.empty()) stop.position = std::max(stop.position, stops.back().position);
            const auto colorIt = style.find("stop-color");
            const std::string colorText = colorIt != style.end() ? colorIt->second : "black";
            const auto spec = ColorPaint(colorText, style);
            stop.color = spec && spec->kind == PaintSpec::Color ? spec->color : Rgba { 0, 0, 0, 1 };
            const auto opIt = style.find("stop-opacity");
            if (opIt != style.end()) stop.color.a *= OpacityOf(style, "stop-opacity");
            stop.color.a *= opacity;
            stops.push_back(stop);
        }
        if (!stops.empty()) return stops;
    }
    return {};
}

// A gradient coordinate: a number, a percentage, or a length (user space only).
double Coordinate(const std::string* text, double fallback, bool boundingBox, Axis axis)
{
    if (text == nullptr) return fallback;
    const std::string_view t = Trim(*text);
    if (!t.empty() && t.back() == '%') {
        const auto v = ParseNumber(t.substr(0, t.size() - 1));
        return v ? *v / 100 * (boundingBox ? 1 : 0) : fallback; // user-space percentages are fixed up by the caller
    }
    const auto v = ParseLength(t, axis, LengthContext {});
    return v ? *v : fallback;
}

int ExtendMode(const std::string* spread)
{
    if (spread == nullptr) return 0;
    if (Trim(*spread) == "reflect") return 2;
    if (Trim(*spread) == "repeat") return 1;
    return 0;
}

struct GradientFrame {
    bool boundingBox = true;
    Matrix toUser; // gradient space to user space
};

std::optional<GradientFrame> Frame(const std::vector<const Element*>& chain, const Box& bbox)
{
    GradientFrame frame;
    const std::string* units = Inherited(chain, "gradientUnits", false);
    frame.boundingBox = units == nullptr || Trim(*units) != "userSpaceOnUse";
    if (frame.boundingBox) {
        const double w = bbox.x1 - bbox.x0, h = bbox.y1 - bbox.y0;
        if (bbox.Empty() || w <= 0 || h <= 0) return std::nullopt;
        frame.toUser = Matrix { w, 0, 0, h, bbox.x0, bbox.y0 };
    }
    if (const std::string* t = Inherited(chain, "gradientTransform", false))
        if (const auto m = ParseTransform(*t)) frame.toUser = frame.toUser * *m;
    return frame;
}

double Coord(const std::vector<const Element*>& chain, const char* key, double fallback, const GradientFrame& frame,
    Axis axis, const Box& viewport, bool sameKind)
{
    const std::string* text = Inherited(chain, key, sameKind);
    if (text != nullptr && !frame.boundingBox && Trim(*text).size() > 0 && Trim(*text).back() == '%') {
        const auto v = ParseNumber(Trim(*text).substr(0, Trim(*text).size() - 1));
        const double w = viewport.x1 - viewport.x0, h = viewport.y1 - viewport.y0;
        const double base = axis == Axis::X ? w : axis == Axis::Y ? h : std::sqrt((w * w + h * h) / 2);
        return v ? *v / 100 * base : fallback;
    }
    return Coordinate(text, fallback, frame.boundingBox, axis);
}

void Linear(PlacedBrush& placed, const std::vector<const Element*>& chain, const GradientFrame& frame, const Box& vp)
{
    const Pt s { Coord(chain, "x1", 0, frame, Axis::X, vp, false), Coord(chain, "y1", 0, frame, Axis::Y, vp, false) };
    const Pt e { Coord(chain, "x2", frame.boundingBox ? 1 : vp.x1, frame, Axis::X, vp, false),
        Coord(chain, "y2", 0, frame, Axis::Y, vp, false) };
    placed.brush.kind = BrushRecord::Linear;
    const Pt d { e.x - s.x, e.y - s.y };
    const double len2 = d.x * d.x + d.y * d.y;
    const Matrix inv = frame.toUser.Inverse();
    // The gradient's value is an affine function of the user-space point; its gradient there
    // gives the user-space end points, whatever the map does to angles.
    const Pt g { (inv.a * d.x + inv.b * d.y) / len2, (inv.c * d.x + inv.d * d.y) / len2 };
    const double g2 = g.x * g.x + g.y * g.y;
    placed.brush.start = frame.toUser.Apply(s);
    if (len2 == 0 || !std::isfinite(g2) || g2 == 0) {
        placed.brush.end = placed.brush.start; // the renderer then shows the last colour
        return;
    }
    placed.brush.end = { placed.brush.start.x + g.x / g2, placed.brush.start.y + g.y / g2 };
}

void Radial(PlacedBrush& placed, const std::vector<const Element*>& chain, const GradientFrame& frame, const Box& vp,
    int line, Diagnostics& diagnostics)
{
    const bool bb = frame.boundingBox;
    const double w = vp.x1, h = vp.y1;
    const double cx = Coord(chain, "cx", bb ? 0.5 : w / 2, frame, Axis::X, vp, true);
    const double cy = Coord(chain, "cy", bb ? 0.5 : h / 2, frame, Axis::Y, vp, true);
    const double r = Coord(chain, "r", bb ? 0.5 : std::sqrt((w * w + h * h) / 2) / 2, frame, Axis::Other, vp, true);
    const double fx = Coord(chain, "fx", cx, frame, Axis::X, vp, true);
    const double fy = Coord(chain, "fy", cy, frame, Axis::Y, vp, true);
    const double fr = Coord(chain, "fr", 0, frame, Axis::Other, vp, true);
    if (std::hypot(fx - cx, fy - cy) > r)
        diagnostics.Warn(line, "radialGradient: the focal point lies outside the circle; it is moved inside");
    if (fr > 0) diagnostics.Warn(line, "radialGradient: a focal radius (fr) is not supported; drawn as 0");
    placed.brush.kind = BrushRecord::Radial;
    if (r <= 0) {
        placed.visible = !placed.brush.stops.empty();
        placed.brush.kind = BrushRecord::Solid;
        placed.brush.color = placed.brush.stops.empty() ? Rgba {} : placed.brush.stops.back().color;
        return;
    }
    const Matrix& m = frame.toUser;
    const bool axisAligned = std::abs(m.b) < 1e-12 && std::abs(m.c) < 1e-12;
    const Matrix map = axisAligned ? m : Matrix {};
    placed.brushToUser = axisAligned ? Matrix {} : m;
    placed.brush.center = map.Apply({ cx, cy });
    placed.brush.radiusX = std::abs(map.a) * r;
    placed.brush.radiusY = std::abs(map.d) * r;
    placed.brush.originOffset = map.ApplyVector({ fx - cx, fy - cy });
}

} // namespace

PaintSpec ResolvePaint(
    const std::string& value, const Properties& style, const IdMap& ids, int line, Diagnostics& diagnostics)
{
    std::string_view rest;
    if (const auto id = UrlId(value, &rest)) {
        const auto it = ids.find(*id);
        if (it != ids.end() && IsGradient(it->second)) {
            PaintSpec spec { PaintSpec::Gradient, {}, it->second, std::nullopt };
            if (const auto fallback = ColorPaint(rest, style); fallback && fallback->kind == PaintSpec::Color)
                spec.fallback = fallback->color;
            return spec;
        }
        if (it != ids.end() && it->second->name == "pattern") {
            diagnostics.Warn(line, "pattern paint is not supported; the paint is dropped");
            return {};
        }
        if (!rest.empty())
            if (const auto fallback = ColorPaint(rest, style)) return *fallback;
        return {};
    }
    if (const auto paint = ColorPaint(value, style)) return *paint;
    diagnostics.Warn(line, "unknown paint \"" + std::string(Trim(value)) + "\"; the paint is dropped");
    return {};
}

PlacedBrush MakeBrush(const PaintSpec& paint, const Box& bbox, double opacity, const BrushContext& context)
{
    const IdMap& ids = context.ids;
    PlacedBrush placed;
    placed.brush.opacity = opacity;
    if (paint.kind == PaintSpec::None) {
        placed.visible = false;
        return placed;
    }
    if (paint.kind == PaintSpec::Color) {
        placed.brush.color = paint.color;
        return placed;
    }
    const std::vector<const Element*> chain = Chain(paint.gradient, ids);
    placed.brush.stops = Stops(chain, context.sheet, 1);
    placed.brush.extendMode = ExtendMode(Inherited(chain, "spreadMethod", false));
    if (placed.brush.stops.empty()) {
        // A gradient without stops falls back to the paint's fallback colour, if any.
        placed.visible = paint.fallback.has_value();
        placed.brush.color = paint.fallback.value_or(Rgba {});
        return placed;
    }
    const auto frame = Frame(chain, bbox);
    if (frame && !frame->toUser.Invertible()) {
        context.diagnostics.Warn(context.line, "the gradient's transform is not invertible; the paint is dropped");
        placed.visible = false;
        return placed;
    }
    if (!frame) {
        placed.visible = false; // a bounding box with no area takes no gradient
        return placed;
    }
    if (placed.brush.stops.size() == 1) {
        placed.brush.color = placed.brush.stops.back().color;
        placed.brush.stops.clear();
        return placed;
    }
    if (paint.gradient->name == "linearGradient")
        Linear(placed, chain, *frame, context.viewport);
    else
        Radial(placed, chain, *frame, context.viewport, context.line, context.diagnostics);
    return placed;
}

} // namespace KUV::ImportSvg
