#include "ImportSvg/SceneWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace KUV::ImportSvg {

std::string TokenFrom(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
            || c == '-' || c == '.';
        out += keep ? c : '_';
    }
    if (out.size() > 64) out.resize(64);
    return out;
}

std::string NameBook::Make(NameKind kind, const std::string& base)
{
    std::string stem = m_Prefix + TokenFrom(base);
    if (stem.empty() || stem == "null" || stem == "MainAnim") stem += "_";
    std::set<std::string>& used = m_Used[int(kind)];
    std::string name = stem;
    // Each stem remembers its last suffix, so that a name used many times stays cheap.
    int& last = m_Suffixes[int(kind)][stem];
    while (used.count(name) != 0)
        name = stem + "_" + std::to_string(last = std::max(last, 1) + 1);
    used.insert(name);
    return name;
}

std::string NameBook::Generated(NameKind kind, const std::string& stem)
{
    std::string name;
    do
        name = m_Prefix + stem + std::to_string(++m_Counters[stem]);
    while (m_Used[int(kind)].count(name) != 0);
    m_Used[int(kind)].insert(name);
    return name;
}

namespace {

// Shortest text that reads back as the same float: the scene reader reads floats.
std::string Num(double value)
{
    // Ten-thousandths of a DIP are far below what a frame shows and keep outlines short.
    const double rounded = std::abs(value) < 1e6 ? std::round(value * 1e4) / 1e4 : value;
    float f = std::isfinite(rounded) ? float(rounded) : 0.f;
    if (std::abs(f) < 1e-30f) f = 0.f;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, f);
    return std::string(buffer, result.ptr);
}

std::string PointText(Pt p)
{
    return "Point{ " + Num(p.x) + " " + Num(p.y) + " }";
}

std::string ColorText(const Rgba& c)
{
    return "Color{ " + Num(c.r) + " " + Num(c.g) + " " + Num(c.b) + " " + Num(c.a) + " }";
}

void WriteSegment(const Segment& s, std::ostream& out)
{
    if (s.cubic)
        out << "      Bezier{ p1 " << PointText(s.c1) << " p2 " << PointText(s.c2) << " p3 " << PointText(s.to)
            << " }\n";
    else
        out << "      Line{ to " << PointText(s.to) << " }\n";
}

void WriteGeometry(const GeometryRecord& g, std::ostream& out)
{
    out << "  " << g.name << " ";
    if (g.kind == GeometryRecord::Rectangle)
        out << "Rectangle{ x " << Num(g.x) << " y " << Num(g.y) << " w " << Num(g.w) << " h " << Num(g.h);
    else if (g.kind == GeometryRecord::Ellipse)
        out << "Ellipse{ center " << PointText({ g.x, g.y }) << " radiusX " << Num(g.w) << " radiusY " << Num(g.h);
    else {
        out << "Path{ noOfFigures " << g.path.size() << "\n";
        for (const Figure& f : g.path) {
            out << "    Figure{ startPoint " << PointText(f.start) << " closed " << (f.closed ? 1 : 0)
                << " noOfSegments " << f.segments.size() << "\n";
            for (const Segment& s : f.segments)
                WriteSegment(s, out);
            out << "    }\n";
        }
        out << " ";
    }
    out << " hitTest 0 }\n";
}

void WriteStops(const BrushRecord& b, std::ostream& out)
{
    out << "\n    GradientStopCollection{ noOfGradientStops " << b.stops.size() << "\n";
    for (const GradientStop& s : b.stops)
        out << "      GradientStop{ " << Num(s.position) << " " << ColorText(s.color) << " }\n";
    out << "    extendMode " << b.extendMode << " }\n  ";
}

void WriteBrush(const BrushRecord& b, std::ostream& out)
{
    out << "  " << b.name << " ";
    if (b.kind == BrushRecord::Solid) out << "SolidColorBrush{ " << ColorText(b.color);
    if (b.kind == BrushRecord::Linear) {
        out << "LinearGradientBrush{ start " << PointText(b.start) << " end " << PointText(b.end);
        WriteStops(b, out);
    }
    if (b.kind == BrushRecord::Radial) {
        out << "RadialGradientBrush{ center " << PointText(b.center) << " originOffset " << PointText(b.originOffset)
            << " radiusX " << Num(b.radiusX) << " radiusY " << Num(b.radiusY);
        WriteStops(b, out);
    }
    out << " opacity " << Num(b.opacity) << " }\n";
}

void WriteTransform(const TransformRecord& t, std::ostream& out)
{
    out << "  " << t.name << " ";
    switch (t.step.kind) {
    case TransformStep::Translation:
        out << "Translation{ x " << Num(t.step.x) << " y " << Num(t.step.y) << " }\n";
        break;
    case TransformStep::Rotation:
        out << "Rotation{ t " << Num(t.step.x) << " }\n";
        break;
    case TransformStep::Scale:
        out << "Scale{ x " << Num(t.step.x) << " y " << Num(t.step.y) << " }\n";
        break;
    }
}

void WriteCommand(const Command& c, std::ostream& out)
{
    out << "    ";
    switch (c.kind) {
    case Command::Fill:
        out << "Fill{ " << c.target << " " << c.brush << " }\n";
        break;
    case Command::Stroke:
        out << "Stroke{ " << c.target << " " << c.brush << " " << Num(c.width) << " }\n";
        break;
    case Command::Push:
        out << "PushTransform{ " << c.target << " }\n";
        break;
    case Command::Pop:
        out << "PopTransform{ }\n";
        break;
    case Command::Call:
        out << "Call{ " << c.target << " }\n";
        break;
    }
}

} // namespace

void WriteScene(const SceneModel& scene, std::ostream& out)
{
    out << "Tavisk{\nnoOfGeometries " << scene.geometries.size() << "\n";
    for (const GeometryRecord& g : scene.geometries)
        WriteGeometry(g, out);
    out << "noOfBrushes " << scene.brushes.size() << "\n";
    for (const BrushRecord& b : scene.brushes)
        WriteBrush(b, out);
    out << "noOfImages 0\nnoOfTransforms " << scene.transforms.size() << "\n";
    for (const TransformRecord& t : scene.transforms)
        WriteTransform(t, out);
    out << "noOfChildKuvs 0\nnoOfExecutables " << scene.procedures.size() << "\n";
    for (const ProcedureRecord& p : scene.procedures) {
        out << "  " << p.name << " Procedure{ noOfCommands " << p.commands.size() << "\n";
        for (const Command& c : p.commands)
            WriteCommand(c, out);
        out << "  }\n";
    }
    out << "noOfControllers 0\nnoOfAnimations 1\n  MainAnim Animation{ renderFunction " << scene.mainProcedure
        << " controller null transitionTarget null }\n}\n";
}

} // namespace KUV::ImportSvg
