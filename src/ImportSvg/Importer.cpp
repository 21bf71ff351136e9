#include "ImportSvg/Importer.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "ImportSvg/Color.h"
#include "ImportSvg/Transforms.h"

namespace KUV::ImportSvg {

namespace {

constexpr int MaxUseDepth = 64;
// Elements visited (each instance of a use counts) and path segments emitted: what use can multiply.
constexpr std::size_t MaxElementVisits = 200000;
constexpr std::size_t MaxSegments = 4000000;

const std::set<std::string> Silent = { "defs", "linearGradient", "radialGradient", "symbol", "clipPath", "mask",
    "pattern", "marker", "filter", "style", "title", "desc", "metadata", "stop", "script", "view", "cursor", "font",
    "font-face", "color-profile", "animate", "animateTransform", "animateMotion", "set", "mpath" };

const std::set<std::string> Dropped = { "text", "image", "foreignObject", "video", "audio", "iframe", "canvas" };

} // namespace

Matrix ElementTransform(const Element& e, const Properties& style, Diagnostics& diagnostics)
{
    const std::string* text = e.Attribute("transform");
    std::string css;
    if (const auto it = style.find("transform"); it != style.end()) {
        // The CSS property wins over the attribute; its units are the attribute's defaults.
        css = it->second;
        for (const char* unit : { "deg", "px" })
            for (std::size_t at = css.find(unit); at != std::string::npos; at = css.find(unit))
                css.erase(at, 2 + (unit[0] == 'd'));
        text = css == "none" ? nullptr : &css;
    }
    if (text == nullptr) return Matrix {};
    const auto m = ParseTransform(*text);
    if (!m) {
        diagnostics.Warn(e.line, "transform \"" + *text + "\" is not understood; ignored");
        return Matrix {};
    }
    return *m;
}

namespace {

double LengthOr(const Element& e, const char* key, Axis axis, const LengthContext& c, double fallback)
{
    const std::string* text = e.Attribute(key);
    if (text == nullptr) return fallback;
    const auto v = ParseLength(*text, axis, c);
    return v ? *v : fallback;
}

// The element's children as pointers, in order.
std::vector<const Element*> Children(const Element& e)
{
    std::vector<const Element*> list;
    for (const auto& child : e.children)
        list.push_back(child.get());
    return list;
}

struct ViewBoxRect {
    double x, y, w, h;
};

// The rectangle (0, 0, w, h) mapped by m.
std::vector<Pt> Quad(const Matrix& m, double w, double h)
{
    return { m.Apply({ 0, 0 }), m.Apply({ w, 0 }), m.Apply({ w, h }), m.Apply({ 0, h }) };
}

// The fitted viewport as a clip that reaches past the scene's edges where it meets them, so that
// only what would show in the margins is cut.
std::vector<Pt> MarginClip(const Matrix& place, double w, double h)
{
    const Pt a = place.Apply({ 0, 0 }), b = place.Apply({ w, h });
    constexpr double Far = 1e7, Edge = 1e-6;
    const double x0 = a.x <= Edge ? -Far : a.x, y0 = a.y <= Edge ? -Far : a.y;
    const double x1 = b.x >= SceneWidth - Edge ? Far : b.x, y1 = b.y >= SceneHeight - Edge ? Far : b.y;
    return { { x0, y0 }, { x1, y0 }, { x1, y1 }, { x0, y1 } };
}

double FontSize(const Properties& style, const LengthContext& parent)
{
    const auto it = style.find("font-size");
    if (it == style.end()) return parent.fontSize;
    LengthContext relative = parent;
    relative.viewportWidth = relative.viewportHeight = parent.fontSize; // a percentage is of the parent's size
    const auto v = ParseLength(it->second, Axis::X, relative);
    return v && *v > 0 ? *v : parent.fontSize;
}

std::optional<ViewBoxRect> ParseViewBox(const std::string* text)
{
    if (text == nullptr) return std::nullopt;
    bool complete = false;
    const auto v = ParseNumberList(*text, &complete);
    if (!complete || v.size() != 4 || v[2] <= 0 || v[3] <= 0) return std::nullopt;
    return ViewBoxRect { v[0], v[1], v[2], v[3] };
}

} // namespace

Matrix ViewBoxTransform(const std::string* viewBox, const std::string* aspect, double width, double height)
{
    const auto box = ParseViewBox(viewBox);
    if (!box) return {};
    std::string align = "xmidymid";
    bool slice = false;
    if (aspect != nullptr) {
        std::string words = Lower(Trim(*aspect));
        if (words.rfind("defer", 0) == 0) words = std::string(Trim(words.substr(5)));
        const std::size_t space = words.find(' ');
        align = words.substr(0, space);
        slice = space != std::string::npos && Trim(words.substr(space)) == "slice";
    }
    double sx = width / box->w, sy = height / box->h;
    if (align != "none") sx = sy = slice ? std::max(sx, sy) : std::min(sx, sy);
    double tx = -box->x * sx, ty = -box->y * sy;
    const double freeX = width - box->w * sx, freeY = height - box->h * sy;
    if (align.find("xmid") != std::string::npos) tx += freeX / 2;
    if (align.find("xmax") != std::string::npos) tx += freeX;
    if (align.find("ymid") != std::string::npos) ty += freeY / 2;
    if (align.find("ymax") != std::string::npos) ty += freeY;
    return { sx, 0, 0, sy, tx, ty };
}

void Importer::Collect(const Element& e)
{
    if (const std::string* id = e.Attribute("id")) m_Ids.emplace(*id, &e);
    if (e.name == "style") {
        const std::string* type = e.Attribute("type");
        if (type == nullptr || Trim(*type).empty() || Trim(*type) == "text/css") AddStyleSheet(e.text, m_Sheet);
    }
    for (const auto& child : e.children)
        Collect(*child);
}

void Importer::Spend(std::size_t segments, int line)
{
    m_Segments += segments;
    if (m_Segments > MaxSegments) throw ImportError(line, "the drawing is too large (more than 4000000 path segments)");
}

void Importer::Visit(int line)
{
    if (++m_Visits > MaxElementVisits)
        throw ImportError(line, "the drawing is too large (more than 200000 elements, use instances counted)");
}

bool Importer::Prepare(const Element& e, const WalkState& parent, Properties& style)
{
    style = Cascade(e, parent.style, m_Sheet);
    const auto display = style.find("display");
    if (display != style.end() && Trim(display->second) == "none") return false;
    WarnUnsupported(e, style);
    return true;
}

void Importer::WarnUnsupported(const Element& e, const Properties& style)
{
    auto isSet = [&style](const char* key) {
        const auto it = style.find(key);
        return it != style.end() && Trim(it->second) != "none" && !Trim(it->second).empty();
    };
    if (isSet("clip-path")) m_Diagnostics.Warn(e.line, "clip-path is not supported; drawn unclipped");
    if (isSet("mask")) m_Diagnostics.Warn(e.line, "mask is not supported; drawn unmasked");
    if (isSet("filter")) m_Diagnostics.Warn(e.line, "filter is not supported; drawn unfiltered");
    const auto blend = style.find("mix-blend-mode");
    if (blend != style.end() && Trim(blend->second) != "normal")
        m_Diagnostics.Warn(e.line, "mix-blend-mode is not supported; drawn as normal");
}

void Importer::PushSteps(ProcedureRecord& procedure, const Matrix& m, const std::string& name)
{
    for (const TransformStep& step : Decompose(m)) {
        std::string transform;
        if (name.empty()) {
            // Anonymous steps with equal values share one record.
            const std::string key
                = std::to_string(int(step.kind)) + "/" + std::to_string(step.x) + "/" + std::to_string(step.y);
            auto it = m_SharedTransforms.find(key);
            if (it == m_SharedTransforms.end()) {
                it = m_SharedTransforms.emplace(key, m_Names.Generated(NameKind::Transform, "t")).first;
                m_Scene.transforms.push_back({ it->second, step });
            }
            transform = it->second;
        } else {
            transform = m_Names.Make(NameKind::Transform, name);
            m_Scene.transforms.push_back({ transform, step });
        }
        procedure.commands.push_back({ Command::Push, transform, {}, 0 });
    }
}

void Importer::PopSteps(ProcedureRecord& procedure, const Matrix& m)
{
    for (std::size_t i = 0; i < Decompose(m).size(); ++i)
        procedure.commands.push_back({ Command::Pop, {}, {}, 0 });
}

void Importer::CheckOverlap(const Element& e, std::size_t from, const char* what)
{
    // Past a few thousand pieces the pairwise test costs more than it tells: they are taken to overlap.
    bool overlap = m_Drawn.size() - from > 2000;
    for (std::size_t i = from; i < m_Drawn.size() && !overlap; ++i)
        for (std::size_t j = i + 1; j < m_Drawn.size() && !overlap; ++j)
            overlap = m_Drawn[i].Overlaps(m_Drawn[j]);
    if (overlap)
        m_Diagnostics.Warn(
            e.line, std::string(what) + " over overlapping children is applied to each child; overlaps show through");
}

void Importer::Walk(const Element& e, const WalkState& outer)
{
    Visit(e.line);
    if (e.name.rfind("foreign:", 0) == 0 || Silent.count(e.name) != 0) return;
    if (Dropped.count(e.name) != 0) {
        m_Diagnostics.Warn(e.line, "<" + e.name + "> is not supported; dropped");
        return;
    }
    Properties style;
    if (!Prepare(e, outer, style)) return;
    WalkState parent = outer;
    parent.lengths.fontSize = FontSize(style, outer.lengths);
    m_Path.push_back(&e);
    if (e.name == "g" || e.name == "a") {
        const Matrix local = ElementTransform(e, style, m_Diagnostics);
        Group(e, parent, style, local, parent.lengths, ChildrenOf(Children(e)));
    } else if (e.name == "switch") {
        m_Diagnostics.Warn(e.line, "<switch> is drawn with its first child; conditions are not evaluated");
        std::vector<const Element*> first;
        for (const auto& child : e.children)
            if (child->name.rfind("foreign:", 0) != 0 && first.empty()) first.push_back(child.get());
        Group(e, parent, style, ElementTransform(e, style, m_Diagnostics), parent.lengths, ChildrenOf(first));
    } else if (e.name == "svg") {
        Viewport(e, parent, style, nullptr);
    } else if (e.name == "use") {
        Use(e, parent, style);
    } else if (IsShape(e.name)) {
        Shape(e, parent, style);
    } else {
        m_Diagnostics.Warn(e.line, "<" + e.name + "> is not an SVG element the importer knows; dropped");
    }
    m_Path.pop_back();
}

void Importer::WalkChildren(const Element& e, const WalkState& state)
{
    for (const auto& child : e.children)
        Walk(*child, state);
}

double OpacityOf(const Properties& style, const char* key)
{
    const auto it = style.find(key);
    if (it == style.end()) return 1;
    const std::string_view t = Trim(it->second);
    const bool percent = !t.empty() && t.back() == '%';
    const auto v = ParseNumber(percent ? t.substr(0, t.size() - 1) : t);
    if (!v) return 1;
    return std::clamp(percent ? *v / 100 : *v, 0.0, 1.0);
}

void Importer::Group(const Element& e, const WalkState& parent, const Properties& style, const Matrix& local,
    const LengthContext& lengths, const Body& body)
{
    if (!local.Invertible()) return; // a collapsed group draws nothing
    const std::string* id = e.Attribute("id");
    ProcedureRecord procedure { id != nullptr ? m_Names.Make(NameKind::Procedure, *id)
                                              : m_Names.Generated(NameKind::Procedure, e.name == "g" ? "g" : e.name),
        {} };
    const double opacity = OpacityOf(style, "opacity");
    WalkState state { style, parent.ctm * local, lengths, parent.opacity * opacity, &procedure, parent.clips };
    PushSteps(procedure, local, procedure.name.substr(m_Options.prefix.size()));
    const std::size_t drawnBefore = m_Drawn.size();
    body(state);
    PopSteps(procedure, local);
    if (opacity < 1) CheckOverlap(e, drawnBefore, "group opacity");
    parent.procedure->commands.push_back({ Command::Call, procedure.name, {}, 0 });
    m_Scene.procedures.push_back(std::move(procedure));
}

Importer::Body Importer::ChildrenOf(const std::vector<const Element*>& children)
{
    return [this, children](const WalkState& state) {
        for (const Element* child : children)
            Walk(*child, state);
    };
}

void Importer::Use(const Element& e, const WalkState& parent, const Properties& style)
{
    const std::string* href = e.Attribute("href");
    if (href == nullptr || href->size() < 2 || (*href)[0] != '#') {
        m_Diagnostics.Warn(e.line, "use without a local reference; dropped");
        return;
    }
    const auto it = m_Ids.find(href->substr(1));
    if (it == m_Ids.end()) {
        m_Diagnostics.Warn(e.line, "use refers to \"" + *href + "\", which does not exist; dropped");
        return;
    }
    const Element& target = *it->second;
    if (std::find(m_Path.begin(), m_Path.end(), &target) != m_Path.end())
        throw ImportError(e.line, "use refers to \"" + *href + "\", which contains this use (a cycle)");
    if (m_UseDepth >= MaxUseDepth) throw ImportError(e.line, "use elements nested more than 64 deep");
    const LengthContext& c = parent.lengths;
    const Matrix local = ElementTransform(e, style, m_Diagnostics)
        * Matrix::Translate(LengthOr(e, "x", Axis::X, c, 0), LengthOr(e, "y", Axis::Y, c, 0));
    ++m_UseDepth;
    if (target.name == "symbol" || target.name == "svg") {
        // The instance is a group holding the viewport the symbol or svg makes.
        Group(e, parent, style, local, c, [&](const WalkState& state) {
            m_Path.push_back(&target);
            Properties targetStyle;
            if (Prepare(target, state, targetStyle)) Viewport(target, state, targetStyle, &e);
            m_Path.pop_back();
        });
    } else {
        Group(e, parent, style, local, c, [&](const WalkState& state) { Walk(target, state); });
    }
    --m_UseDepth;
}

void Importer::Viewport(const Element& e, const WalkState& parent, const Properties& style, const Element* use)
{
    const LengthContext& c = parent.lengths;
    const bool symbol = e.name == "symbol";
    double x = symbol ? 0 : LengthOr(e, "x", Axis::X, c, 0), y = symbol ? 0 : LengthOr(e, "y", Axis::Y, c, 0);
    double w = LengthOr(e, "width", Axis::X, c, c.viewportWidth),
           h = LengthOr(e, "height", Axis::Y, c, c.viewportHeight);
    if (use != nullptr) {
        w = LengthOr(*use, "width", Axis::X, c, w);
        h = LengthOr(*use, "height", Axis::Y, c, h);
    }
    if (w <= 0 || h <= 0) return;
    const std::string* viewBox = e.Attribute("viewBox");
    Matrix local = Matrix::Translate(x, y) * ViewBoxTransform(viewBox, e.Attribute("preserveAspectRatio"), w, h);
    if (symbol) local = ElementTransform(e, style, m_Diagnostics) * local;
    LengthContext inner = c;
    const auto box = ParseViewBox(viewBox);
    inner.viewportWidth = box ? box->w : w;
    inner.viewportHeight = box ? box->h : h;
    const auto overflow = style.find("overflow");
    const bool visible
        = overflow != style.end() && (Trim(overflow->second) == "visible" || Trim(overflow->second) == "auto");
    WalkState clipped = parent;
    if (!visible) clipped.clips.push_back(Quad(parent.ctm * Matrix::Translate(x, y), w, h));
    Group(e, clipped, style, local, inner, ChildrenOf(Children(e)));
}

SceneModel Importer::Run(const Element& root)
{
    if (root.name != "svg")
        throw ImportError(root.line,
            "not an SVG document (the root element is <"
                + (root.name.rfind("foreign:", 0) == 0 ? root.name.substr(8) : root.name) + ">)");
    Collect(root);
    if (m_Sheet.hasUnsupported)
        m_Diagnostics.Warn(root.line, "style sheet rules other than element, class and id selectors are ignored");
    const auto box = ParseViewBox(root.Attribute("viewBox"));
    LengthContext outer { box ? box->w : 100, box ? box->h : 100, 16 };
    double w = LengthOr(root, "width", Axis::X, outer, box ? box->w : m_SizeWithout.x);
    double h = LengthOr(root, "height", Axis::Y, outer, box ? box->h : m_SizeWithout.y);
    if (!(w > 0) || !(h > 0)) throw ImportError(root.line, "the drawing has no area (width or height is 0)");
    const double scale = m_Options.width ? *m_Options.width / w : std::min(SceneWidth / w, SceneHeight / h);
    const double sceneW = m_Options.width ? *m_Options.width : SceneWidth;
    const double sceneH = m_Options.width ? h * scale : SceneHeight;
    const Matrix place
        = Matrix::Translate((sceneW - w * scale) / 2, (sceneH - h * scale) / 2) * Matrix::Scale(scale, scale);

    ProcedureRecord main { m_Names.Make(NameKind::Procedure, "drawing"), {} };
    BrushRecord white;
    white.color = { 1, 1, 1, 1 };
    const std::string whiteBrush = AddBrush("background", white);
    ShapeGeometry background;
    background.kind = GeometryRecord::Rectangle;
    background.w = sceneW;
    background.h = sceneH;
    main.commands.push_back({ Command::Fill, AddGeometry("background", background), whiteBrush, 0 });
    m_Place = place;
    AddBackgroundColor(root, main, place, w, h);
    PushSteps(main, place, "viewport");

    WalkState state { {}, place, { w, h, 16 }, 1, &main, {} };
    // Fitted into the scene with margins, the drawing is cut to its viewport as a browser cuts it.
    if (!m_Options.width) state.clips.push_back(MarginClip(place, w, h));
    LengthContext rootLengths { w, h, 16 };
    state.lengths = rootLengths;
    Properties style;
    m_Path.push_back(&root);
    Prepare(root, state, style);
    const Matrix local = ViewBoxTransform(root.Attribute("viewBox"), root.Attribute("preserveAspectRatio"), w, h);
    Group(root, state, style, local, { box ? box->w : w, box ? box->h : h, 16 }, ChildrenOf(Children(root)));
    m_Path.pop_back();
    PopSteps(main, place);
    m_Scene.procedures.push_back(std::move(main));
    m_Scene.mainProcedure = m_Scene.procedures.back().name;
    return std::move(m_Scene);
}

void Importer::AddBackgroundColor(const Element& root, ProcedureRecord& main, const Matrix& place, double w, double h)
{
    const Properties style = Cascade(root, {}, m_Sheet);
    const auto it = style.find("background-color");
    if (it == style.end()) return;
    const auto color = ParseColor(it->second);
    if (!color) return;
    BrushRecord brush;
    brush.color = *color;
    ShapeGeometry area;
    area.kind = GeometryRecord::Rectangle;
    const Box b = MappedBounds({ Figure { { 0, 0 }, { { false, {}, {}, { w, h } } }, false } }, place);
    area.x = b.x0;
    area.y = b.y0;
    area.w = b.x1 - b.x0;
    area.h = b.y1 - b.y0;
    main.commands.push_back(
        { Command::Fill, AddGeometry("background-color", area), AddBrush("background-color", brush), 0 });
}

Box Importer::ContentBounds() const
{
    Box all;
    for (const Box& b : m_Drawn)
        all.Add(b);
    if (all.Empty()) return all;
    const Matrix back = m_Place.Inverse();
    Box user;
    user.Add(back.Apply({ all.x0, all.y0 }));
    user.Add(back.Apply({ all.x1, all.y1 }));
    return user;
}

SceneModel ImportDrawing(const std::string& svgText, const ImportOptions& options, Diagnostics& diagnostics)
{
    const std::unique_ptr<Element> root = ParseXml(svgText);
    Importer importer(options, diagnostics);
    if (root->name == "svg" && !root->Attribute("viewBox")
        && (!root->Attribute("width") || !root->Attribute("height"))) {
        // Without a size the drawing is as large as what it draws.
        Diagnostics scratch(diagnostics.FileName());
        Importer probe(options, scratch);
        probe.Run(*root);
        const Box content = probe.ContentBounds();
        if (!content.Empty() && content.x1 > 0 && content.y1 > 0)
            importer.SetSizeWithout({ std::ceil(content.x1), std::ceil(content.y1) });
    }
    return importer.Run(*root);
}

} // namespace KUV::ImportSvg
