// Shapes: their geometry, fill and stroke as draw commands.
#include <algorithm>
#include <cmath>

#include "ImportSvg/FillRule.h"
#include "ImportSvg/Importer.h"
#include "ImportSvg/Stroker.h"

namespace KUV::ImportSvg {

namespace {

// Flattening and offsetting work to this fraction of a scene pixel: below what antialiasing shows.
constexpr double PixelTolerance = 0.1;

std::string StyleOr(const Properties& style, const char* key, const char* fallback)
{
    const auto it = style.find(key);
    return it == style.end() ? fallback : std::string(Trim(it->second));
}

std::vector<double> DashArray(const Properties& style, const LengthContext& lengths)
{
    const std::string text = StyleOr(style, "stroke-dasharray", "none");
    if (text == "none") return {};
    std::vector<double> dashes;
    std::string item;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ',' && text[i] != ' ' && text[i] != '\t') {
            item += text[i];
            continue;
        }
        if (item.empty()) continue;
        const auto v = ParseLength(item, Axis::Other, lengths);
        if (!v || *v < 0) return {};
        dashes.push_back(*v);
        item.clear();
    }
    double total = 0;
    for (double d : dashes)
        total += d;
    if (!(total > 0)) return {};
    if (dashes.size() % 2 != 0) dashes.insert(dashes.end(), dashes.begin(), dashes.end());
    return dashes;
}

StrokeStyle StrokeStyleOf(const Properties& style, const LengthContext& lengths, double width)
{
    StrokeStyle s;
    s.width = width;
    const std::string cap = StyleOr(style, "stroke-linecap", "butt");
    s.cap = cap == "round" ? StrokeStyle::Round : cap == "square" ? StrokeStyle::Square : StrokeStyle::Butt;
    const std::string join = StyleOr(style, "stroke-linejoin", "miter");
    s.join = join == "round" ? StrokeStyle::RoundJoin : join == "bevel" ? StrokeStyle::Bevel : StrokeStyle::Miter;
    const auto limit = ParseNumber(StyleOr(style, "stroke-miterlimit", "4"));
    s.miterLimit = limit && *limit >= 1 ? *limit : 4;
    s.dashes = DashArray(style, lengths);
    const auto offset = ParseLength(StyleOr(style, "stroke-dashoffset", "0"), Axis::Other, lengths);
    s.dashOffset = offset ? *offset : 0;
    return s;
}

} // namespace

std::string Importer::AddGeometry(const std::string& base, const ShapeGeometry& shape)
{
    GeometryRecord g;
    g.kind = shape.kind;
    g.name = m_Names.Make(NameKind::Geometry, base);
    g.x = shape.x;
    g.y = shape.y;
    g.w = shape.w;
    g.h = shape.h;
    if (shape.kind == GeometryRecord::Path) g.path = shape.path;
    m_Scene.geometries.push_back(std::move(g));
    return m_Scene.geometries.back().name;
}

std::string Importer::AddPath(const std::string& base, const PathModel& path)
{
    ShapeGeometry shape;
    shape.path = path;
    Spend(SegmentCount(path), 0);
    return AddGeometry(base, shape);
}

std::string Importer::AddBrush(const std::string& base, BrushRecord brush)
{
    brush.name = m_Names.Make(NameKind::Brush, base);
    m_Scene.brushes.push_back(std::move(brush));
    return m_Scene.brushes.back().name;
}

BrushContext Importer::BrushContextOf(const ShapeDraw& draw)
{
    const LengthContext& l = draw.state.lengths;
    return { m_Ids, m_Sheet, { 0, 0, l.viewportWidth, l.viewportHeight }, draw.element.line, m_Diagnostics };
}

const std::string& Importer::ShapeGeometryName(ShapeDraw& draw)
{
    if (draw.geometry.empty()) draw.geometry = AddGeometry(draw.base, draw.shape);
    return draw.geometry;
}

void Importer::PaintArea(ShapeDraw& draw, const PlacedBrush& brush, const PathModel& area, const std::string& suffix)
{
    ProcedureRecord& procedure = *draw.state.procedure;
    const std::string brushName = AddBrush(draw.base + suffix, brush.brush);
    if (brush.brushToUser.IsIdentity()) {
        procedure.commands.push_back({ Command::Fill, AddPath(draw.base + suffix, area), brushName, 0 });
        return;
    }
    // The brush has a map the format's brushes lack: draw in the brush's space instead.
    const std::string geometry = AddPath(draw.base + suffix, Transformed(area, brush.brushToUser.Inverse()));
    PushSteps(procedure, brush.brushToUser, "");
    procedure.commands.push_back({ Command::Fill, geometry, brushName, 0 });
    PopSteps(procedure, brush.brushToUser);
}

bool Importer::Clipped(const ShapeDraw& draw, PathModel& area, double reach)
{
    const Box scene = MappedBounds(draw.shape.path, draw.state.ctm).Grown(reach);
    bool cut = false;
    const Matrix toUser = draw.state.ctm.Inverse();
    const double tolerance = PixelTolerance / draw.state.ctm.MaxStretch();
    for (const std::vector<Pt>& clip : draw.state.clips) {
        Box box;
        for (const Pt& p : clip)
            box.Add(p);
        if (box.Grown(0.01).Contains(scene)) continue;
        std::vector<Pt> user;
        for (const Pt& p : clip)
            user.push_back(toUser.Apply(p));
        area = Intersect(area, user, tolerance);
        cut = true;
    }
    return cut;
}

void Importer::DrawFill(ShapeDraw& draw)
{
    const PaintSpec paint
        = ResolvePaint(StyleOr(draw.style, "fill", "black"), draw.style, m_Ids, draw.element.line, m_Diagnostics);
    if (paint.kind == PaintSpec::None) return;
    const double opacity = OpacityOf(draw.style, "fill-opacity") * draw.opacity;
    const PlacedBrush brush = MakeBrush(paint, Bounds(draw.shape.path), opacity, BrushContextOf(draw));
    if (!brush.visible) return;
    m_Drawn.push_back(MappedBounds(draw.shape.path, draw.state.ctm));
    std::optional<PathModel> evenOdd;
    if (StyleOr(draw.style, "fill-rule", "nonzero") == "evenodd" && draw.shape.kind == GeometryRecord::Path)
        evenOdd = EvenOddAsWinding(draw.shape.path, PixelTolerance / draw.state.ctm.MaxStretch());
    PathModel area = evenOdd ? *evenOdd : draw.shape.path;
    if (Clipped(draw, area, 0) || evenOdd || !brush.brushToUser.IsIdentity()) {
        PaintArea(draw, brush, area, "");
        return;
    }
    const std::string& geometry = ShapeGeometryName(draw);
    draw.state.procedure->commands.push_back({ Command::Fill, geometry, AddBrush(draw.base, brush.brush), 0 });
}

void Importer::DrawStroke(ShapeDraw& draw)
{
    const PaintSpec paint
        = ResolvePaint(StyleOr(draw.style, "stroke", "none"), draw.style, m_Ids, draw.element.line, m_Diagnostics);
    if (paint.kind == PaintSpec::None) return;
    const auto width = ParseLength(StyleOr(draw.style, "stroke-width", "1"), Axis::Other, draw.state.lengths);
    if (width && *width <= 0) return;
    const StrokeStyle style = StrokeStyleOf(draw.style, draw.state.lengths, width ? *width : 1);
    const double opacity = OpacityOf(draw.style, "stroke-opacity") * draw.opacity;
    const PlacedBrush brush = MakeBrush(paint, Bounds(draw.shape.path), opacity, BrushContextOf(draw));
    if (!brush.visible) return;
    const double reach = style.width / 2 * draw.state.ctm.MaxStretch();
    m_Drawn.push_back(MappedBounds(draw.shape.path, draw.state.ctm).Grown(reach));
    const double miterReach = reach * std::max(style.miterLimit, 1.5);
    PathModel cut = draw.shape.path;
    const bool clipped = Clipped(draw, cut, miterReach);
    if (!clipped && NativeStrokeFits(draw.shape.path, style) && brush.brushToUser.IsIdentity()) {
        const std::string& geometry = ShapeGeometryName(draw);
        draw.state.procedure->commands.push_back(
            { Command::Stroke, geometry, AddBrush(draw.base + "-stroke", brush.brush), style.width });
        return;
    }
    const double tolerance = PixelTolerance / draw.state.ctm.MaxStretch();
    PathModel outline = StrokeOutline(draw.shape.path, style, tolerance);
    if (clipped) Clipped(draw, outline, 0);
    PaintArea(draw, brush, outline, "-stroke");
}

void Importer::Shape(const Element& e, const WalkState& parent, const Properties& style)
{
    const Matrix local = ElementTransform(e, style, m_Diagnostics);
    if (!local.Invertible()) return;
    const auto shape = ShapeOf(e, parent.lengths, m_Diagnostics);
    if (!shape) return;
    Spend(SegmentCount(shape->path), e.line);
    const std::string visibility = StyleOr(style, "visibility", "visible");
    if (visibility == "hidden" || visibility == "collapse") return;
    for (const char* marker : { "marker-start", "marker-mid", "marker-end", "marker" })
        if (StyleOr(style, marker, "none") != "none" && e.name != "rect" && e.name != "circle" && e.name != "ellipse")
            m_Diagnostics.Warn(e.line, std::string(marker) + " is not supported; markers are dropped");
    if (StyleOr(style, "vector-effect", "none") == "non-scaling-stroke")
        m_Diagnostics.Warn(e.line, "vector-effect non-scaling-stroke is not supported; the stroke scales");
    WalkState state = parent;
    state.ctm = parent.ctm * local;
    const std::string* id = e.Attribute("id");
    const double opacity = OpacityOf(style, "opacity");
    ShapeDraw draw { e, state, style, *shape, id != nullptr ? *id : "p" + std::to_string(++m_Unnamed),
        parent.opacity * opacity, {} };
    PushSteps(*parent.procedure, local, "");
    const std::size_t drawnBefore = m_Drawn.size();
    if (StyleOr(style, "paint-order", "normal").rfind("stroke", 0) == 0) {
        DrawStroke(draw);
        DrawFill(draw);
    } else {
        DrawFill(draw);
        DrawStroke(draw);
    }
    PopSteps(*parent.procedure, local);
    if (opacity < 1 && m_Drawn.size() - drawnBefore > 1)
        m_Diagnostics.Warn(e.line, "opacity over a fill and a stroke is applied to each; the overlap shows through");
}

} // namespace KUV::ImportSvg
