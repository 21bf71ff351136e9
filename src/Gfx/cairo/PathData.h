// The figures of a geometry, kept as cairo path elements in the geometry's own
// coordinates so that drawing only appends them under the current transform.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <vector>

#include "Gfx/D2D1.h"

namespace KUV::Gfx::Cairo {

struct Point {
    double x;
    double y;
};

// One figure's run of elements in the stroke path.
struct FigureSpan {
    std::size_t begin;
    std::size_t end;
    bool filled;
    bool closed;
};

class PathData {
public:
    void SetFillMode(D2D1_FILL_MODE mode) { m_FillMode = mode; }
    void BeginFigure(Point start, bool filled);
    void LineTo(Point p);
    void CurveTo(Point c1, Point c2, Point end);
    void EndFigure(bool closed);
    // Builds the fill-only path once every figure has ended.
    void Finish();

    D2D1_FILL_MODE FillMode() const { return m_FillMode; }
    cairo_fill_rule_t FillRule() const;
    bool IsFinite() const { return m_Finite; }
    bool HasFigures() const { return !m_Figures.empty(); }
    const std::vector<FigureSpan>& Figures() const { return m_Figures; }
    const std::vector<cairo_path_data_t>& Elements() const { return m_Stroke; }
    // Elements of every figure: starts, lines, curves and closes.
    UINT32 SegmentCount() const { return m_Segments; }

    // Every figure, closed ones closed back to their start.
    cairo_path_t StrokePath() const { return View(m_Stroke); }
    // Only the figures begun filled.
    cairo_path_t FillPath() const { return View(m_HasHollow ? m_Fill : m_Stroke); }

    // The same figures with every point mapped through m.
    PathData Transformed(const D2D1_MATRIX_3X2_F& m) const;

private:
    static cairo_path_t View(const std::vector<cairo_path_data_t>& elements);
    void AddHeader(cairo_path_data_type_t type, int length);
    void AddPoint(Point p);

    std::vector<cairo_path_data_t> m_Stroke;
    std::vector<cairo_path_data_t> m_Fill;
    std::vector<FigureSpan> m_Figures;
    D2D1_FILL_MODE m_FillMode = D2D1_FILL_MODE_ALTERNATE;
    bool m_Finite = true;
    bool m_HasHollow = false;
    bool m_InFigure = false;
    UINT32 m_Segments = 0;
};

// Calls visit(type, points) for each element in [begin, end) of elements.
template <class Visit>
void ForEachElement(const std::vector<cairo_path_data_t>& elements, std::size_t begin, std::size_t end, Visit&& visit)
{
    for (std::size_t i = begin; i < end; i += static_cast<std::size_t>(elements[i].header.length))
        visit(elements[i].header.type, &elements[i + 1]);
}

} // namespace KUV::Gfx::Cairo
