#include "Gfx/text/GlyphOutline.h"

#include <vector>

namespace KUV::Gfx::Text {

namespace {

struct Point {
    double x;
    double y;
};

D2D1_POINT_2F ToD2D(Point p)
{
    return { float(p.x), float(p.y) };
}

// Collects a figure's segments and hands them to the sink in batches of one kind.
class OutlineWriter {
public:
    OutlineWriter(const OutlinePlacement& placement, ID2D1SimplifiedGeometrySink* sink)
        : m_Placement(placement)
        , m_Sink(sink)
    {
    }

    Point Place(const FT_Vector& v) const
    {
        return { m_Placement.originX + double(v.x) * m_Placement.scale,
            m_Placement.originY - double(v.y) * m_Placement.scale };
    }

    void MoveTo(Point p)
    {
        EndFigure();
        m_Sink->BeginFigure(ToD2D(p), D2D1_FIGURE_BEGIN_FILLED);
        m_Open = true;
        m_Start = m_Current = p;
    }

    void LineTo(Point p)
    {
        FlushBeziers();
        m_Lines.push_back(ToD2D(p));
        m_Current = p;
    }

    // The quadratic curve through control c as the cubic that traces it exactly.
    void ConicTo(Point c, Point to)
    {
        const Point c1 { m_Current.x + 2.0 / 3.0 * (c.x - m_Current.x), m_Current.y + 2.0 / 3.0 * (c.y - m_Current.y) };
        const Point c2 { to.x + 2.0 / 3.0 * (c.x - to.x), to.y + 2.0 / 3.0 * (c.y - to.y) };
        CubicTo(c1, c2, to);
    }

    void CubicTo(Point c1, Point c2, Point to)
    {
        FlushLines();
        m_Beziers.push_back({ ToD2D(c1), ToD2D(c2), ToD2D(to) });
        m_Current = to;
    }

    void EndFigure()
    {
        if (!m_Open) return;
        // The closing line back to the start is implied by a closed figure.
        const D2D1_POINT_2F start = ToD2D(m_Start);
        if (!m_Lines.empty() && m_Lines.back().x == start.x && m_Lines.back().y == start.y) m_Lines.pop_back();
        FlushLines();
        FlushBeziers();
        m_Sink->EndFigure(D2D1_FIGURE_END_CLOSED);
        m_Open = false;
    }

private:
    void FlushLines()
    {
        if (!m_Lines.empty()) m_Sink->AddLines(m_Lines.data(), UINT32(m_Lines.size()));
        m_Lines.clear();
    }

    void FlushBeziers()
    {
        if (!m_Beziers.empty()) m_Sink->AddBeziers(m_Beziers.data(), UINT32(m_Beziers.size()));
        m_Beziers.clear();
    }

    OutlinePlacement m_Placement;
    ID2D1SimplifiedGeometrySink* m_Sink;
    bool m_Open = false;
    Point m_Start {};
    Point m_Current {};
    std::vector<D2D1_POINT_2F> m_Lines;
    std::vector<D2D1_BEZIER_SEGMENT> m_Beziers;
};

OutlineWriter& Writer(void* user)
{
    return *static_cast<OutlineWriter*>(user);
}

int OnMoveTo(const FT_Vector* to, void* user)
{
    Writer(user).MoveTo(Writer(user).Place(*to));
    return 0;
}

int OnLineTo(const FT_Vector* to, void* user)
{
    Writer(user).LineTo(Writer(user).Place(*to));
    return 0;
}

int OnConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    Writer(user).ConicTo(Writer(user).Place(*control), Writer(user).Place(*to));
    return 0;
}

int OnCubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    OutlineWriter& writer = Writer(user);
    writer.CubicTo(writer.Place(*control1), writer.Place(*control2), writer.Place(*to));
    return 0;
}

} // namespace

bool WriteOutline(const FT_Outline& outline, const OutlinePlacement& placement, ID2D1SimplifiedGeometrySink* sink)
{
    static const FT_Outline_Funcs kFuncs = { OnMoveTo, OnLineTo, OnConicTo, OnCubicTo, 0, 0 };
    OutlineWriter writer(placement, sink);
    const FT_Error error = FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &kFuncs, &writer);
    writer.EndFigure();
    return error == 0;
}

} // namespace KUV::Gfx::Text
